#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/uCanvas.h"
#include "support/uClock.h"
#include "support/uDateTime.h"
#include "support/uDesktop.h"
#include "support/uLocale.h"
#include "support/uSound.h"

// The operating-system services the core reaches. The program installs the
// Win32 ones at start-up; tests install their doubles.

struct TPlatform {
  TClock* clock = nullptr;
  TDesktop* desktop = nullptr;
  TSound* sound = nullptr;
  TLocale* locale = nullptr;
  // Whether windows can be alpha-blended on this system.
  bool layeredWindows = true;
  // Full path of the running program file, UTF-8.
  std::string programFile;
  // The system's own conversion of a UTC time into a zone's local time, when it has one.
  std::function<std::optional<TSystemTime>(const TTimeZoneInformation&, const TSystemTime&)>
      zoneTime;
  // Text in the system's 8-bit code page, as UTF-8; Latin-1 when not set.
  std::function<std::string(std::string_view)> ansiToUtf8;
  std::function<std::unique_ptr<TBitmap32>()> newBitmap;
  // Starts a command line without waiting for it; false when it could not be started.
  std::function<bool(const std::string&)> runCommand;
};

TPlatform& Platform();

// The platform clock's local time as a date-time.
TDateTime LocalDateTimeNow();
