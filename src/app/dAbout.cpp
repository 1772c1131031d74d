#include "app/dAbout.h"

#include "config/uMultilanguage.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

constexpr COLORREF kBackground = RGB(0xF0, 0xF0, 0xF0);
// The box and its parts in pixels at 96 dpi; each grows with the DPI.
constexpr SIZE kSize{408, 245};
constexpr SIZE kBanner{410, 55};
struct TPlace {
  int id;
  RECT bounds;
};
constexpr TPlace kPlaces[] = {{TdlgAbout::InfoId, {12, 66, 394, 126}},
                              {TdlgAbout::WebInfoId, {12, 134, 394, 160}},
                              {TdlgAbout::LinkId, {12, 162, 394, 178}},
                              {TdlgAbout::HelpId, {12, 208, 300, 224}},
                              {TdlgAbout::CloseId, {316, 204, 394, 230}}};

}  // namespace

int TdlgAbout::Scaled(int pixels) const { return ScaledForWindow(Handle(), pixels); }

RECT TdlgAbout::Scaled(const RECT& r) const {
  return {Scaled(r.left), Scaled(r.top), Scaled(r.right), Scaled(r.bottom)};
}

bool TdlgAbout::OnInitDialog() {
  FBackground.reset(CreateSolidBrush(kBackground));
  FBanner = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"ABOUT", IMAGE_BITMAP, 0, 0, LR_SHARED));
  SetWindowTextW(Item(LinkId), FHomePage);
  for (auto [label, id] : {std::pair{&FLink, LinkId}, std::pair{&FHelpLink, HelpId}}) {
    label->ChangeWithMouse = true;
    label->HandCursor = true;
    label->Color = RGB(0x00, 0x40, 0x80);
    label->ActiveColor = RGB(0x00, 0x80, 0xC0);
    label->Attach(Item(id));
  }
  // Centred on the screen, with the controls placed below the banner.
  const int width = Scaled(kSize.cx), height = Scaled(kSize.cy);
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
  for (const auto& [id, bounds] : kPlaces) {
    const RECT r = Scaled(bounds);
    SetWindowPos(Item(id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

void TdlgAbout::DrawBannerText(HDC dc, const std::string& text, const RECT& bounds, int height,
                               bool bold, COLORREF colour, UINT format) const {
  TUniqueFont font(CreateFontW(-Scaled(height), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  TSelectObject select(dc, font.get());
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  RECT r = Scaled(bounds);
  DrawTextW(dc, Utf8ToWide(text).c_str(), -1, &r, format | DT_NOPREFIX);
}

void TdlgAbout::FormPaint() {
  TPaintDC paint(Handle());
  const HDC dc = paint.get();
  if (FBanner) {
    TUniqueMemoryDC memory(CreateCompatibleDC(dc));
    TSelectObject select(memory.get(), FBanner);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, Scaled(kBanner.cx), Scaled(kBanner.cy), memory.get(), 0, 0, kBanner.cx,
               kBanner.cy, SRCCOPY);
  }
  const COLORREF white = RGB(0xFF, 0xFF, 0xFF);
  DrawBannerText(dc, GetText("ABOUT_MAKER", "From the Quorvel developers"), {12, 6, 300, 20}, 11,
                 false, white, DT_LEFT);
  DrawBannerText(dc, "Quorvel", {12, 20, 300, 48}, 21, true, white, DT_LEFT);
  const std::string version = GetText("VERSION", "version") + "\n" + ProgramVersion().Text();
  DrawBannerText(dc, version, {200, 8, kSize.cx - 60, 50}, 11, false, RGB(0, 0, 0), DT_RIGHT);
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
      if (reinterpret_cast<HWND>(lParam) == Item(HelpId)) SetTextColor(dc, FHelpLink.TextColor());
      return reinterpret_cast<INT_PTR>(FBackground.get());
    }
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

void TdlgAbout::OnCommand(int id, int notification) {
  if (id == LinkId && notification == STN_CLICKED) {
    ShellOpen(Handle(), FHomePage);
    return;
  }
  if (id == HelpId && notification == STN_CLICKED) {
    OpenHelp(TemplateId);
    return;
  }
  // Enter presses Close, the default button; Esc cancels.
  if (id == CloseId) id = IDOK;
  TDialogBase::OnCommand(id, notification);
}
