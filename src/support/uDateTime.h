#pragma once

#include <cstdint>

// The platform's broken-down time record (same fields and order as SYSTEMTIME).
struct TSystemTime {
  std::uint16_t wYear = 0;
  std::uint16_t wMonth = 0;      // [1, 12]
  std::uint16_t wDayOfWeek = 0;  // [0, 6], 0 = Sunday
  std::uint16_t wDay = 0;        // [1, 31]
  std::uint16_t wHour = 0;
  std::uint16_t wMinute = 0;
  std::uint16_t wSecond = 0;
  std::uint16_t wMilliseconds = 0;
};

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
std::int32_t DaysFromCivil(int year, unsigned month, unsigned day);
TDateTime SystemTimeToDateTime(const TSystemTime& st);

// The civil date of a day count from 1899-12-30.
struct TCivilDate {
  int year;
  unsigned month;  // [1, 12]
  unsigned day;    // [1, 31]
};
TCivilDate CivilFromDays(std::int32_t days);
bool IsLeapYear(int year);
unsigned DaysInMonth(int year, unsigned month);
// 0 Sunday .. 6 Saturday.
unsigned WeekdayOfDays(std::int32_t days);
// The fraction of a date-time: its time of day.
TDateTime TimeOfDay(TDateTime value);
// Finite and within the years 1 to 9999, which every routine here handles.
bool IsDateTimeInRange(TDateTime value);
// Whole milliseconds since 1899-12-30 (negative before), rounded once; only for
// a date-time in range.
std::int64_t DateTimeToMilliseconds(TDateTime value);
// The first whole second after a count of milliseconds.
std::int64_t NextWholeSecond(std::int64_t ms);
// Splits a date-time into its record, rounded once to the whole millisecond.
TSystemTime DateTimeToSystemTime(TDateTime value);

// The platform's TIME_ZONE_INFORMATION record, field for field.
struct TTimeZoneInformation {
  std::int32_t Bias = 0;  // minutes west of UTC
  char16_t StandardName[32] = {};
  TSystemTime StandardDate;  // when daylight time ends (local daylight time)
  std::int32_t StandardBias = 0;
  char16_t DaylightName[32] = {};
  TSystemTime DaylightDate;  // when daylight time begins (local standard time)
  std::int32_t DaylightBias = 0;
};
static_assert(sizeof(TTimeZoneInformation) == 172);
