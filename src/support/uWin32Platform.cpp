#include "support/uWin32Platform.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "display/fDisplay.h"
#include "support/uGdiCanvas.h"
#include "support/uPlatform.h"
#include "support/uWin32Tools.h"
#include "timezones/uTimeZones.h"

static_assert(sizeof(TSystemTime) == sizeof(SYSTEMTIME));
static_assert(sizeof(TTimeZoneInformation) == sizeof(TIME_ZONE_INFORMATION));
static_assert(offsetof(TTimeZoneInformation, DaylightBias) ==
              offsetof(TIME_ZONE_INFORMATION, DaylightBias));

TSystemTime FromSYSTEMTIME(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay,
          st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

SYSTEMTIME ToSYSTEMTIME(const TSystemTime& t) {
  return {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

namespace {

std::optional<TSystemTime> SystemZoneTime(const TTimeZoneInformation& zone, const TSystemTime& utc) {
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
  const HMONITOR monitor = ::MonitorFromRect(&rc, nearest ? MONITOR_DEFAULTTONEAREST
                                                          : MONITOR_DEFAULTTONULL);
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

TPoint TWin32Desktop::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

bool TWin32Desktop::IsShiftDown() { return GetAsyncKeyState(VK_SHIFT) < 0; }

bool TWin32Desktop::IsPrimaryButtonDown() {
  return GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
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
  if (const HDC screen = GetDC(nullptr)) {
    p.pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  p.layeredWindows = LayeredWindowsSupported();
  p.newBitmap = [] { return std::make_unique<TGdiBitmap>(); };
  p.newDisplayWindow = [](TDisplay& display) { return std::make_unique<TfrmDisplay>(display); };
}
