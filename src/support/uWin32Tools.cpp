#include "support/uWin32Tools.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "support/uHelp.h"
#include "support/uSystemLibrary.h"
#include "support/uWin32Platform.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"

TVersionInfo ReadVersionInfo(const std::wstring& file) {
  // The version functions live in a DLL outside the known ones, so they come from the system
  // folder.
  using TInfoSize = DWORD WINAPI(LPCWSTR, LPDWORD);
  using TInfo = BOOL WINAPI(LPCWSTR, DWORD, DWORD, LPVOID);
  using TQuery = BOOL WINAPI(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  static TInfoSize* const infoSize =
      SystemFunction<TInfoSize>(L"version.dll", "GetFileVersionInfoSizeW");
  static TInfo* const infoOf = SystemFunction<TInfo>(L"version.dll", "GetFileVersionInfoW");
  static TQuery* const query = SystemFunction<TQuery>(L"version.dll", "VerQueryValueW");
  TVersionInfo info;
  if (!infoSize || !infoOf || !query) return info;
  DWORD ignored = 0;
  const DWORD size = infoSize(file.c_str(), &ignored);
  if (size == 0) return info;
  std::vector<std::uint8_t> block(size);
  if (!infoOf(file.c_str(), 0, size, block.data())) return info;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!query(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO))
    return info;
  info.Major = HIWORD(fixed->dwFileVersionMS);
  info.Minor = LOWORD(fixed->dwFileVersionMS);
  info.Release = HIWORD(fixed->dwFileVersionLS);
  info.Build = LOWORD(fixed->dwFileVersionLS);
  info.Flags = fixed->dwFileFlags & fixed->dwFileFlagsMask;
  info.Valid = true;
  return info;
}

const TVersionInfo& ProgramVersion() {
  static const TVersionInfo version = ReadVersionInfo(Utf8ToWide(ProgramFilePath()));
  return version;
}

THourglass::THourglass() : FPrevious(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}

THourglass::~THourglass() { SetCursor(FPrevious ? FPrevious : LoadCursorW(nullptr, IDC_ARROW)); }

namespace {

// A local page opened through the shell loses its section, so the browser that opens pages is
// handed the address itself; without one, the shell opens the page at its top.
void OpenInBrowser(const std::string& address) {
  const std::wstring wide = Utf8ToWide(address);
  wchar_t browser[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  if (SUCCEEDED(AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, L".htm", L"open", browser,
                                  &length))) {
    const std::wstring quoted = L"\"" + wide + L"\"";
    if (reinterpret_cast<INT_PTR>(ShellExecuteW(GetActiveWindow(), L"open", browser, quoted.c_str(),
                                                nullptr, SW_SHOWNORMAL)) > 32)
      return;
  }
  ShellExecuteW(GetActiveWindow(), L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void ShellOpen(HWND window, const wchar_t* target) {
  ShellExecuteW(window, nullptr, target, nullptr, nullptr, SW_SHOW);
}

std::function<void(const std::string& address)>& AddressOpener() {
  static std::function<void(const std::string&)> opener = OpenInBrowser;
  return opener;
}

void ShowHelp(const std::string& page, const std::string& section) {
  THourglass hourglass;
  AddressOpener()(HelpAddress(ProgramFolder() + page, section));
}

bool BrowseForFile(HWND owner, std::string& fileName, const std::string& filter,
                   const std::string& title) {
  // The filter separates its parts with "|"; the dialog wants zero characters.
  std::wstring wideFilter = Utf8ToWide(filter);
  for (wchar_t& c : wideFilter)
    if (c == L'|') c = L'\0';
  wideFilter.append(2, L'\0');
  std::vector<wchar_t> buffer(32768, L'\0');
  const std::wstring current = Utf8ToWide(fileName);
  current.copy(buffer.data(), std::min(current.size(), buffer.size() - 1));
  const std::wstring wideTitle = Utf8ToWide(title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return false;
  fileName = WideToUtf8(buffer.data());
  return true;
}

// The per-monitor DPI calls came after Windows 7; each is looked up once, null where missing.
namespace {

using TGetDpiForWindow = UINT WINAPI(HWND);
using TGetDpiForMonitor = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
using TGetSystemMetricsForDpi = int WINAPI(int, UINT);
using TSystemParametersInfoForDpi = BOOL WINAPI(UINT, UINT, PVOID, UINT, UINT);

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

}  // namespace

int ScreenDpi() {
  TWindowDC dc(nullptr);
  const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

int MonitorDpi(HMONITOR monitor) {
  static TGetDpiForMonitor* const get =
      SystemFunction<TGetDpiForMonitor>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (get && monitor && SUCCEEDED(get(monitor, kEffectiveDpi, &x, &y)) && y > 0)
    return static_cast<int>(y);
  return ScreenDpi();
}

int DpiAtPoint(POINT p) { return MonitorDpi(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST)); }

int WindowDpi(HWND window) {
  static TGetDpiForWindow* const get =
      SystemFunction<TGetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
  if (window && get) {
    if (const UINT dpi = get(window); dpi > 0) return static_cast<int>(dpi);
  }
  return window ? MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : ScreenDpi();
}

int ScaledForWindow(HWND window, int pixels) { return MulDiv(pixels, WindowDpi(window), 96); }

int SystemMetricForDpi(int index, int dpi) {
  static TGetSystemMetricsForDpi* const get =
      SystemFunction<TGetSystemMetricsForDpi>(L"user32.dll", "GetSystemMetricsForDpi");
  if (get) return get(index, static_cast<UINT>(dpi));
  // Before it, the metrics are the system DPI's.
  return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) {
  static TSystemParametersInfoForDpi* const get =
      SystemFunction<TSystemParametersInfoForDpi>(L"user32.dll", "SystemParametersInfoForDpi");
  metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (get && get(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, static_cast<UINT>(dpi)))
    return true;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    // Windows before Vista knows the record without its last field.
    metrics.cbSize = sizeof(metrics) - sizeof(metrics.iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
  }
  // The fonts are the system DPI's; grown to the one asked for.
  const int system = ScreenDpi();
  for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                         &metrics.lfStatusFont, &metrics.lfMessageFont})
    font->lfHeight = MulDiv(font->lfHeight, dpi, system);
  return true;
}

void PlaceOverOwner(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const TPoint size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  const HWND owner = GetWindow(window, GW_OWNER);
  TPoint place;
  if (owner && IsWindowVisible(owner)) {
    RECT o{};
    GetWindowRect(owner, &o);
    place = CentredOver({o.left, o.top, o.right, o.bottom}, size);
  } else {
    POINT cursor{};
    GetCursorPos(&cursor);
    place = FitOnMonitor({cursor.x - size.x / 2, cursor.y - size.y / 2}, size,
                         TPoint{cursor.x, cursor.y});
  }
  SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetControlData(HWND control, std::intptr_t data) {
  SetWindowLongPtrW(control, GWLP_USERDATA, static_cast<LONG_PTR>(data));
}

std::intptr_t GetControlData(HWND control) {
  return static_cast<std::intptr_t>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

bool NoModifierHeld() {
  return GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

void SelectFormatElement(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start != end) return;
  // The edit counts UTF-16 units and the element characters are all ASCII, so a
  // copy with one byte per unit keeps every position.
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  std::string narrow(text.size(), ' ');
  for (std::size_t i = 0; i < text.size(); ++i)
    narrow[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  if (const auto element = FormatElementAt(narrow, start))
    SendMessageW(edit, EM_SETSEL, element->first, element->second + 1);
}
