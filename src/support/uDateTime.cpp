#include "support/uDateTime.h"

std::int32_t DaysFromCivil(int year, unsigned month, unsigned day) {
  // Civil-from-days inverse on a March-based year, exact for every Gregorian date.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);                    // [0, 399]
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // [0, 365]
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                   // [0, 146096]
  const std::int32_t daysFromUnixEpoch = era * 146097 + static_cast<std::int32_t>(doe) - 719468;
  constexpr std::int32_t kUnixEpochFrom1899 = 25569;
  return daysFromUnixEpoch + kUnixEpochFrom1899;
}

TDateTime SystemTimeToDateTime(const TSystemTime& st) {
  const double msOfDay =
      ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond) * 1000.0 + st.wMilliseconds;
  return DaysFromCivil(st.wYear, st.wMonth, st.wDay) + msOfDay / 86400000.0;
}
