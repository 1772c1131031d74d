#include "display/fDisplay.h"

#include <windowsx.h>

#include <algorithm>

#include "display/uDisplayHost.h"
#include "display/uPainter.h"
#include "support/uDpi.h"
#include "support/uGdiCanvas.h"
#include "support/uPlatform.h"
#include "support/uWin32Platform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

constexpr wchar_t kClassName[] = L"TfrmDisplay";

void BlitBitmap(HDC dc, const TBitmap32& bitmap) {
  const auto* gdi = dynamic_cast<const TGdiBitmap*>(&bitmap);
  if (!gdi || gdi->Width() == 0) return;
  BitBlt(dc, 0, 0, gdi->Width(), gdi->Height(), gdi->DC(), 0, 0, SRCCOPY);
}

struct TZOrderSearch {
  HWND window;
  bool found = false;
};

// Goes on while the windows above are this program's displays; stops at the window sought.
BOOL CALLBACK VisitWindowAbove(HWND above, LPARAM lParam) {
  auto& search = *reinterpret_cast<TZOrderSearch*>(lParam);
  search.found = above == search.window;
  if (search.found) return FALSE;
  DWORD process = 0;
  wchar_t name[std::size(kClassName) + 1] = {};
  GetWindowThreadProcessId(above, &process);
  return process == GetCurrentProcessId() &&
         GetClassNameW(above, name, static_cast<int>(std::size(name))) &&
         lstrcmpW(name, kClassName) == 0;
}

// Whether no window but this program's displays stands above the window in the z-order, so
// that placing it on top again would change nothing.
bool IsTopOfZOrder(HWND window) {
  TZOrderSearch search{window};
  // One list from the window server, where a walk window by window asks it once per step.
  EnumWindows(VisitWindowAbove, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TfrmDisplay::TfrmDisplay(TDisplay& display, TDisplayHost& host, const TOptions& options,
                         TDisplayList& list)
    : FHost(host), FAutoHide(display, *this, FAutoHideTimer, FDrag, options, list, host) {
  RegisterWindowClass(kClassName, CS_DBLCLKS, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  CreateHandle(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, RECT{0, 0, MinWidth, MinHeight},
               nullptr);
  FDpi = WindowDpi(Handle());
  // Set only now: messages of the creation itself must not reach the model.
  FDisplay = &display;
}

TfrmDisplay::~TfrmDisplay() {
  FAutoHideTimer.Stop();
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
  // This runs every five seconds, and each change is a round trip to the window server:
  // only what is not so already is changed.
  if (GetWindow(Handle(), GW_OWNER)) SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
  const bool topmost = FDisplay && FDisplay->AlwaysOnTop();
  const bool isTopmost = GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST;
  if (topmost && isTopmost && IsTopOfZOrder(Handle())) return;
  SetTopmost(topmost);
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

TPoint TfrmDisplay::MinSize() const {
  return {ScaleToDpi(MinWidth, FDpi), ScaleToDpi(MinHeight, FDpi)};
}

TPoint TfrmDisplay::MaxSize() const {
  return {ScaleToDpi(MaxWidth, FDpi), ScaleToDpi(MaxHeight, FDpi)};
}

void TfrmDisplay::SetBounds(const TRect& r) {
  const TPoint least = MinSize(), most = MaxSize();
  const int w = std::clamp(r.Width(), least.x, most.x);
  const int h = std::clamp(r.Height(), least.y, most.y);
  SetWindowPos(Handle(), nullptr, r.left, r.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmDisplay::MoveTo(int left, int top) {
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void TfrmDisplay::SetClientSize(int width, int height) {
  // Borderless: the client area is the whole window.
  const TRect r = Bounds();
  const TPoint least = MinSize(), most = MaxSize();
  const int w = std::clamp(width, least.x, most.x);
  const int h = std::clamp(height, least.y, most.y);
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
  if (!dc.get()) return;
  BlitBitmap(dc.get(), bitmap);
  // The whole window is drawn: a paint the new shape or size asked for would copy it again.
  ValidateRect(Handle(), nullptr);
}

void TfrmDisplay::SetShownText(const std::string& text) {
  if (text == FShownText) return;
  FShownText = text;
  SetWindowTextW(Handle(), Utf8ToWide(text).c_str());
}

void TfrmDisplay::PaintBitmapTo(HDC dc) {
  if (FDisplay && FDisplay->Painter()) BlitBitmap(dc, FDisplay->Painter()->Bitmap());
}

LRESULT TfrmDisplay::ResizeZone(bool hasBackground, int x, int y, int width, int height, int zone) {
  if (!hasBackground) return HTCLIENT;
  const bool left = x<zone, right = x> width - zone;
  const bool top = y<zone, bottom = y> height - zone;
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
    result = ResizeZone(true, p.x - r.left, p.y - r.top, r.Width(), r.Height(),
                        ScaleToDpi(ResizeZoneWidth, FDpi));
  FAutoHide.HitTest(p);
  return result;
}

TPoint TfrmDisplay::TopLeft() const {
  const TRect r = Bounds();
  return {r.left, r.top};
}

void TfrmDisplay::FormMouseDown() {
  FDrag.Begin(Platform().desktop->CursorPos(), TopLeft());
  // Keep the moves coming when the cursor outruns the window.
  SetCapture(Handle());
}

void TfrmDisplay::FormMouseMove() {
  TDesktop& desktop = *Platform().desktop;
  if (const auto to = FDrag.Move(desktop.CursorPos(), desktop.IsPrimaryButtonDown(), TopLeft()))
    MoveTo(to->x, to->y);
}

void TfrmDisplay::FormMouseUp() {
  EndDrag();
  if (GetCapture() == Handle()) ReleaseCapture();
}

void TfrmDisplay::EndDrag() {
  // Dropped somewhere else: the display belongs to the monitor it was dropped on.
  if (const auto start = FDrag.End(); start && *start != TopLeft()) FDisplay->TakeMonitorPlace();
}

void TfrmDisplay::FormKeyUp(WPARAM key) {
  if (key != VK_ESCAPE) return;
  const auto start = FDrag.End();
  if (!start) return;
  if (GetCapture() == Handle()) ReleaseCapture();
  MoveTo(start->x, start->y);
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

void TfrmDisplay::FormDpiChanged(int dpi, const RECT& suggested) {
  FDpi = dpi > 0 ? dpi : 96;
  // The suggested rectangle is the old size grown by the new DPI; the model keeps its size at
  // 96 dpi, so it need not hear of the resize.
  const bool guard = FSizeUpdateGuard;
  FSizeUpdateGuard = true;
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  FSizeUpdateGuard = guard;
  if (FDisplay) FDisplay->DpiChanged();
}

void TfrmDisplay::FormPaint() {
  TPaintDC dc(Handle());
  if (dc.get()) PaintBitmapTo(dc.get());
}

LRESULT TfrmDisplay::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Also inside the system's own loops (a drag), which the program's message loop never sees;
  // the schedule is looked at once this message is done.
  FHost.ScheduleChanged();
  switch (msg) {
    case WM_NCHITTEST:
      return WMNCHitTest(wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // nothing to erase: the paint that follows copies the whole bitmap
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_MOVING: {
      const LRESULT r = DefaultHandler(msg, wParam, lParam);
      FAutoHide.Disarm();
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
      const TPoint least = MinSize(), most = MaxSize();
      info->ptMinTrackSize = {least.x, least.y};
      info->ptMaxTrackSize = {most.x, most.y};
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (!FDisplay) return 0;
      FormMouseDown();
      // A click on a display shows the notifications that wait for one.
      if (FHost.IsIdle()) FHost.ShowNotifications();
      return 0;
    case WM_MOUSEMOVE:
      if (FDisplay) FormMouseMove();
      return 0;
    case WM_LBUTTONUP:
      FormMouseUp();
      return 0;
    case WM_CAPTURECHANGED:
      if (FDisplay) EndDrag();
      return 0;
    case WM_KEYUP:
      FormKeyUp(wParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (FHost.IsIdle()) HideWindow();
      return 0;
    case WM_RBUTTONUP:
      DefaultHandler(msg, wParam, lParam);
      if (FDisplay) FHost.ShowPopupMenu(*FDisplay);
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
    case WM_DPICHANGED:
      FormDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && FDisplay) ApplyZOrder();
      break;
    case WM_TIMER:
      if (wParam == AutoHideTimerId) FAutoHide.TimerFired();
      return 0;
    default:
      break;
  }
  return DefaultHandler(msg, wParam, lParam);
}
