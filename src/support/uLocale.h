#pragma once

#include <string>

// The user's locale settings.
class TLocale {
 public:
  virtual ~TLocale() = default;
  // day: 0 Monday .. 6 Sunday.
  virtual std::string DayName(int day, bool abbreviated) = 0;
};
