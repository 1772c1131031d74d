#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>

#include "app/uClockLoop.h"
#include "config/uRegistryPaths.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "events/uEventForm.h"
#include "events/uEventRule.h"
#include "events/uEvents.h"
#include "kinds/uDisplayKinds.h"
#include "support/uTestPlatform.h"
#include "support/uTools.h"

namespace {

TSystemTime Moment(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) {
  const auto w = [](int v) { return static_cast<std::uint16_t>(v); };
  return {w(year), w(month), 0, w(day), w(hour), w(minute), w(second), w(ms)};
}

TDateTime At(int year, int month, int day, int hour, int minute) {
  return SystemTimeToDateTime(Moment(year, month, day, hour, minute));
}

std::string Text(TDateTime t) {
  const TSystemTime s = DateTimeToSystemTime(t);
  char text[64];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d.%03d", s.wYear, s.wMonth, s.wDay,
                s.wHour, s.wMinute, s.wSecond, s.wMilliseconds);
  return text;
}

// The schedule in one line: trigger to the minute, repeat/days/weekday/day of month, message.
std::string Schedule(const TEvent& e) {
  return Text(e.Trigger()).substr(0, 16) + " " + std::to_string(e.Repeat) + "/" +
         std::to_string(e.RepeatDaily) + "/" + std::to_string(e.RepeatWeekly) + "/" +
         std::to_string(e.RepeatMonthly) + " " + e.Message;
}

TFakeNotifyWindow* WindowOf(const TEvent& event) {
  return static_cast<TFakeNotifyWindow*>(event.NotifyWindow());
}

class EventTest : public ::testing::Test {
 protected:
  void SetNow(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) {
    platform.clock.local = Moment(year, month, day, hour, minute, second, ms);
  }
  std::string Wave() { return TestFile("event.wav"); }
  TTestPlatform platform;
  TDisplayList displays{CreateDisplay};
};

TEST_F(EventTest, NextOccurrenceAtTheEdgesAndHowEachRecurrenceReads) {
  struct Case {
    const char* what;
    TSystemTime now;
    std::uint8_t repeat, day;  // day: the days, weekday or day of month the recurrence uses
    bool expire;
    const char* expected;
    std::uint8_t state;
    const char* describe;
  };
  const Case cases[] = {
      {"every day, a millisecond before", Moment(2026, 12, 7, 7, 59, 59, 999), 1, 0x7F, false,
       "2026-12-07 08:00:00.000", TEvent::stWaiting, "D: every day"},
      {"every day, at the very minute", Moment(2026, 12, 7, 8, 0), 1, 0x7F, true,
       "2026-12-08 08:00:00.000", TEvent::stWaiting, "D: every day"},
      {"Mon, Wed, Fri from Friday after", Moment(2026, 12, 11, 9, 0), 1, 0x15, false,
       "2026-12-14 08:00:00.000", TEvent::stWaiting, "D: Mon, Wed, Fri"},
      {"Sundays only, on a Sunday after", Moment(2026, 12, 6, 9, 0), 1, 0x40, false,
       "2026-12-13 08:00:00.000", TEvent::stWaiting, "D: Sun"},
      {"Mondays and the unused bit", Moment(2026, 12, 7, 9, 0), 1, 0x81, false,
       "2026-12-14 08:00:00.000", TEvent::stWaiting, "D: Mon"},
      {"weekly on Friday", Moment(2026, 12, 7, 9, 0), 2, 4, false, "2026-12-11 08:00:00.000",
       TEvent::stWaiting, "W: Friday"},
      {"day 29 in a leap year", Moment(2028, 2, 1, 0, 0), 3, 29, false, "2028-02-29 08:00:00.000",
       TEvent::stWaiting, "M: every 29. day of a month"},
      {"a past one-shot keeps its time", Moment(2026, 12, 7, 9, 30), 0, 0, false,
       "2026-12-07 08:00:00.000", TEvent::stSnoozed, ""},
      {"a one-shot due this minute expires", Moment(2026, 12, 7, 8, 0), 0, 0, true,
       "2026-12-07 08:00:00.000", TEvent::stDone, ""},
      {"a one-shot a minute ahead stays", Moment(2026, 12, 7, 7, 59), 0, 0, true,
       "2026-12-07 08:00:00.000", TEvent::stSnoozed, ""},
      {"far past", Moment(1, 1, 1, 9, 0), 1, 0x7F, false, "0001-01-02 08:00:00.000",
       TEvent::stWaiting, "D: every day"},
      {"far future", Moment(9999, 12, 20, 9, 0), 2, 4, false, "9999-12-24 08:00:00.000",
       TEvent::stWaiting, "W: Friday"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.clock.local = c.now;
    TEvent event(LocalDateTimeNow());
    event.Repeat = c.repeat;
    (c.repeat == 1   ? event.RepeatDaily
     : c.repeat == 2 ? event.RepeatWeekly
                     : event.RepeatMonthly) = c.day;
    event.SetTrigger(At(2026, 12, 7, 8, 0));
    event.State = TEvent::stSnoozed;
    event.UpdateTrigger(LocalDateTimeNow(), c.expire, false);
    EXPECT_EQ(Text(event.Trigger()), c.expected);
    EXPECT_EQ(event.State, c.state);
    EXPECT_EQ(event.Describe(), c.describe);
  }
}

// The first moment strictly after now at the event's time of day on one of its days,
// found by trying each day in turn; none for a damaged weekday or day of the month.
std::optional<std::int64_t> NextByDays(const TEvent& event, std::uint8_t days, std::int64_t nowMs) {
  const std::int64_t time = DateTimeToMilliseconds(event.Trigger()) % 86400000;
  for (std::int64_t day = nowMs / 86400000; day < nowMs / 86400000 + 400; ++day) {
    const auto d = static_cast<std::int32_t>(day);
    const unsigned weekday = (WeekdayOfDays(d) + 6) % 7;
    const bool matches = event.Repeat == 1   ? (days >> weekday & 1) != 0
                         : event.Repeat == 2 ? weekday == event.RepeatWeekly
                                             : CivilFromDays(d).day == event.RepeatMonthly;
    if (matches && day * 86400000 + time > nowMs) return day * 86400000 + time;
  }
  return std::nullopt;
}

TEST_F(EventTest, NextOccurrenceAgreesWithTryingEachDay) {
  std::mt19937 random(20261206);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int n = 0; n < 400; ++n) {
    const std::int64_t nowMs =
        static_cast<std::int64_t>(DaysFromCivil(2026, 1, 1) + pick(0, 3652)) * 86400000 +
        pick(0, 86399999);
    platform.clock.local = DateTimeToSystemTime(static_cast<double>(nowMs) / 86400000.0);
    TEvent event(LocalDateTimeNow());
    event.Repeat = static_cast<std::uint8_t>(pick(1, 3));
    // Now and then no day at all (Monday, then), or a damaged day, for which none exists.
    event.RepeatDaily =
        static_cast<std::uint8_t>(pick(0, 9) == 0 ? pick(0, 1) * 0x80 : pick(1, 255));
    event.RepeatWeekly = static_cast<std::uint8_t>(pick(0, 20) == 0 ? pick(7, 255) : pick(0, 6));
    event.RepeatMonthly = static_cast<std::uint8_t>(pick(0, 20) == 0 ? pick(32, 255) : pick(1, 31));
    event.SetTrigger(At(2020, 1, 1, pick(0, 23), pick(0, 59)));
    event.State = TEvent::stSnoozed;
    const std::uint8_t repeat = event.Repeat;
    const std::uint8_t days = (event.RepeatDaily & 0x7F) == 0 ? 1 : event.RepeatDaily;
    const std::optional<std::int64_t> expected = NextByDays(event, days, nowMs);
    SCOPED_TRACE(Schedule(event) + " at " + Text(static_cast<double>(nowMs) / 86400000.0));
    event.UpdateTrigger(LocalDateTimeNow(), false, false);
    EXPECT_EQ(DateTimeToMilliseconds(event.Trigger()), expected.value_or(nowMs / 60000 * 60000));
    EXPECT_EQ(event.Repeat, expected ? repeat : 0);
    EXPECT_EQ(event.State, TEvent::stWaiting);
    if (repeat == 1) {
      EXPECT_EQ(event.RepeatDaily, days);
    }
  }
}

TEST_F(EventTest, FiringTakesTheActionsAndShowsTheWindowAsTheModeSays) {
  enum { kOff, kWorks, kFails };  // a sound or a command
  struct Case {
    const char* what;
    std::int32_t mode;
    bool flash, primaryActive;
    int sound, command;
    bool appears, flashing;
  };
  const Case cases[] = {
      {"mode 1 shows at once", 1, true, true, kOff, kOff, true, true},
      {"mode 0 waits for a click", 0, true, true, kOff, kOff, false, true},
      {"mode 0, primary switched off", 0, true, false, kOff, kOff, true, false},
      {"mode 2, a sound played", 2, false, true, kWorks, kOff, false, false},
      {"mode 2, the sound is missing", 2, false, true, kFails, kOff, true, false},
      {"mode 0, the command started", 0, false, true, kOff, kWorks, false, false},
      {"mode 0, the command failed", 0, false, true, kOff, kFails, true, false},
      {"mode 0, nothing switched on", 0, false, true, kOff, kOff, true, false},
  };
  const std::string wave = Wave();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTestPlatform fresh;
    TDisplayList list{CreateDisplay};
    list.Primary = list.Add(dkDigitalClock);
    list.Primary->SetActive(c.primaryActive);
    if (c.primaryActive) list.Primary->Hide();  // merely hidden: the flash shows it
    TEvent event(LocalDateTimeNow(), &list);
    event.ActionShowMessage = c.mode;
    event.ActionFlashDisplay = c.flash;
    event.ActionPlaySound = c.sound != kOff;
    event.Sound = c.sound == kWorks ? wave : wave + ".missing";
    event.SoundLoop = true;
    event.ActionExecuteCommand = c.command != kOff;
    event.Command = "notepad.exe C:\\notes.txt";
    event.FlashFill = 0x123456;
    fresh.commandsStart = c.command == kWorks;
    event.Check(LocalDateTimeNow());
    ASSERT_NE(WindowOf(event), nullptr);
    EXPECT_EQ(WindowOf(event)->shown, c.appears ? "without activation" : "");
    EXPECT_EQ(list.Primary->Flashing(), c.flashing);
    if (c.flashing) {
      EXPECT_TRUE(list.Primary->IsVisible());
      EXPECT_EQ(list.Primary->FlashFillColor, 0x123456u);
    }
    EXPECT_EQ(fresh.sound.played,
              c.sound == kWorks ? std::vector{wave + " (loop)"} : std::vector<std::string>{});
    EXPECT_EQ(fresh.commands.size(), c.command == kOff ? 0u : 1u);
  }
  std::filesystem::remove(wave);
}

TEST_F(EventTest, AFiredEventWaitsForItsAnswerAndThenMovesOn) {
  SetNow(2026, 12, 7, 8, 0, 0, 150);
  TEvent once(LocalDateTimeNow(), &displays), daily(LocalDateTimeNow(), &displays);
  once.SetTrigger(At(2026, 12, 7, 8, 0));
  daily.SetTrigger(At(2026, 12, 7, 8, 0));
  daily.Repeat = TEvent::rpDaily;
  // Not due a millisecond before its minute.
  once.Check(At(2026, 12, 7, 8, 0) - 1.0 / 86400000 * 1.5);
  EXPECT_EQ(once.NotifyWindow(), nullptr);
  once.Check(LocalDateTimeNow());
  daily.Check(LocalDateTimeNow());
  ASSERT_NE(once.NotifyWindow(), nullptr);
  // While pending nothing fires again, not even a snooze past its time.
  once.Check(LocalDateTimeNow() + 1);
  daily.State = TEvent::stSnoozed;
  daily.SnoozeTime = 0;
  daily.Check(LocalDateTimeNow() + 1);
  EXPECT_EQ(platform.notifyWindowsMade, 2);
  daily.State = TEvent::stWaiting;

  SetNow(2026, 12, 7, 8, 5);
  WindowOf(once)->CloseByUser();  // as OK: acknowledged
  EXPECT_EQ(once.NotifyWindow(), nullptr);
  EXPECT_EQ(once.State, TEvent::stDone);
  once.Check(LocalDateTimeNow() + 400);
  EXPECT_EQ(platform.notifyWindowsMade, 2);

  daily.Dismiss();
  daily.NotifyWindowDestroyed();
  EXPECT_EQ(Text(daily.Trigger()), "2026-12-08 08:00:00.000");
  EXPECT_EQ(daily.State, TEvent::stWaiting);

  // Later: snoozed from the start of the current minute.
  SetNow(2026, 12, 8, 8, 0, 42);
  daily.Check(LocalDateTimeNow());
  const int purgesBeforeSnooze = platform.sound.purges;
  daily.RemindLater(5);
  EXPECT_EQ(platform.sound.purges, purgesBeforeSnooze + 1);  // snoozing silences it
  daily.NotifyWindowDestroyed();
  EXPECT_EQ(daily.State, TEvent::stSnoozed);
  EXPECT_EQ(Text(daily.SnoozeTime), "2026-12-08 08:05:00.000");
  daily.Check(At(2026, 12, 8, 8, 4) + 59.0 / 86400);
  EXPECT_EQ(daily.NotifyWindow(), nullptr);
  daily.Check(At(2026, 12, 8, 8, 5));
  EXPECT_NE(daily.NotifyWindow(), nullptr);

  // Closed without an answer (switched off, say): a one-shot stays due.
  TEvent again(LocalDateTimeNow(), &displays);
  again.SetTrigger(At(2026, 12, 8, 7, 0));
  again.Check(LocalDateTimeNow());
  again.CloseNotification();
  EXPECT_EQ(again.State, TEvent::stWaiting);
  again.Check(LocalDateTimeNow());
  EXPECT_NE(again.NotifyWindow(), nullptr);
  const int purgesBefore = platform.sound.purges;
  again.SetActive(false);
  EXPECT_EQ(again.NotifyWindow(), nullptr);
  EXPECT_EQ(platform.sound.purges, purgesBefore + 1);
  again.Check(LocalDateTimeNow());
  EXPECT_EQ(again.NotifyWindow(), nullptr);
}

TEST_F(EventTest, OneAnswerSilencesEveryEventAndClicksShowOrAcknowledge) {
  const std::string wave = Wave();
  displays.Primary = displays.Add(dkDigitalClock);
  displays.Primary->SetActive(true);
  TEvents events(&displays);
  TEvent& sounding = events.Add();
  sounding.ActionPlaySound = true;
  sounding.Sound = wave;
  sounding.SoundLoop = true;
  sounding.ActionFlashDisplay = false;
  sounding.ActionShowMessage = TEvent::smOnClick;
  TEvent& flashing = events.Add();
  flashing.ActionShowMessage = TEvent::smNever;
  events.Add().SetTrigger(LocalDateTimeNow() + 1);  // not due
  events.CheckAll();
  ASSERT_NE(sounding.NotifyWindow(), nullptr);
  ASSERT_NE(flashing.NotifyWindow(), nullptr);
  EXPECT_EQ(events[2].NotifyWindow(), nullptr);
  EXPECT_TRUE(displays.Primary->Flashing());

  // A click: mode 0 appears activated, mode 2 is acknowledged unseen.
  events.ShowNotifications();
  EXPECT_EQ(WindowOf(sounding)->shown, "activated");
  EXPECT_EQ(flashing.NotifyWindow(), nullptr);
  EXPECT_EQ(flashing.State, TEvent::stDone);
  EXPECT_FALSE(displays.Primary->Flashing());

  flashing.State = TEvent::stWaiting;
  events.CheckAll();
  ASSERT_TRUE(displays.Primary->Flashing());
  const int purgesBefore = platform.sound.purges;
  WindowOf(sounding)->CloseByUser();
  EXPECT_EQ(platform.sound.purges, purgesBefore + 1);
  EXPECT_FALSE(displays.Primary->Flashing());
  EXPECT_NE(flashing.NotifyWindow(), nullptr);  // its own window stays
  // A change of the system time closes it unanswered.
  events.UpdateAll();
  EXPECT_EQ(flashing.NotifyWindow(), nullptr);
  EXPECT_EQ(flashing.State, TEvent::stWaiting);
  std::filesystem::remove(wave);
}

// The clock loop's part of the events: one check per new minute.
struct TLoop {
  TTestPlatform& platform;
  TEvents& events;
  TClockLoop loop;
  int fired = 0;
  std::vector<std::string> notices;
  void Tick(const TSystemTime& at) {
    platform.clock.local = at;
    const auto changes = loop.Advance(at);
    if (!changes || !changes->minuteChanged) return;
    const int before = platform.notifyWindowsMade;
    events.CheckAll();
    fired += platform.notifyWindowsMade - before;
    // The user answers at once, having read when it was due.
    for (std::size_t i = 0; i < events.Count(); ++i)
      if (auto* window = WindowOf(events[i])) {
        notices.push_back(DueNoticeText(events[i]));
        window->CloseByUser();
      }
  }
  // Every second from one moment to another, wall-clock time as the system shows it.
  void Run(TSystemTime from, int seconds) {
    TDateTime t = SystemTimeToDateTime(from);
    for (int s = 0; s < seconds; ++s, t += 1.0 / 86400) Tick(DateTimeToSystemTime(t));
  }
};

TEST_F(EventTest, DaylightSavingAndClockChangesFireOncePerOccurrence) {
  TEvents events(&displays);
  SetNow(2027, 3, 27, 12, 0);
  TEvent& daily = events.Add();
  daily.Repeat = TEvent::rpDaily;
  daily.SetTrigger(At(2027, 3, 27, 2, 30));
  daily.UpdateTrigger(LocalDateTimeNow(), false, false);
  TLoop loop{platform, events};

  // Spring: 01:59:59 is followed by 03:00:00; 02:30 never shows, the event fires at 03:00.
  loop.Run(Moment(2027, 3, 28, 1, 50), 600);
  loop.Run(Moment(2027, 3, 28, 3, 0), 600);
  EXPECT_EQ(loop.fired, 1);
  EXPECT_EQ(Text(daily.Trigger()), "2027-03-29 02:30:00.000");

  // Autumn: 02:00 to 03:00 shows twice; the second 02:30 is no new occurrence.
  SetNow(2027, 10, 31, 0, 0);
  events.UpdateAll();
  loop.fired = 0;
  loop.Run(Moment(2027, 10, 31, 2, 0), 3600);
  loop.Run(Moment(2027, 10, 31, 2, 0), 3600);
  EXPECT_EQ(loop.fired, 1);

  // Set back by a day after it fired: the time change brings that occurrence back, once.
  platform.clock.local = Moment(2027, 11, 2, 0, 0);
  events.UpdateAll();
  loop.fired = 0;
  loop.Run(Moment(2027, 11, 2, 2, 29, 50), 20);
  EXPECT_EQ(loop.fired, 1);
  platform.clock.local = Moment(2027, 11, 1, 2, 29, 30);
  events.UpdateAll();
  loop.Run(Moment(2027, 11, 1, 2, 29, 30), 60);
  EXPECT_EQ(loop.fired, 2);
  // Set forward past three occurrences: none of them fires, the next one does, once.
  platform.clock.local = Moment(2027, 11, 5, 12, 0);
  events.UpdateAll();
  loop.Run(Moment(2027, 11, 5, 12, 0), 60);
  loop.Run(Moment(2027, 11, 6, 2, 29, 30), 120);
  EXPECT_EQ(loop.fired, 3);
}

// Asleep from one moment to the next: the clock shows the first, then the second, and runs on.
TEST_F(EventTest, WhatCameDueInSleepFiresOnceSayingWhenItWasDue) {
  const struct {
    const char* what;
    std::uint8_t repeat;
    TDateTime trigger;
    TSystemTime asleep, awake;
    const char* notice;
    const char* next;   // the trigger once answered
    TSystemTime again;  // where the clock shows an hour again, or nothing
  } rows[] = {
      // clang-format off
      {"one-shot", TEvent::rpOnce, At(2026, 12, 6, 7, 0), Moment(2026, 12, 6, 4, 50),
       Moment(2026, 12, 6, 9, 10, 30), "Due at 7:00 AM (2 h 10 min ago)", "2026-12-06 07:00", {}},
      {"one-shot, days ago", TEvent::rpOnce, At(2026, 12, 6, 7, 0), Moment(2026, 12, 6, 4, 50),
       Moment(2026, 12, 9, 8, 0), "Due at 12/6/2026 7:00 AM (3 d 1 h ago)", "2026-12-06 07:00", {}},
      // Of three occurrences slept through, the latest.
      {"daily", TEvent::rpDaily, At(2026, 12, 6, 7, 0), Moment(2026, 12, 6, 4, 50),
       Moment(2026, 12, 8, 9, 10), "Due at 7:00 AM (2 h 10 min ago)", "2026-12-09 07:00", {}},
      {"weekly", TEvent::rpWeekly, At(2026, 12, 6, 7, 0), Moment(2026, 12, 6, 4, 50),
       Moment(2026, 12, 27, 7, 1), "Due at 7:00 AM (1 min ago)", "2027-01-03 07:00", {}},
      // Counted on the wall clock, as the due time is: 02:30 never showed that night.
      {"daily over the spring change", TEvent::rpDaily, At(2027, 3, 28, 2, 30),
       Moment(2027, 3, 28, 1, 10), Moment(2027, 3, 28, 5, 0), "Due at 2:30 AM (2 h 30 min ago)",
       "2027-03-29 02:30", {}},
      // Woken in the first of the two hours the autumn change shows: its 02:30 is no new one.
      {"daily over the autumn change", TEvent::rpDaily, At(2027, 10, 31, 2, 30),
       Moment(2027, 10, 31, 0, 30), Moment(2027, 10, 31, 2, 45), "Due at 2:30 AM (15 min ago)",
       "2027-11-01 02:30", Moment(2027, 10, 31, 2, 0)},
      // A day to the minute: the tick that shows the same minute again checks at once.
      {"one-shot, a day on", TEvent::rpOnce, At(2026, 12, 6, 7, 0), Moment(2026, 12, 6, 6, 59, 10),
       Moment(2026, 12, 7, 6, 59, 40), "Due at 12/6/2026 7:00 AM (23 h 59 min ago)",
       "2026-12-06 07:00", {}},
      {"on time", TEvent::rpDaily, At(2026, 12, 6, 7, 0), Moment(2026, 12, 6, 6, 59, 30),
       Moment(2026, 12, 6, 7, 0, 59), "", "2026-12-07 07:00", {}},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    platform.clock.local = row.asleep;
    TEvents events(&displays);
    TEvent& event = events.Add();
    event.Repeat = row.repeat;
    event.RepeatWeekly = static_cast<std::uint8_t>(IsoWeekday(row.trigger));
    event.SetTrigger(row.trigger);
    TLoop loop{platform, events};
    loop.Run(row.asleep, 1);
    loop.Run(row.awake, 180);
    if (row.again.wYear) loop.Run(row.again, 3600);
    EXPECT_EQ(loop.fired, 1);
    EXPECT_EQ(loop.notices, std::vector<std::string>{row.notice});
    EXPECT_EQ(Text(event.Trigger()).substr(0, 16), row.next);
  }
}

TEST_F(EventTest, TheNotificationsTimeTextAndTheSnoozeBox) {
  TEvent event(LocalDateTimeNow());  // made on a Sunday: weekly on Sundays
  event.SetTrigger(At(2026, 12, 7, 14, 5));
  EXPECT_EQ(NotificationTimeText(event), "12/7/2026, 2:05 PM ");
  event.Repeat = TEvent::rpWeekly;
  EXPECT_EQ(NotificationTimeText(event), "12/7/2026, 2:05 PM  (W: Sunday)");

  for (const auto& [text, minutes] : {std::pair{"5", 5}, {"0", 0}, {"x", 2}}) {
    EXPECT_EQ(SnoozeMinutes(text), minutes) << text;
    EXPECT_EQ(SnoozeBoxTextOnExit(text), std::to_string(std::max(minutes, 2))) << text;
  }
  EXPECT_EQ(FormatInteger("M: %d. %s %% %d", 7), "M: 7. %s % %d");
  EXPECT_EQ(FormatInteger("%", 7), "%");
}

// Every stored value written by hand under its name, each unlike its default.
void StoreEvent(TVarnRegistry& r, double trigger) {
  for (const auto& [name, value] : {std::pair{"Active", 0},
                                    {"State", 2},
                                    {"Repeat", 0},
                                    {"RepeatWeekly", 4},
                                    {"RepeatMonthly", 17},
                                    {"ActionShowMessage", 2},
                                    {"ActionPlaySound", 1},
                                    {"ActionFlashDisplay", 0},
                                    {"ActionExecuteCommand", 1},
                                    {"SoundLoop", 1},
                                    {"FlashFill", 0x112233},
                                    {"FlashOutline", 0x445566}})
    r.WriteInteger(name, value);
  for (const auto& [name, value] : {std::pair{"Message", "Train to Bonn"},
                                    {"Sound", "C:\\Sounds\\bell.wav"},
                                    {"Command", "calc.exe"}})
    r.WriteString(name, value);
  r.WriteBinaryData("Trigger", &trigger, 8);
  const std::uint8_t days = 0x15;
  r.WriteBinaryData("RepeatDaily", &days, 1);
}

TEST_F(EventTest, StoredEventsComeBackAsTheyWereAndAreRenumbered) {
  const std::string events = RegistryKeys::Events;
  TEvents list;
  list.Add();
  list.Save();  // never loaded: writes nothing
  list.Load();  // nothing stored: makes no key either
  EXPECT_EQ(platform.currentUser.OpenKey(events, false, RegAccess::Read), nullptr);
  TVarnRegistry r;
  ASSERT_TRUE(r.OpenKey(events, true));
  r.WriteInteger("Count", 4);
  r.CloseKey();
  for (const char* key : {"\\000", "\\002", "\\003"}) {
    ASSERT_TRUE(r.OpenKey(events + key, true));
    StoreEvent(r, At(2026, 12, 24, 18, 30));
    r.CloseKey();
  }
  ASSERT_TRUE(r.OpenKey(events + "\\003", true));
  r.WriteString("FromANewerVersion", "kept");
  r.CloseKey();
  const auto stored = RegistrySnapshot(platform.currentUser, events + "\\000");

  list.Load();
  ASSERT_EQ(list.Count(), 3u);  // 001 is missing
  const TEvent& e = list[0];
  EXPECT_FALSE(e.Active());
  EXPECT_EQ(e.State, TEvent::stDone);
  EXPECT_EQ(Schedule(e), "2026-12-24 18:30 0/21/4/17 Train to Bonn");
  EXPECT_EQ(e.ActionShowMessage, 2);
  EXPECT_TRUE(e.ActionPlaySound && !e.ActionFlashDisplay && e.ActionExecuteCommand && e.SoundLoop);
  EXPECT_EQ(e.Sound, "C:\\Sounds\\bell.wav");
  EXPECT_EQ(e.Command, "calc.exe");
  EXPECT_EQ(e.FlashFill, 0x112233u);
  EXPECT_EQ(e.FlashOutline, 0x445566u);

  list.Delete(&list[1]);
  EXPECT_EQ(&list[0], &e);  // the one asked for goes, no other
  list.Save();
  auto saved = RegistrySnapshot(platform.currentUser, events);
  EXPECT_EQ(saved[events + "\\Count"], (TRegData{rtInteger, {2, 0, 0, 0}}));
  for (const auto& [name, data] : stored)
    EXPECT_EQ(saved[name], data) << name;  // same names, types and bytes
  EXPECT_EQ(saved.count(events + "\\001\\FromANewerVersion"), 1u);
  EXPECT_TRUE(std::none_of(saved.begin(), saved.end(),
                           [&](const auto& v) { return v.first.starts_with(events + "\\002"); }));
  EXPECT_EQ(saved.size(), 1 + 2 * stored.size() + 1);

  // More than the list offers to add still loads.
  for (int i = 2; i < 9; ++i) list.Add().Message = std::to_string(i);
  list.Save();
  list.Load();
  ASSERT_EQ(list.Count(), 9u);
  EXPECT_EQ(list[8].Message, "8");
}

TEST_F(EventTest, DamagedValuesCostThemselvesAndNothingHangs) {
  SetNow(2026, 12, 7, 9, 30, 20);
  const auto store = [](std::vector<std::pair<const char*, std::int32_t>> values) {
    return [=](TVarnRegistry& r) {
      for (const auto& [name, value] : values) r.WriteInteger(name, value);
    };
  };
  const auto storeTrigger = [](double value) {
    return [=](TVarnRegistry& r) { r.WriteBinaryData("Trigger", &value, 8); };
  };
  const struct {
    std::function<void(TVarnRegistry&)> damage;
    const char* schedule;
    std::uint8_t state = TEvent::stWaiting;
    const char* message = "Train to Bonn";
  } cases[] = {
      {store({{"Repeat", 2}, {"RepeatWeekly", 200}}), "2026-12-07 09:30 0/21/200/17"},
      {store({{"Repeat", 3}, {"RepeatMonthly", 0}}), "2026-12-07 09:30 0/21/4/0"},
      {store({{"Repeat", 3}, {"RepeatMonthly", 99}}), "2026-12-07 09:30 0/21/4/99"},
      {storeTrigger(std::numeric_limits<double>::quiet_NaN()), "2026-12-07 09:30 0/21/4/17"},
      {storeTrigger(1e300), "2026-12-07 09:30 0/21/4/17"},
      {store({{"State", 7}}), "2026-12-24 18:30 0/21/4/17"},
      {store({{"State", 1}}), "2026-12-24 18:30 0/21/4/17"},  // snoozed
      {store({{"State", 2}}), "2026-12-24 18:30 0/21/4/17", TEvent::stDone},
      {store({{"Repeat", 9}}), "2026-12-24 18:30 9/21/4/17"},
      {[](TVarnRegistry& r) { r.WriteBinaryData("RepeatDaily", "\x01\x02", 2); },
       "2026-12-24 18:30 0/127/4/17"},
      {[](TVarnRegistry& r) { r.WriteBinaryData("RepeatDaily", "\x01\x02\x03", 3); },
       "2026-12-24 18:30 0/127/4/17"},
      {store({{"RepeatDaily", 3}}), "2026-12-24 18:30 0/127/4/17"},
      {store({{"RepeatMonthly", 0x105}}), "2026-12-24 18:30 0/21/4/5"},  // its low byte
      {store({{"Message", 5}}), "2026-12-24 18:30 0/21/4/17", TEvent::stWaiting, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.schedule);
    TTestPlatform fresh;
    fresh.clock.local = platform.clock.local;
    TVarnRegistry r;
    ASSERT_TRUE(r.OpenKey(RegistryKeys::Events, true));
    r.WriteInteger("Count", 1);
    ASSERT_TRUE(r.OpenKey("000", true));
    StoreEvent(r, At(2026, 12, 24, 18, 30));
    r.WriteInteger("Active", 1);
    r.WriteInteger("State", 0);
    c.damage(r);
    r.CloseKey();
    TEvents list;
    list.Load();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(Schedule(list[0]), c.schedule + std::string(" ") + c.message);
    EXPECT_EQ(list[0].State, c.state);
    list.CheckAll();  // never a crash, whatever fires
    list.Save();
  }
  // A Count beyond reason costs nothing.
  TVarnRegistry r;
  ASSERT_TRUE(r.OpenKey(RegistryKeys::Events, true));
  r.WriteInteger("Count", std::numeric_limits<std::int32_t>::max());
  r.CloseKey();
  TEvents list;
  list.Load();
  EXPECT_EQ(list.Count(), 0u);
}

TEST_F(EventTest, TheEditorShowsWhatItCanAndReArmsOnlyOnOK) {
  SetNow(2026, 12, 6, 23, 30, 15);
  TEvent damaged(LocalDateTimeNow());
  damaged.Repeat = 9;
  damaged.RepeatWeekly = 200;
  damaged.RepeatMonthly = 0;
  damaged.ActionShowMessage = 7;
  damaged.RepeatDaily = 0xFF;
  TEventForm form;
  EventToForm(damaged, form, false);
  EXPECT_EQ(
      std::vector<int>({form.repeat, form.weekday, form.monthDay, form.showMessage, form.days}),
      std::vector<int>({3, 6, 1, 2, 0x7F}));
  damaged.RepeatMonthly = 99;
  damaged.ActionShowMessage = -3;
  damaged.SetTrigger(At(2026, 12, 7, 14, 5));
  EventToForm(damaged, form, false);
  EXPECT_EQ(std::vector<int>({form.monthDay, form.showMessage}), std::vector<int>({31, 0}));
  EXPECT_EQ(Text(form.date), "2026-12-07 00:00:00.000");
  EXPECT_EQ(Text(form.time), "1899-12-30 14:05:00.000");

  // "Now +" 60 at 23:30:15: tomorrow, seconds kept until OK drops them.
  SetNowPlus(form, LocalDateTimeNow(), 60);
  EXPECT_EQ(Text(form.date + form.time), "2026-12-07 00:30:15.000");
  form.repeat = TEvent::rpOnce;
  EXPECT_FALSE(IsOneShotInThePast(form, LocalDateTimeNow()));
  SetNowPlus(form, LocalDateTimeNow(), 0);
  EXPECT_TRUE(IsOneShotInThePast(form, LocalDateTimeNow()));
  form.repeat = TEvent::rpDaily;
  EXPECT_FALSE(IsOneShotInThePast(form, LocalDateTimeNow()));  // only a one-shot asks

  // Only the actions: the message and schedule stay as they are.
  TEvent event(LocalDateTimeNow());
  event.Message = "kept";
  form.message = "edited";
  form.sound = "bell.wav";
  FormToEvent(form, event, true);
  EXPECT_EQ(event.Message, "kept");
  EXPECT_EQ(event.Sound, "bell.wav");
  // OK re-arms: a daily event without days is Monday-only, switched on, waiting.
  event.SetActive(false);
  event.State = TEvent::stDone;
  form.days = 0;
  FormToEvent(form, event, false);
  EXPECT_EQ(event.Message, "edited");
  EXPECT_TRUE(event.Active());
  EXPECT_EQ(event.State, TEvent::stWaiting);
  EXPECT_EQ(event.RepeatDaily, 1);
  EXPECT_EQ(Text(event.Trigger()), "2026-12-07 23:30:00.000");
  // OK on a one-shot whose time has passed: done at once, and an open notification closes.
  event.Check(At(2026, 12, 8, 0, 0));
  ASSERT_NE(event.NotifyWindow(), nullptr);
  form.repeat = TEvent::rpOnce;
  SetNowPlus(form, LocalDateTimeNow(), -1);
  FormToEvent(form, event, false);
  EXPECT_EQ(event.State, TEvent::stDone);
  EXPECT_EQ(event.NotifyWindow(), nullptr);

  EXPECT_EQ(QuotedList("\"when the tray icon is clicked\",\"automatically\",\"never\""),
            (std::vector<std::string>{"when the tray icon is clicked", "automatically", "never"}));
  EXPECT_EQ(QuotedList("\"one\",\"unfinished"), (std::vector<std::string>{"one"}));
  EXPECT_TRUE(QuotedList("no quotes").empty());
}

}  // namespace
