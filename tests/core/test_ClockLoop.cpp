#include <gtest/gtest.h>

#include <string>

#include "app/uClockLoop.h"

namespace {

TEST(ClockLoop, OneTickPerSecondOfLocalTimeWithWhatChanged) {
  // What a tick reports changed: "hms" for hour, minute, second; nullptr for no tick at all.
  const struct {
    std::uint16_t day, hour, minute, second, ms;
    const char* changed;
  } steps[] = {
      {6, 9, 30, 15, 100, "hms"},    // the first tick: everything changed
      {6, 9, 30, 15, 300, nullptr},  // the same second: no work
      {6, 9, 30, 15, 999, nullptr}, {6, 9, 30, 16, 100, "..s"}, {6, 9, 31, 16, 0, ".m."},
      {6, 10, 31, 16, 0, "h.."},    {5, 10, 31, 16, 0, "..."},  // the clock set back a day
      {5, 10, 31, 16, 0, nullptr},
  };
  TClockLoop loop;
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << &s - steps);
    const auto t = loop.Advance({2026, 12, 0, s.day, s.hour, s.minute, s.second, s.ms});
    ASSERT_EQ(t.has_value(), s.changed != nullptr);
    if (!t) continue;
    const char changed[] = {t->hourChanged ? 'h' : '.', t->minuteChanged ? 'm' : '.',
                            t->secondChanged ? 's' : '.', '\0'};
    EXPECT_STREQ(changed, s.changed);
    EXPECT_EQ(t->second, s.second);
  }
  // The topmost refresh comes on every fifth effective tick.
  std::string due;
  for (int i = 0; i < 11; ++i) due += loop.TopmostRefreshDue() ? '!' : '.';
  EXPECT_EQ(due, "....!....!.");
  // Events: on a new minute while idle; one missed while busy at the first idle tick.
  const struct {
    bool minuteChanged, idle, checked;
  } ticks[] = {{true, true, true},    {false, true, false}, {true, false, false},
               {false, false, false}, {false, true, true},  {false, true, false}};
  for (const auto& t : ticks)
    EXPECT_EQ(loop.EventCheckDue(t.minuteChanged, t.idle), t.checked) << &t - ticks;
}

}  // namespace
