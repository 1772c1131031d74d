#include "support/uDateTime.h"

#include <cmath>

std::int32_t DaysFromCivil(int year, unsigned month, unsigned day) {
  // Civil-from-days inverse on a March-based year, exact for every Gregorian date.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);                           // [0, 399]
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // [0, 365]
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
  const std::int32_t daysFromUnixEpoch = era * 146097 + static_cast<std::int32_t>(doe) - 719468;
  constexpr std::int32_t kUnixEpochFrom1899 = 25569;
  return daysFromUnixEpoch + kUnixEpochFrom1899;
}

TDateTime SystemTimeToDateTime(const TSystemTime& st) {
  const double msOfDay =
      ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond) * 1000.0 + st.wMilliseconds;
  return DaysFromCivil(st.wYear, st.wMonth, st.wDay) + msOfDay / 86400000.0;
}

TCivilDate CivilFromDays(std::int32_t days) {
  const std::int32_t z = days - 25569 + 719468;  // days from 0000-03-01
  const std::int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);                // [0, 146096]
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const unsigned mp = (5 * doy + 2) / 153;                                     // [0, 11]
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;                           // [1, 31]
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;                            // [1, 12]
  const int year = static_cast<int>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(int year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[(month - 1) % 12];
}

unsigned WeekdayOfDays(std::int32_t days) {
  // 1899-12-30 was a Saturday.
  const std::int32_t w = (days + 6) % 7;
  return static_cast<unsigned>(w < 0 ? w + 7 : w);
}

TDateTime TimeOfDay(TDateTime value) { return value - std::floor(value); }

bool IsDateTimeInRange(TDateTime value) {
  // std::isfinite is implied: NaN fails both comparisons.
  return value >= DaysFromCivil(1, 1, 1) && value < DaysFromCivil(10000, 1, 1);
}

std::int64_t DateTimeToMilliseconds(TDateTime value) {
  return static_cast<std::int64_t>(std::nearbyint(value * 86400000.0));
}

std::int64_t NextWholeSecond(std::int64_t ms) {
  return (ms / 1000 - (ms % 1000 < 0 ? 1 : 0) + 1) * 1000;
}

TSystemTime DateTimeToSystemTime(TDateTime value) {
  std::int64_t ms = DateTimeToMilliseconds(value);
  std::int64_t days = ms / 86400000;
  ms %= 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  const TCivilDate date = CivilFromDays(static_cast<std::int32_t>(days));
  TSystemTime st;
  st.wYear = static_cast<std::uint16_t>(date.year);
  st.wMonth = static_cast<std::uint16_t>(date.month);
  st.wDay = static_cast<std::uint16_t>(date.day);
  st.wDayOfWeek = static_cast<std::uint16_t>(WeekdayOfDays(static_cast<std::int32_t>(days)));
  st.wHour = static_cast<std::uint16_t>(ms / 3600000);
  st.wMinute = static_cast<std::uint16_t>(ms / 60000 % 60);
  st.wSecond = static_cast<std::uint16_t>(ms / 1000 % 60);
  st.wMilliseconds = static_cast<std::uint16_t>(ms % 1000);
  return st;
}
