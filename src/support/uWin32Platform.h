#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "support/uClock.h"
#include "support/uDesktop.h"
#include "support/uLocale.h"
#include "support/uSound.h"

// The core's time record and the platform's are the same fields in the same order.
TSystemTime FromSYSTEMTIME(const SYSTEMTIME& st);
SYSTEMTIME ToSYSTEMTIME(const TSystemTime& t);

class TWin32Clock : public TClock {
 public:
  TSystemTime UtcNow() override;
  TSystemTime LocalNow() override;
  std::uint32_t TickCount() override;
};

class TWin32Desktop : public TDesktop {
 public:
  std::optional<TRect> MonitorFromRect(const TRect& r, bool nearest) override;
  TRect WorkAreaNear(TPoint p) override;
  std::vector<TMonitor> Monitors() override;
  int DpiAt(TPoint p) override;
  TPoint CursorPos() override;
  bool IsShiftDown() override;
  bool IsPrimaryButtonDown() override;
};

// winmm's wave player.
class TWin32Sound : public TSound {
 public:
  bool PlayAsync(const std::string& file, bool loop) override;
  bool PlaySync(const std::string& file) override;
  void Purge() override;
};

// The user's locale settings.
class TWin32Locale : public TLocale {
 public:
  std::string DayName(int day, bool abbreviated) override;
  std::string MonthName(int month, bool abbreviated) override;
  std::string FormatDate(const TSystemTime& time, bool longDate) override;
  std::string FormatTime(const TSystemTime& time, unsigned timeFlags) override;
  std::string TimeMarker(bool pm) override;
  bool TwelveHour() override;
  int CompareText(const std::string& a, const std::string& b) override;
};

std::string ProgramFilePath();
// Whether the system offers layered windows (looked up once).
bool LayeredWindowsSupported();
// Text in the system's 8-bit code page, as UTF-8.
std::string AnsiToUtf8(std::string_view text);

// Starts a command line (a program and its arguments) without waiting for it,
// shown normally; false when it could not be started.
bool RunCommandLine(const std::string& command);

// Installs the Win32 clock, desktop, sound, locale and bitmaps as the core's
// platform. The windows the core owns are installed by the program itself.
void InstallWin32Platform();
