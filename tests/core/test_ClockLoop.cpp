#include <gtest/gtest.h>

#include "app/uClockLoop.h"

namespace {

TSystemTime At(int day, int hour, int minute, int second, int ms = 0) {
  return {2026,
          12,
          0,
          static_cast<std::uint16_t>(day),
          static_cast<std::uint16_t>(hour),
          static_cast<std::uint16_t>(minute),
          static_cast<std::uint16_t>(second),
          static_cast<std::uint16_t>(ms)};
}

TEST(ClockLoop, FirstTickReportsEverythingChanged) {
  TClockLoop loop;
  const auto t = loop.Advance(At(6, 0, 0, 0));
  ASSERT_TRUE(t);
  EXPECT_TRUE(t->hourChanged);
  EXPECT_TRUE(t->minuteChanged);
  EXPECT_TRUE(t->secondChanged);
  EXPECT_EQ(t->second, 0);
}

TEST(ClockLoop, SameSecondDoesNoWorkAndNextSecondReportsOnlyTheSecond) {
  TClockLoop loop;
  ASSERT_TRUE(loop.Advance(At(6, 9, 30, 15, 100)));
  EXPECT_FALSE(loop.Advance(At(6, 9, 30, 15, 300)));
  EXPECT_FALSE(loop.Advance(At(6, 9, 30, 15, 999)));
  const auto t = loop.Advance(At(6, 9, 30, 16, 100));
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->hourChanged);
  EXPECT_FALSE(t->minuteChanged);
  EXPECT_TRUE(t->secondChanged);
  EXPECT_EQ(t->second, 16);
}

TEST(ClockLoop, ChangedDayWithSameTimeStillTicks) {
  // The user sets the clock back a day: hour, minute and second repeat.
  TClockLoop loop;
  loop.Advance(At(6, 9, 30, 15));
  const auto t = loop.Advance(At(5, 9, 30, 15));
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->hourChanged);
  EXPECT_FALSE(t->minuteChanged);
  EXPECT_FALSE(t->secondChanged);
  EXPECT_FALSE(loop.Advance(At(5, 9, 30, 15)));
}

TEST(ClockLoop, TopmostRefreshEveryFifthEffectiveTick) {
  TClockLoop loop;
  std::vector<bool> due;
  for (int i = 0; i < 11; ++i) due.push_back(loop.TopmostRefreshDue());
  const std::vector<bool> expected{false, false, false, false, true, false,
                                   false, false, false, true,  false};
  EXPECT_EQ(due, expected);
}

TEST(DateTime, DayCountsMatchTheStoredEpoch) {
  EXPECT_EQ(DaysFromCivil(1899, 12, 30), 0);
  EXPECT_EQ(DaysFromCivil(1900, 1, 1), 2);
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 25569);
  EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);  // leap year
  EXPECT_EQ(DaysFromCivil(2100, 3, 1) - DaysFromCivil(2100, 2, 28), 1);  // not a leap year
  EXPECT_DOUBLE_EQ(SystemTimeToDateTime(At(6, 12, 0, 0)), DaysFromCivil(2026, 12, 6) + 0.5);
}

}  // namespace
