#pragma once

#include <string>

#include "support/uDateTime.h"

// Flags of the locale's time formatting; the values are the platform's.
namespace TimeFlags {
constexpr unsigned NoMinutesOrSeconds = 1;
constexpr unsigned NoSeconds = 2;
constexpr unsigned NoTimeMarker = 4;
constexpr unsigned Force24Hour = 8;
}  // namespace TimeFlags

// The user's locale settings.
class TLocale {
 public:
  virtual ~TLocale() = default;
  // day: 0 Monday .. 6 Sunday.
  virtual std::string DayName(int day, bool abbreviated) = 0;
  // month: 1 .. 12.
  virtual std::string MonthName(int month, bool abbreviated) = 0;
  virtual std::string FormatDate(const TSystemTime& time, bool longDate) = 0;
  virtual std::string FormatTime(const TSystemTime& time, unsigned timeFlags) = 0;
  virtual std::string TimeMarker(bool pm) = 0;
  // The locale shows times in 12-hour form.
  virtual bool TwelveHour() = 0;
  // Below, at or above 0 as a reader of the locale orders the two texts:
  // letter case ignored, accented letters beside their base letters.
  virtual int CompareText(const std::string& a, const std::string& b) = 0;
};
