#include "app/dAbout.h"

#include <shellapi.h>

#include "config/uMultilanguage.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

constexpr COLORREF kBackground = RGB(0xF0, 0xF0, 0xF0);

void DrawBannerText(HDC dc, const std::string& text, RECT r, int height, bool bold, COLORREF colour,
                    UINT format) {
  TUniqueFont font(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  const HGDIOBJ old = SelectObject(dc, font.get());
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  const std::wstring wide = Utf8ToWide(text);
  DrawTextW(dc, wide.c_str(), -1, &r, format | DT_NOPREFIX);
  SelectObject(dc, old);
}

}  // namespace

bool TdlgAbout::OnInitDialog() {
  FBackground.reset(CreateSolidBrush(kBackground));
  FBanner = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"ABOUT", IMAGE_BITMAP, 0, 0, LR_SHARED));
  SetWindowTextW(Item(LinkId), FHomePage);
  FLink.ChangeWithMouse = true;
  FLink.HandCursor = true;
  FLink.Color = RGB(0x00, 0x40, 0x80);
  FLink.ActiveColor = RGB(0x00, 0x80, 0xC0);
  FLink.Attach(Item(LinkId));
  // 408 x 245 pixels whatever the dialog font, centred on the screen, with the
  // controls placed in pixels below the banner.
  const int width = 408, height = 245;
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
  const struct {
    int id;
    RECT bounds;
  } layout[] = {{InfoId, {12, 66, 394, 126}},
                {WebInfoId, {12, 142, 394, 158}},
                {LinkId, {12, 160, 394, 176}},
                {CloseId, {316, 204, 394, 230}}};
  for (const auto& [id, r] : layout)
    SetWindowPos(Item(id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void TdlgAbout::FormPaint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(Handle(), &ps);
  RECT client{};
  GetClientRect(Handle(), &client);
  if (FBanner) {
    const HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, FBanner);
    BitBlt(dc, 0, 0, 410, 55, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  const COLORREF white = RGB(0xFF, 0xFF, 0xFF);
  DrawBannerText(dc, "From the Quorvel developers", {12, 6, 300, 20}, 11, false, white, DT_LEFT);
  DrawBannerText(dc, "Quorvel", {12, 20, 300, 48}, 21, true, white, DT_LEFT);
  const std::string version = GetText("VERSION", "version") + "\n" + ProgramVersion().Text();
  DrawBannerText(dc, version, {200, 8, client.right - 60, 50}, 11, false, RGB(0, 0, 0), DT_RIGHT);
  EndPaint(Handle(), &ps);
}

INT_PTR TdlgAbout::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      FormPaint();
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(FBackground.get());
    case WM_CTLCOLORSTATIC: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kBackground);
      if (reinterpret_cast<HWND>(lParam) == Item(LinkId)) SetTextColor(dc, FLink.TextColor());
      return reinterpret_cast<INT_PTR>(FBackground.get());
    }
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

void TdlgAbout::OnCommand(int id, int notification) {
  if (id == LinkId && notification == STN_CLICKED) {
    ShellExecuteW(Handle(), nullptr, FHomePage, nullptr, nullptr, SW_SHOW);
    return;
  }
  // Enter presses Close, the default button; Esc cancels.
  if (id == CloseId) id = IDOK;
  TDialogBase::OnCommand(id, notification);
}
