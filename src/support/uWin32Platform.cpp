#include "support/uWin32Platform.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "support/uGdiCanvas.h"
#include "support/uPlatform.h"
#include "support/uReport.h"
#include "support/uSystemLibrary.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

static_assert(sizeof(TSystemTime) == sizeof(SYSTEMTIME));
static_assert(sizeof(TTimeZoneInformation) == sizeof(TIME_ZONE_INFORMATION));
static_assert(offsetof(TTimeZoneInformation, DaylightBias) ==
              offsetof(TIME_ZONE_INFORMATION, DaylightBias));

TSystemTime FromSYSTEMTIME(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
          st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

SYSTEMTIME ToSYSTEMTIME(const TSystemTime& t) {
  return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

namespace {

std::optional<TSystemTime> SystemZoneTime(const TTimeZoneInformation& zone,
                                          const TSystemTime& utc) {
  TIME_ZONE_INFORMATION info;
  std::memcpy(&info, &zone, sizeof(info));
  const SYSTEMTIME in = ToSYSTEMTIME(utc);
  SYSTEMTIME out;
  if (!SystemTimeToTzSpecificLocalTime(&info, &in, &out)) return std::nullopt;
  return FromSYSTEMTIME(out);
}

}  // namespace

TSystemTime TWin32Clock::UtcNow() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  return FromSYSTEMTIME(st);
}

TSystemTime TWin32Clock::LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return FromSYSTEMTIME(st);
}

std::uint32_t TWin32Clock::TickCount() { return GetTickCount(); }

std::optional<TRect> TWin32Desktop::MonitorFromRect(const TRect& r, bool nearest) {
  const RECT rc{r.left, r.top, r.right, r.bottom};
  const HMONITOR monitor =
      ::MonitorFromRect(&rc, nearest ? MONITOR_DEFAULTTONEAREST : MONITOR_DEFAULTTONULL);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return TRect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
               info.rcMonitor.bottom};
}

TRect TWin32Desktop::WorkAreaNear(TPoint p) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromPoint({p.x, p.y}, MONITOR_DEFAULTTONEAREST), &info)) return {};
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT &r = info.rcMonitor, &w = info.rcWork;
    reinterpret_cast<std::vector<TMonitor>*>(list)->push_back(
        {WideToUtf8(info.szDevice),
         {r.left, r.top, r.right, r.bottom},
         {w.left, w.top, w.right, w.bottom},
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<TMonitor> TWin32Desktop::Monitors() {
  std::vector<TMonitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

int TWin32Desktop::DpiAt(TPoint p) { return DpiAtPoint({p.x, p.y}); }

TPoint TWin32Desktop::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

bool TWin32Desktop::IsShiftDown() { return GetAsyncKeyState(VK_SHIFT) < 0; }

bool TWin32Desktop::IsPrimaryButtonDown() {
  return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
}

namespace {

// The sound functions live in a DLL outside the known ones, so they come from the system folder.
bool PlaySystemSound(const wchar_t* file, DWORD flags) {
  using TPlaySound = BOOL WINAPI(LPCWSTR, HMODULE, DWORD);
  static TPlaySound* const play = SystemFunction<TPlaySound>(L"winmm.dll", "PlaySoundW");
  return play && play(file, nullptr, flags) != FALSE;
}

}  // namespace

bool TWin32Sound::PlayAsync(const std::string& file, bool loop) {
  const DWORD flags = SND_FILENAME | SND_NOWAIT | SND_ASYNC | (loop ? SND_LOOP : 0);
  return PlaySystemSound(Utf8ToWide(file).c_str(), flags);
}

bool TWin32Sound::PlaySync(const std::string& file) {
  // Returns when the sound has ended, or at once when the device is busy.
  return PlaySystemSound(Utf8ToWide(file).c_str(), SND_FILENAME | SND_NOWAIT);
}

void TWin32Sound::Purge() { PlaySystemSound(nullptr, SND_PURGE); }

namespace {

std::string LocaleInfo(LCTYPE type) {
  wchar_t text[128] = {};
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 128)) return {};
  return WideToUtf8(text);
}

}  // namespace

std::string TWin32Locale::DayName(int day, bool abbreviated) {
  const LCTYPE first = abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;
  return LocaleInfo(first + static_cast<LCTYPE>(day));
}

std::string TWin32Locale::MonthName(int month, bool abbreviated) {
  const LCTYPE first = abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
  return LocaleInfo(first + static_cast<LCTYPE>(month - 1));
}

std::string TWin32Locale::FormatDate(const TSystemTime& time, bool longDate) {
  const SYSTEMTIME st = ToSYSTEMTIME(time);
  wchar_t text[256] = {};
  if (!GetDateFormatW(LOCALE_USER_DEFAULT, longDate ? DATE_LONGDATE : DATE_SHORTDATE, &st, nullptr,
                      text, 256))
    return {};
  return WideToUtf8(text);
}

std::string TWin32Locale::FormatTime(const TSystemTime& time, unsigned timeFlags) {
  const SYSTEMTIME st = ToSYSTEMTIME(time);
  wchar_t text[256] = {};
  if (!GetTimeFormatW(LOCALE_USER_DEFAULT, timeFlags, &st, nullptr, text, 256)) return {};
  return WideToUtf8(text);
}

std::string TWin32Locale::TimeMarker(bool pm) {
  return LocaleInfo(pm ? LOCALE_S2359 : LOCALE_S1159);
}

bool TWin32Locale::TwelveHour() { return LocaleInfo(LOCALE_ITIME) == "0"; }

int TWin32Locale::CompareText(const std::string& a, const std::string& b) {
  const std::wstring wa = Utf8ToWide(a), wb = Utf8ToWide(b);
  // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3; 0 is a failure.
  const int result =
      CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(), -1, wb.c_str(), -1);
  return result == 0 ? a.compare(b) : result - CSTR_EQUAL;
}

std::string ProgramFilePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) return WideToUtf8({path.data(), n});
    path.resize(path.size() * 2);
  }
}

std::string AnsiToUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return WideToUtf8(wide);
}

bool LayeredWindowsSupported() {
  static const bool supported = [] {
    const HMODULE user32 = GetModuleHandleW(L"USER32");
    return user32 && GetProcAddress(user32, "SetLayeredWindowAttributes") != nullptr;
  }();
  return supported;
}

bool RunCommandLine(const std::string& command) {
  std::wstring line = Utf8ToWide(command);
  if (line.empty()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  // The command line buffer may be written to by the call.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void InstallWin32Platform() {
  static TWin32Clock clock;
  static TWin32Desktop desktop;
  static TWin32Sound sound;
  static TWin32Locale locale;
  TPlatform& p = Platform();
  p.clock = &clock;
  p.desktop = &desktop;
  p.sound = &sound;
  p.locale = &locale;
  p.programFile = ProgramFilePath();
  p.ansiToUtf8 = AnsiToUtf8;
  p.zoneTime = SystemZoneTime;
  p.layeredWindows = LayeredWindowsSupported();
  p.newBitmap = [] { return std::make_unique<TGdiBitmap>(); };
  p.runCommand = RunCommandLine;
  // A program without a console: its notes go to the debugger output.
  SetReportWriter([](const std::string& text) { OutputDebugStringA(text.c_str()); });
}
