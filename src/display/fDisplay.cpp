#include "display/fDisplay.h"

#include <windowsx.h>

#include <algorithm>

#include "app/fMsgHandler.h"
#include "config/uOptions.h"
#include "display/uDisplayList.h"
#include "support/uGdiCanvas.h"
#include "support/uGlobals.h"
#include "support/uPlatform.h"

namespace {

constexpr wchar_t kClassName[] = L"TfrmDisplay";

bool MenuOpen() { return QuorvelDisplay && QuorvelDisplay->MenuOpen(); }

std::uint32_t Now() { return Platform().clock ? Platform().clock->TickCount() : GetTickCount(); }

bool ShiftDown() { return Platform().desktop && Platform().desktop->IsShiftDown(); }

void BlitBitmap(HDC dc, const TBitmap32& bitmap) {
  const auto* gdi = dynamic_cast<const TGdiBitmap*>(&bitmap);
  if (!gdi || gdi->Width() == 0) return;
  BitBlt(dc, 0, 0, gdi->Width(), gdi->Height(), gdi->DC(), 0, 0, SRCCOPY);
}

}  // namespace

bool LayeredWindowsSupported() {
  static const bool supported = [] {
    const HMODULE user32 = GetModuleHandleW(L"USER32");
    return user32 && GetProcAddress(user32, "SetLayeredWindowAttributes") != nullptr;
  }();
  return supported;
}

TfrmDisplay::TfrmDisplay(TDisplay& display) {
  RegisterWindowClass(kClassName, CS_DBLCLKS,
                      static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  CreateHandle(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, RECT{0, 0, MinWidth, MinHeight},
               nullptr);
  // Set only now: messages of the creation itself must not reach the model.
  FDisplay = &display;
}

TfrmDisplay::~TfrmDisplay() {
  KillTimer(Handle(), AutoHideTimerId);
  DestroyHandle();
}

void TfrmDisplay::ShowDisplay() {
  if (FDisplay && FDisplay->Painter()) {
    FDisplay->Painter()->Update();
    FDisplay->Painter()->Draw();
  }
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ApplyZOrder();
  FVisible = true;
}

void TfrmDisplay::HideWindow() {
  ShowWindow(Handle(), SW_HIDE);
  FVisible = false;
}

bool TfrmDisplay::IsVisible() const { return FVisible && IsWindowVisible(Handle()); }

void TfrmDisplay::ApplyZOrder() {
  SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
  SetTopmost(FDisplay && FDisplay->AlwaysOnTop());
}

void TfrmDisplay::SetTopmost(bool topmost) {
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TRect TfrmDisplay::Bounds() const {
  RECT rc{};
  GetWindowRect(Handle(), &rc);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

void TfrmDisplay::SetBounds(const TRect& r) {
  const int w = std::clamp(r.Width(), MinWidth, MaxWidth);
  const int h = std::clamp(r.Height(), MinHeight, MaxHeight);
  SetWindowPos(Handle(), nullptr, r.left, r.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmDisplay::MoveTo(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TfrmDisplay::SetClientSize(int width, int height) {
  // Borderless: the client area is the whole window.
  const TRect r = Bounds();
  const int w = std::clamp(width, MinWidth, MaxWidth);
  const int h = std::clamp(height, MinHeight, MaxHeight);
  if (w == r.Width() && h == r.Height()) return;
  SetWindowPos(Handle(), nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void TfrmDisplay::SetAlphaBlend(bool on) {
  FAlphaBlend = on && LayeredWindowsSupported();
  const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (FAlphaBlend) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(FAlphaValue), LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME);
  }
}

void TfrmDisplay::SetAlphaBlendValue(int value) {
  FAlphaValue = std::clamp(value, 0, 255);
  if (FAlphaBlend)
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(FAlphaValue), LWA_ALPHA);
}

bool TfrmDisplay::SetRegion(const std::vector<TRect>& runs) {
  TUniqueRegion region = CreateRegionFromRuns(runs);
  if (!region) return false;
  // On success the system owns the region; on failure it is still ours to delete.
  if (!SetWindowRgn(Handle(), region.get(), TRUE)) return false;
  region.release();
  return true;
}

void TfrmDisplay::RemoveRegion() { SetWindowRgn(Handle(), nullptr, TRUE); }

void TfrmDisplay::DrawBitmap(const TBitmap32& bitmap) {
  TWindowDC dc(Handle());
  if (dc.get()) BlitBitmap(dc.get(), bitmap);
}

void TfrmDisplay::PaintBitmapTo(HDC dc) {
  if (FDisplay && FDisplay->Painter()) BlitBitmap(dc, FDisplay->Painter()->Bitmap());
}

bool TfrmDisplay::IsCursorInside() const {
  const TRect r = Bounds();
  const TPoint p = Platform().desktop ? Platform().desktop->CursorPos() : TPoint{};
  return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom;
}

void TfrmDisplay::SetAutoHideTimer(bool enable, std::uint8_t state) {
  FAutoHideState = state;
  KillTimer(Handle(), AutoHideTimerId);
  UINT interval = 200;
  if (state == 1)
    FLeaveTick = Now();
  else
    interval = static_cast<UINT>(std::max(Options ? Options->AutoHideInterval : 200, 1));
  if (enable) SetTimer(Handle(), AutoHideTimerId, interval, nullptr);
}

void TfrmDisplay::AutoHide(bool all) {
  if (Options && Options->AutoHideAllDisplays && all && DisplayList && FDisplay)
    DisplayList->AutoHideOthers(*FDisplay);
  if (QuorvelDisplay) QuorvelDisplay->ActivateApplication();
  HideWindow();
  if (all) SetAutoHideTimer(true, 1);
  FDragging = false;
}

void TfrmDisplay::AutoShow(bool all) {
  if (Options && Options->AutoHideAllDisplays && all && DisplayList) DisplayList->AutoShowAll();
  ShowDisplay();
  SetAutoHideTimer(false, 0);
}

LRESULT TfrmDisplay::ResizeZone(bool hasBackground, int x, int y, int width, int height) {
  if (!hasBackground) return HTCLIENT;
  const bool left = x < ResizeZoneWidth, right = x > width - ResizeZoneWidth;
  const bool top = y < ResizeZoneWidth, bottom = y > height - ResizeZoneWidth;
  if (left && right) return HTCLIENT;
  if (top) return right ? HTTOPRIGHT : left ? HTTOPLEFT : HTTOP;
  if (bottom) return right ? HTBOTTOMRIGHT : left ? HTBOTTOMLEFT : HTBOTTOM;
  return right ? HTRIGHT : left ? HTLEFT : HTCLIENT;
}

LRESULT TfrmDisplay::WMNCHitTest(WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefaultHandler(WM_NCHITTEST, wParam, lParam);
  if (!FDisplay) return result;
  const TPoint p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const TRect r = Bounds();
  if (FDisplay->HasBackground)
    result = ResizeZone(true, p.x - r.left, p.y - r.top, r.Width(), r.Height());
  if (Options && Options->AutoHide && !FDragging) ArmAutoHide(p);
  return result;
}

void TfrmDisplay::ArmAutoHide(TPoint hitPoint) {
  if (hitPoint == FLastHitPoint || MenuOpen()) return;
  if (DisplayList && !DisplayList->CanAutoHide(*FDisplay, Options->AutoHideAllDisplays)) return;
  FLastHitPoint = hitPoint;
  SetAutoHideTimer(false, 0);
  if (DisplayPreferencesOpen) return;
  if (Options->AutoHideInterval != 0)
    SetAutoHideTimer(true, 0);
  else if (!ShiftDown())
    AutoHide(true);
}

void TfrmDisplay::tmrAutoHideTimer() {
  if (!Options) return;
  if (FAutoHideState == 0) {
    if (IsCursorInside() && !ShiftDown() && !MenuOpen())
      AutoHide(true);
    else
      SetAutoHideTimer(false, 0);
    return;
  }
  // A negative stored interval counts as none; unsigned, it would hide the display for weeks.
  const bool away = Options->AutoHideAllDisplays ? !(DisplayList && DisplayList->IsCursorOverAny())
                                                 : !IsCursorInside();
  if (!away) {
    FLeaveTick = Now();
  } else if (Now() - FLeaveTick > static_cast<std::uint32_t>(std::max(Options->AutoShowInterval, 0))) {
    AutoShow(true);
  }
}

void TfrmDisplay::FormMouseDown() {
  FDragging = true;
  FLastCursor = Platform().desktop->CursorPos();
  const TRect r = Bounds();
  FStartLeft = r.left;
  FStartTop = r.top;
  // Keep the moves coming when the cursor outruns the window.
  SetCapture(Handle());
}

void TfrmDisplay::FormMouseMove() {
  if (!FDragging || !Platform().desktop->IsPrimaryButtonDown()) return;
  const TPoint p = Platform().desktop->CursorPos();
  if (p == FLastCursor) return;
  const TRect r = Bounds();
  MoveTo(p.x - FLastCursor.x + r.left, p.y - FLastCursor.y + r.top);
  FLastCursor = p;
}

void TfrmDisplay::FormMouseUp() {
  FDragging = false;
  if (GetCapture() == Handle()) ReleaseCapture();
}

void TfrmDisplay::FormKeyUp(WPARAM key) {
  if (key != VK_ESCAPE || !FDragging) return;
  FDragging = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  MoveTo(FStartLeft, FStartTop);
}

void TfrmDisplay::FormResize() {
  if (FSizeUpdateGuard || FInResize) return;
  FInResize = true;
  try {
    FDisplay->BoundsChanged();
  } catch (...) {
    FInResize = false;
    throw;
  }
  FInResize = false;
}

void TfrmDisplay::FormPaint() {
  TPaintDC dc(Handle());
  if (dc.get()) PaintBitmapTo(dc.get());
}

LRESULT TfrmDisplay::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST:
      return WMNCHitTest(wParam, lParam);
    case WM_ERASEBKGND:
      if (FDisplay) PaintBitmapTo(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_MOVING: {
      const LRESULT r = DefaultHandler(msg, wParam, lParam);
      SetAutoHideTimer(false, 0);
      return r;
    }
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT || LOWORD(lParam) == HTCAPTION) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
        return 1;
      }
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {MinWidth, MinHeight};
      info->ptMaxTrackSize = {MaxWidth, MaxHeight};
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (FDisplay) FormMouseDown();
      return 0;
    case WM_MOUSEMOVE:
      if (FDisplay) FormMouseMove();
      return 0;
    case WM_LBUTTONUP:
      FormMouseUp();
      return 0;
    case WM_CAPTURECHANGED:
      FDragging = false;
      return 0;
    case WM_KEYUP:
      FormKeyUp(wParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (IsIdle()) HideWindow();
      return 0;
    case WM_RBUTTONUP:
      DefaultHandler(msg, wParam, lParam);
      if (QuorvelDisplay && FDisplay) QuorvelDisplay->ShowPopupMenu(FDisplay);
      return 0;
    case WM_SYSCOMMAND:
      // A display is closed only through its model.
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_CLOSE:
      return 0;
    case WM_SIZE:
      if (FDisplay) FormResize();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && FDisplay) ApplyZOrder();
      break;
    case WM_TIMER:
      if (wParam == AutoHideTimerId) tmrAutoHideTimer();
      return 0;
    default:
      break;
  }
  return DefaultHandler(msg, wParam, lParam);
}
