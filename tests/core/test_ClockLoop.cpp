#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/uClockLoop.h"

namespace {

TEST(ClockLoop, OneTickPerSecondOfLocalTimeWithWhatChanged) {
  struct Step {
    int day, hour, minute, second, ms;
    bool ticks, hourChanged, minuteChanged, secondChanged;
  };
  const Step steps[] = {
      {6, 9, 30, 15, 100, true, true, true, true},  // the first tick: everything changed
      {6, 9, 30, 15, 300, false},                   // the same second: no work
      {6, 9, 30, 15, 999, false},
      {6, 9, 30, 16, 100, true, false, false, true},
      {6, 9, 31, 16, 0, true, false, true, false},
      {6, 10, 31, 16, 0, true, true, false, false},
      // The user sets the clock back a day: hour, minute and second repeat.
      {5, 10, 31, 16, 0, true, false, false, false},
      {5, 10, 31, 16, 0, false},
  };
  TClockLoop loop;
  for (const Step& s : steps) {
    const TSystemTime now{2026,
                          12,
                          0,
                          static_cast<std::uint16_t>(s.day),
                          static_cast<std::uint16_t>(s.hour),
                          static_cast<std::uint16_t>(s.minute),
                          static_cast<std::uint16_t>(s.second),
                          static_cast<std::uint16_t>(s.ms)};
    const auto t = loop.Advance(now);
    const std::string at = std::to_string(s.day) + " " + std::to_string(s.hour) + ":" +
                           std::to_string(s.minute) + ":" + std::to_string(s.second);
    ASSERT_EQ(t.has_value(), s.ticks) << at;
    if (!t) continue;
    EXPECT_EQ(t->hourChanged, s.hourChanged) << at;
    EXPECT_EQ(t->minuteChanged, s.minuteChanged) << at;
    EXPECT_EQ(t->secondChanged, s.secondChanged) << at;
    EXPECT_EQ(t->second, s.second) << at;
  }
  // The topmost refresh comes on every fifth effective tick.
  std::vector<bool> due;
  for (int i = 0; i < 11; ++i) due.push_back(loop.TopmostRefreshDue());
  EXPECT_EQ(due, (std::vector<bool>{false, false, false, false, true, false, false, false, false,
                                    true, false}));
}

}  // namespace
