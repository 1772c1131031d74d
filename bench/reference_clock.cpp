// A minimal hand-written program doing the drawing of 20 default digital
// clocks showing seconds: the yardstick for the cost of a repaint. Every
// second each window gets the long date and the time with seconds, measured,
// drawn into a 32-bit DIB section with a shadow, two shaded outline rings of
// 13 copies and the glyphs, cut to a region built from the colour key in one
// pass and one ExtCreateRegion, and copied to the screen with one blit.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kWindows = 20;
constexpr COLORREF kKey = RGB(1, 1, 1);
constexpr COLORREF kText = RGB(0xFF, 0xCF, 0x3F);
constexpr COLORREF kShadow = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kOutline = RGB(0x40, 0x40, 0x40);
constexpr int kShadowOffset = 6;
constexpr int kRings = 2;

struct TClockWindow {
  HWND window = nullptr;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
};

HFONT gSmooth = nullptr;
HFONT gSharp = nullptr;
COLORREF gRingColours[13];
POINT gRingOffsets[kRings][13];
int gSlack = 0;
TClockWindow gClocks[kWindows];
WORD gLastSecond = 0xFFFF;

// The brightness (HSV value) moved by delta, clamped, hue and saturation kept.
COLORREF Shaded(COLORREF c, int delta) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  const int mx = std::max({r, g, b});
  const int v = std::clamp(mx + delta, 0, 255);
  if (mx == 0) return RGB(v, v, v);
  return RGB(r * v / mx, g * v / mx, b * v / mx);
}

void Prepare() {
  LOGFONTW lf{};
  lf.lfHeight = -37;  // 28 points at 96 pixels per inch
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"Arial");
  gSmooth = CreateFontIndirectW(&lf);
  lf.lfQuality = NONANTIALIASED_QUALITY;
  gSharp = CreateFontIndirectW(&lf);
  for (int i = 0; i <= 12; ++i) {
    const double a = (i * 30 - 135) * std::numbers::pi / 180.0;
    gRingColours[i] = Shaded(kOutline, static_cast<int>(std::trunc(std::sin(a) * 48.0)));
    for (int k = 1; k <= kRings; ++k) {
      const double turn = (i * 30 + 2 * k) * std::numbers::pi / 180.0;
      gRingOffsets[k - 1][i] = {static_cast<LONG>(std::lround(std::cos(turn) * k)),
                                static_cast<LONG>(std::lround(std::sin(turn) * k))};
    }
  }
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  SelectObject(dc, gSmooth);
  RECT w{};
  DrawTextW(dc, L"W", 1, &w, DT_CALCRECT | DT_NOPREFIX);
  gSlack = 2 * (w.right - w.left);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

std::wstring ClockText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t date[128], time[64];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, date, 128);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 64);
  return std::wstring(date) + L"\r\n" + time;
}

void Resize(TClockWindow& c, int width, int height) {
  if (c.bitmap && width == c.width && height == c.height) return;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(c.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(c.dc, bitmap);
  if (c.bitmap) DeleteObject(c.bitmap);
  c.bitmap = bitmap;
  c.bits = static_cast<std::uint32_t*>(bits);
  c.width = width;
  c.height = height;
  SetWindowPos(c.window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Draw(TClockWindow& c, const std::wstring& text) {
  const UINT format = DT_LEFT | DT_NOCLIP | DT_NOPREFIX;
  SelectObject(c.dc, gSmooth);
  RECT measured{};
  DrawTextW(c.dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
  const int textWidth = (measured.right + 1) / 2 * 2;
  Resize(c, textWidth + 20 + gSlack, measured.bottom + 16);
  const RECT all{0, 0, c.width, c.height};
  HBRUSH key = CreateSolidBrush(kKey);
  FillRect(c.dc, &all, key);
  DeleteObject(key);
  SetBkMode(c.dc, TRANSPARENT);
  const RECT place{10, 5, 10 + textWidth, 5 + measured.bottom};
  SelectObject(c.dc, gSharp);
  SetTextColor(c.dc, kShadow);
  RECT r = place;
  OffsetRect(&r, kShadowOffset, kShadowOffset);
  DrawTextW(c.dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  for (int k = 0; k < kRings; ++k)
    for (int i = 0; i <= 12; ++i) {
      SetTextColor(c.dc, gRingColours[i]);
      r = place;
      OffsetRect(&r, gRingOffsets[k][i].x, gRingOffsets[k][i].y);
      DrawTextW(c.dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    }
  SelectObject(c.dc, gSmooth);
  SetTextColor(c.dc, kText);
  r = place;
  DrawTextW(c.dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  GdiFlush();

  // The region: every run of pixels that is not the key, in one pass.
  std::vector<RECT> runs;
  for (int y = 0; y < c.height; ++y) {
    const std::uint32_t* row = c.bits + std::size_t(y) * c.width;
    for (int x = 0; x < c.width;) {
      while (x < c.width && (row[x] & 0xFFFFFF) == 0x010101) ++x;
      if (x == c.width) break;
      const int start = x;
      while (x < c.width && (row[x] & 0xFFFFFF) != 0x010101) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  std::vector<std::byte> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  *header = {sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(runs.size()),
             static_cast<DWORD>(runs.size() * sizeof(RECT)), all};
  std::memcpy(data.data() + sizeof(RGNDATAHEADER), runs.data(), runs.size() * sizeof(RECT));
  HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                reinterpret_cast<RGNDATA*>(data.data()));
  if (!SetWindowRgn(c.window, region, TRUE)) DeleteObject(region);

  HDC window = GetDC(c.window);
  BitBlt(window, 0, 0, c.width, c.height, c.dc, 0, 0, SRCCOPY);
  ReleaseDC(c.window, window);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      for (const TClockWindow& c : gClocks)
        if (c.window == hwnd && c.bitmap) BitBlt(dc, 0, 0, c.width, c.height, c.dc, 0, 0, SRCCOPY);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_TIMER: {
      SYSTEMTIME now;
      GetLocalTime(&now);
      if (now.wSecond == gLastSecond) return 0;
      gLastSecond = now.wSecond;
      // Each clock formats its own text, as each display evaluates its own template.
      for (TClockWindow& c : gClocks) Draw(c, ClockText());
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  Prepare();
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ReferenceClock";
  RegisterClassW(&wc);
  for (int i = 0; i < kWindows; ++i) {
    TClockWindow& c = gClocks[i];
    c.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"ReferenceClock", L"", WS_POPUP,
                               40 + (i % 4) * 300, 40 + (i / 4) * 190, 20, 20, nullptr, nullptr,
                               instance, nullptr);
    c.dc = CreateCompatibleDC(nullptr);
    ShowWindow(c.window, SW_SHOWNOACTIVATE);
  }
  SetTimer(gClocks[0].window, 1, 200, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
