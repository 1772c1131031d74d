#pragma once

#include <cstdint>

#include "support/uDateTime.h"

// When an event is due and how it repeats. Weekdays are numbered 0 Monday to 6 Sunday.
struct TEventRule {
  static constexpr std::uint8_t AllDays = 0x7F;
  enum TRepeat : std::uint8_t { rpOnce = 0, rpDaily = 1, rpWeekly = 2, rpMonthly = 3 };
  // How far a repeating rule looks for its next occurrence: today and eight more days reach
  // today's weekday next week; fourteen months reach any day of the month that exists.
  static constexpr int SearchDays = 9;
  static constexpr int SearchMonths = 14;

  std::uint8_t Repeat = rpOnce;
  std::uint8_t RepeatDaily = AllDays;  // bit n: weekday n
  std::uint8_t RepeatWeekly = 0;       // a weekday
  std::uint8_t RepeatMonthly = 1;      // a day of the month; months too short for it are skipped
  // Every occurrence keeps its time of day.
  TDateTime Trigger = 0;
};

// The rule moved on to its first occurrence later than after. A daily rule without days
// repeats on Mondays. A rule that finds none within its reach (a damaged weekday or day of the
// month) becomes a one-shot rule due at after. A one-shot rule, or one of an unknown kind,
// comes back as it is.
TEventRule NextOccurrence(const TEventRule& rule, TDateTime after);

// A rule due by now moved on to its last occurrence not later than now, so that a machine that
// slept through several occurrences hears of the latest once. Looks at most a little over a
// year of daily occurrences ahead.
TEventRule LatestOccurrence(const TEventRule& rule, TDateTime now);

// a is later than b by at least a millisecond; closer values count as equal.
bool IsLater(TDateTime a, TDateTime b);
// 0 Monday .. 6 Sunday.
unsigned IsoWeekday(TDateTime t);
