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
#include "events/uEvents.h"
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
  TDisplayList displays;
};

TEST_F(EventTest, NextOccurrenceOfEachRecurrence) {
  struct Case {
    const char* what;
    TSystemTime now;
    std::uint8_t repeat, daily, weekly, monthly;
    TDateTime trigger;  // time of day that counts
    const char* expected;
    std::uint8_t repeatAfter;
  };
  const TDateTime eight = At(2026, 1, 1, 8, 0);
  const Case cases[] = {
      {"every day, acknowledged at 08:05", Moment(2026, 12, 7, 8, 5), 1, 0x7F, 0, 1, eight,
       "2026-12-08 08:00:00.000", 1},
      {"every day, a millisecond before", Moment(2026, 12, 7, 7, 59, 59, 999), 1, 0x7F, 0, 1, eight,
       "2026-12-07 08:00:00.000", 1},
      {"every day, at the very minute", Moment(2026, 12, 7, 8, 0), 1, 0x7F, 0, 1, eight,
       "2026-12-08 08:00:00.000", 1},
      {"Mon, Wed, Fri from Friday after", Moment(2026, 12, 11, 9, 0), 1, 0x15, 0, 1, eight,
       "2026-12-14 08:00:00.000", 1},
      {"an empty set is Monday only", Moment(2026, 12, 8, 9, 0), 1, 0x00, 0, 1, eight,
       "2026-12-14 08:00:00.000", 1},
      {"Sundays only, on a Sunday after", Moment(2026, 12, 6, 9, 0), 1, 0x40, 0, 1, eight,
       "2026-12-13 08:00:00.000", 1},
      {"weekly today, time passed", Moment(2026, 12, 9, 9, 0), 2, 0, 2, 1, eight,
       "2026-12-16 08:00:00.000", 2},
      {"weekly today, time ahead", Moment(2026, 12, 9, 7, 0), 2, 0, 2, 1, eight,
       "2026-12-09 08:00:00.000", 2},
      {"weekly on Sunday from Monday", Moment(2026, 12, 7, 7, 0), 2, 0, 6, 1, eight,
       "2026-12-13 08:00:00.000", 2},
      {"day 31 from 1 February", Moment(2027, 2, 1, 0, 0), 3, 0, 0, 31, eight,
       "2027-03-31 08:00:00.000", 3},
      {"day 30 from 1 February", Moment(2027, 2, 1, 0, 0), 3, 0, 0, 30, eight,
       "2027-03-30 08:00:00.000", 3},
      {"day 29 in a leap year", Moment(2028, 2, 1, 0, 0), 3, 0, 0, 29, eight,
       "2028-02-29 08:00:00.000", 3},
      {"day 29 in a common year", Moment(2027, 2, 1, 0, 0), 3, 0, 0, 29, eight,
       "2027-03-29 08:00:00.000", 3},
      {"day 31 skips 30-day months", Moment(2027, 4, 1, 0, 0), 3, 0, 0, 31, eight,
       "2027-05-31 08:00:00.000", 3},
      {"monthly, today passed, over the year", Moment(2026, 12, 5, 9, 0), 3, 0, 0, 5, eight,
       "2027-01-05 08:00:00.000", 3},
      {"monthly, today still ahead", Moment(2026, 12, 5, 7, 0), 3, 0, 0, 5, eight,
       "2026-12-05 08:00:00.000", 3},
      {"weekday 200: a one-shot due now", Moment(2026, 12, 7, 9, 30, 42), 2, 0, 200, 1, eight,
       "2026-12-07 09:30:00.000", 0},
      {"day 0: a one-shot due now", Moment(2026, 12, 7, 9, 30), 3, 0, 0, 0, eight,
       "2026-12-07 09:30:00.000", 0},
      {"day 99: a one-shot due now", Moment(2026, 12, 7, 9, 30), 3, 0, 0, 99, eight,
       "2026-12-07 09:30:00.000", 0},
      {"a one-shot keeps its time", Moment(2026, 12, 7, 9, 30), 0, 0, 0, 1, eight,
       "2026-01-01 08:00:00.000", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform.clock.local = c.now;
    TEvent event;
    event.Repeat = c.repeat;
    event.RepeatDaily = c.daily;
    event.RepeatWeekly = c.weekly;
    event.RepeatMonthly = c.monthly;
    event.SetTrigger(c.trigger);
    event.State = TEvent::stSnoozed;
    event.UpdateTrigger(false, false);
    EXPECT_EQ(Text(event.Trigger()), c.expected);
    EXPECT_EQ(event.Repeat, c.repeatAfter);
    // Every recomputation of a repeating event leaves it waiting; a one-shot is left alone.
    EXPECT_EQ(event.State, c.repeat == 0 ? TEvent::stSnoozed : TEvent::stWaiting);
    if (c.repeat == 1 && c.daily == 0) {
      EXPECT_EQ(event.RepeatDaily, 1);
    }
  }
}

// The first minute strictly after now whose time of day is the event's and whose
// day is one of its days, found by walking minute by minute through the days the
// event looks ahead.
std::optional<std::int64_t> WalkToNextMinute(const TEvent& event, std::int64_t nowMs) {
  const std::int64_t todMinute = DateTimeToMilliseconds(event.Trigger()) / 60000 % 1440;
  const std::int64_t firstDay = nowMs / 86400000;
  const TCivilDate today = CivilFromDays(static_cast<std::int32_t>(firstDay));
  std::int64_t lastDay = firstDay + 8;
  if (event.Repeat == 3) {  // to the end of the fourteenth month, counting this one
    const int after = today.year * 12 + static_cast<int>(today.month) - 1 + 14;
    lastDay = DaysFromCivil(after / 12, static_cast<unsigned>(after % 12 + 1), 1) - 1;
  }
  for (std::int64_t m = nowMs / 60000; m <= lastDay * 1440 + 1439; ++m) {
    if (m * 60000 <= nowMs || m % 1440 != todMinute) continue;
    const auto day = static_cast<std::int32_t>(m / 1440);
    const unsigned weekday = (WeekdayOfDays(day) + 6) % 7;
    const bool matches = event.Repeat == 1   ? (event.RepeatDaily >> weekday & 1) != 0
                         : event.Repeat == 2 ? weekday == event.RepeatWeekly
                                             : CivilFromDays(day).day == event.RepeatMonthly;
    if (matches) return m * 60000;
  }
  return std::nullopt;
}

TEST_F(EventTest, NextOccurrenceAgreesWithAWalkThroughTheMinutes) {
  std::mt19937 random(20261206);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int n = 0; n < 150; ++n) {
    const std::int64_t nowMs =
        static_cast<std::int64_t>(DaysFromCivil(2026, 1, 1) + pick(0, 3652)) * 86400000 +
        pick(0, 86399999);
    platform.clock.local = DateTimeToSystemTime(static_cast<double>(nowMs) / 86400000.0);
    TEvent event;
    event.Repeat = static_cast<std::uint8_t>(pick(1, 3));
    event.RepeatDaily = static_cast<std::uint8_t>(pick(0, 127));
    // Now and then a damaged day, for which no occurrence exists.
    event.RepeatWeekly = static_cast<std::uint8_t>(pick(0, 20) == 0 ? pick(7, 255) : pick(0, 6));
    event.RepeatMonthly = static_cast<std::uint8_t>(pick(0, 20) == 0 ? pick(32, 255) : pick(1, 31));
    event.SetTrigger(At(2020, 1, 1, pick(0, 23), pick(0, 59)));
    const std::uint8_t repeat = event.Repeat;
    if (repeat == 1 && event.RepeatDaily == 0) event.RepeatDaily = 1;
    const std::optional<std::int64_t> expected = WalkToNextMinute(event, nowMs);
    SCOPED_TRACE(Text(static_cast<double>(nowMs) / 86400000.0) + " repeat " +
                 std::to_string(repeat) + " daily " + std::to_string(event.RepeatDaily) +
                 " weekly " + std::to_string(event.RepeatWeekly) + " monthly " +
                 std::to_string(event.RepeatMonthly));
    event.UpdateTrigger(false, false);
    if (expected) {
      EXPECT_EQ(DateTimeToMilliseconds(event.Trigger()), *expected);
      EXPECT_EQ(event.Repeat, repeat);
    } else {
      EXPECT_EQ(DateTimeToMilliseconds(event.Trigger()), nowMs / 60000 * 60000);
      EXPECT_EQ(event.Repeat, 0);
    }
  }
}

TEST_F(EventTest, FiringTakesTheActionsAndShowsTheWindowAsTheModeSays) {
  struct Case {
    const char* what;
    std::int32_t mode;
    bool flash, primaryActive, sound, soundExists, command, commandStarts;
    const char* shown;
    bool flashing;
    std::size_t played, commands;
  };
  const Case cases[] = {
      {"mode 1 shows at once", 1, true, true, false, false, false, false, "without activation",
       true, 0, 0},
      {"mode 0 waits for a click", 0, true, true, false, false, false, false, "", true, 0, 0},
      {"mode 0, primary switched off", 0, true, false, false, false, false, false,
       "without activation", false, 0, 0},
      {"mode 2, a sound played", 2, false, true, true, true, false, false, "", false, 1, 0},
      {"mode 2, the sound is missing", 2, false, true, true, false, false, false,
       "without activation", false, 0, 0},
      {"mode 0, the command started", 0, false, true, false, false, true, true, "", false, 0, 1},
      {"mode 0, the command failed", 0, false, true, false, false, true, false,
       "without activation", false, 0, 1},
      {"mode 0, nothing switched on", 0, false, true, false, false, false, false,
       "without activation", false, 0, 0},
  };
  const std::string wave = Wave();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTestPlatform fresh;
    TDisplayList list;
    list.Primary = list.Add(dkDigitalClock);
    list.Primary->SetActive(c.primaryActive);
    if (c.primaryActive) list.Primary->Hide();  // merely hidden: the flash shows it
    TEvent event(&list);
    event.ActionShowMessage = c.mode;
    event.ActionFlashDisplay = c.flash;
    event.ActionPlaySound = c.sound;
    event.Sound = c.soundExists ? wave : wave + ".missing";
    event.SoundLoop = true;
    event.ActionExecuteCommand = c.command;
    event.Command = "notepad.exe C:\\notes.txt";
    event.FlashFill = 0x123456;
    fresh.commandsStart = c.commandStarts;
    event.Check(LocalDateTimeNow());
    ASSERT_NE(WindowOf(event), nullptr);
    EXPECT_EQ(WindowOf(event)->shown, c.shown);
    EXPECT_EQ(list.Primary->Flashing(), c.flashing);
    if (c.flashing) {
      EXPECT_TRUE(list.Primary->IsVisible());
      EXPECT_EQ(list.Primary->FlashFillColor, 0x123456u);
    }
    EXPECT_EQ(fresh.sound.played.size(), c.played);
    if (c.played) {
      EXPECT_EQ(fresh.sound.played[0], wave + " (loop)");
    }
    EXPECT_EQ(fresh.commands.size(), c.commands);
  }
  std::filesystem::remove(wave);
}

TEST_F(EventTest, AFiredEventWaitsForItsAnswerAndThenMovesOn) {
  SetNow(2026, 12, 7, 8, 0, 0, 150);
  TEvent once(&displays), daily(&displays);
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
  daily.RemindLater(5);
  daily.NotifyWindowDestroyed();
  EXPECT_EQ(daily.State, TEvent::stSnoozed);
  EXPECT_EQ(Text(daily.SnoozeTime), "2026-12-08 08:05:00.000");
  daily.Check(At(2026, 12, 8, 8, 4) + 59.0 / 86400);
  EXPECT_EQ(daily.NotifyWindow(), nullptr);
  daily.Check(At(2026, 12, 8, 8, 5));
  EXPECT_NE(daily.NotifyWindow(), nullptr);

  // Closed without an answer (switched off, say): a one-shot stays due.
  TEvent again(&displays);
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

TEST_F(EventTest, APastOneShotFiresAfterLoadingButIsDoneWhenSwitchedOn) {
  SetNow(2026, 12, 7, 9, 0);
  TEvent loaded(&displays);
  loaded.SetTrigger(At(2026, 12, 6, 8, 0));
  loaded.UpdateTrigger(false, false);  // as loading does
  EXPECT_EQ(loaded.State, TEvent::stWaiting);
  loaded.Check(LocalDateTimeNow());
  EXPECT_NE(loaded.NotifyWindow(), nullptr);

  TEvent switched(&displays);
  switched.SetActive(false);
  switched.SetTrigger(At(2026, 12, 6, 8, 0));
  switched.SetActive(true);  // as the preferences list does
  switched.UpdateTrigger(true, false);
  EXPECT_EQ(switched.State, TEvent::stDone);
  switched.Check(LocalDateTimeNow());
  EXPECT_EQ(switched.NotifyWindow(), nullptr);
  // The same minute counts as passed; a minute ahead does not.
  TEvent ahead(&displays);
  ahead.SetTrigger(At(2026, 12, 7, 9, 1));
  ahead.UpdateTrigger(true, false);
  EXPECT_EQ(ahead.State, TEvent::stWaiting);
  TEvent now(&displays);
  now.UpdateTrigger(true, false);
  EXPECT_EQ(now.State, TEvent::stDone);
}

// The clock loop's part of the events: one check per new minute.
struct TLoop {
  TTestPlatform& platform;
  TEvents& events;
  TClockLoop loop;
  int fired = 0;
  void Tick(const TSystemTime& at) {
    platform.clock.local = at;
    const auto changes = loop.Advance(at);
    if (!changes || !changes->minuteChanged) return;
    const int before = platform.notifyWindowsMade;
    events.CheckAll();
    fired += platform.notifyWindowsMade - before;
    // The user answers at once.
    for (std::size_t i = 0; i < events.Count(); ++i)
      if (auto* window = WindowOf(events[i])) window->CloseByUser();
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
  daily.UpdateTrigger(false, false);
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

TEST_F(EventTest, RecurrenceTextsAndTheNotificationWindowsRules) {
  struct Case {
    std::uint8_t repeat, daily, weekly, monthly;
    const char* describe;
  };
  const Case cases[] = {
      {0, 0x7F, 0, 1, ""},
      {1, 0x7F, 0, 1, "D: every day"},
      {1, 0x15, 0, 1, "D: Mon, Wed, Fri"},
      {1, 0x40, 0, 1, "D: Sun"},
      {1, 0x00, 0, 1, "D: "},
      {2, 0x7F, 4, 1, "W: Friday"},
      {3, 0x7F, 0, 15, "M: every 15. day of a month"},
  };
  for (const Case& c : cases) {
    TEvent event;
    event.Repeat = c.repeat;
    event.RepeatDaily = c.daily;
    event.RepeatWeekly = c.weekly;
    event.RepeatMonthly = c.monthly;
    EXPECT_EQ(event.Describe(), c.describe);
  }
  TEvent event;  // made on a Sunday: weekly on Sundays
  event.SetTrigger(At(2026, 12, 7, 14, 5));
  EXPECT_EQ(NotificationTimeText(event), "12/7/2026, 2:05 PM ");
  event.Repeat = TEvent::rpWeekly;
  EXPECT_EQ(NotificationTimeText(event), "12/7/2026, 2:05 PM  (W: Sunday)");

  const std::pair<const char*, std::int32_t> snooze[] = {{"5", 5}, {"0", 0},   {"-3", -3}, {"x", 2},
                                                         {"", 2},  {"99", 99}, {"1x", 2}};
  for (const auto& [text, minutes] : snooze) {
    EXPECT_EQ(SnoozeMinutes(text), minutes) << text;
    EXPECT_EQ(SnoozeBoxTextOnExit(text), std::to_string(std::max(minutes, 2))) << text;
  }
  EXPECT_EQ(FormatInteger("M: %d. %s %% %d", 7), "M: 7. %s % %d");
  EXPECT_EQ(FormatInteger("%", 7), "%");
}

// Every stored value written by hand under its name, each unlike its default.
void StoreEvent(TVarnRegistry& r, double trigger) {
  r.WriteInteger("Active", 0);
  r.WriteInteger("State", 2);
  r.WriteString("Message", "Train to Bonn");
  r.WriteInteger("Repeat", 0);
  r.WriteBinaryData("Trigger", &trigger, 8);
  const std::uint8_t days = 0x15;
  r.WriteBinaryData("RepeatDaily", &days, 1);
  r.WriteInteger("RepeatWeekly", 4);
  r.WriteInteger("RepeatMonthly", 17);
  r.WriteInteger("ActionShowMessage", 2);
  r.WriteInteger("ActionPlaySound", 1);
  r.WriteInteger("ActionFlashDisplay", 0);
  r.WriteInteger("ActionExecuteCommand", 1);
  r.WriteString("Sound", "C:\\Sounds\\bell.wav");
  r.WriteInteger("SoundLoop", 1);
  r.WriteString("Command", "calc.exe");
  r.WriteInteger("FlashFill", 0x112233);
  r.WriteInteger("FlashOutline", 0x445566);
}

TEST_F(EventTest, StoredEventsComeBackAsTheyWereAndAreRenumbered) {
  TVarnRegistry r;
  ASSERT_TRUE(r.OpenKey(RegistryKeys::Events, true));
  r.WriteInteger("Count", 4);
  r.CloseKey();
  const std::string events = RegistryKeys::Events;
  for (const char* key : {"\\000", "\\002", "\\003"}) {
    ASSERT_TRUE(r.OpenKey(events + key, true));
    StoreEvent(r, At(2026, 12, 24, 18, 30));
    r.CloseKey();
  }
  ASSERT_TRUE(r.OpenKey(events + "\\003", true));
  r.WriteString("FromANewerVersion", "kept");
  r.CloseKey();
  const auto stored = RegistrySnapshot(platform.currentUser, events + "\\000");

  TEvents list;
  list.Load();
  ASSERT_EQ(list.Count(), 3u);  // 001 is missing
  const TEvent& e = list[0];
  EXPECT_FALSE(e.Active());
  EXPECT_EQ(e.State, TEvent::stDone);
  EXPECT_EQ(e.Message, "Train to Bonn");
  EXPECT_EQ(Text(e.Trigger()), "2026-12-24 18:30:00.000");
  EXPECT_EQ(e.RepeatDaily, 0x15);
  EXPECT_EQ(e.RepeatWeekly, 4);
  EXPECT_EQ(e.RepeatMonthly, 17);
  EXPECT_EQ(e.ActionShowMessage, 2);
  EXPECT_TRUE(e.ActionPlaySound && !e.ActionFlashDisplay && e.ActionExecuteCommand && e.SoundLoop);
  EXPECT_EQ(e.Sound, "C:\\Sounds\\bell.wav");
  EXPECT_EQ(e.Command, "calc.exe");
  EXPECT_EQ(e.FlashFill, 0x112233u);
  EXPECT_EQ(e.FlashOutline, 0x445566u);

  list.Delete(&list[1]);
  list.Save();
  auto saved = RegistrySnapshot(platform.currentUser, events);
  EXPECT_EQ(saved[events + "\\Count"], (TRegData{rtInteger, {2, 0, 0, 0}}));
  for (const auto& [name, data] : stored)
    EXPECT_EQ(saved[name], data) << name;  // same names, types and bytes
  EXPECT_EQ(saved.count(events + "\\001\\FromANewerVersion"), 1u);
  EXPECT_TRUE(std::none_of(saved.begin(), saved.end(),
                           [&](const auto& v) { return v.first.starts_with(events + "\\002"); }));
  EXPECT_EQ(saved.size(), 1 + 2 * stored.size() + 1);
}

TEST_F(EventTest, DamagedValuesCostThemselvesAndNothingHangs) {
  SetNow(2026, 12, 7, 9, 30, 20);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* what;
    std::function<void(TVarnRegistry&)> damage;
    std::function<bool(const TEvent&)> holds;
  };
  const auto store = [](const char* name, std::int32_t value) {
    return [=](TVarnRegistry& r) { r.WriteInteger(name, value); };
  };
  const auto storeFloat = [](double value) {
    return [=](TVarnRegistry& r) { r.WriteBinaryData("Trigger", &value, 8); };
  };
  const std::string now = "2026-12-07 09:30:00.000";
  const Case cases[] = {
      {"weekday 200",
       [&](TVarnRegistry& r) { store("Repeat", 2)(r), store("RepeatWeekly", 200)(r); },
       [&](const TEvent& e) { return e.Repeat == 0 && Text(e.Trigger()) == now; }},
      {"day 0", [&](TVarnRegistry& r) { store("Repeat", 3)(r), store("RepeatMonthly", 0)(r); },
       [&](const TEvent& e) { return e.Repeat == 0 && Text(e.Trigger()) == now; }},
      {"day 99", [&](TVarnRegistry& r) { store("Repeat", 3)(r), store("RepeatMonthly", 99)(r); },
       [&](const TEvent& e) { return e.Repeat == 0 && Text(e.Trigger()) == now; }},
      {"trigger NaN", storeFloat(nan),
       [&](const TEvent& e) { return Text(e.Trigger()) == now && e.Message == "Train to Bonn"; }},
      {"trigger 1e300", storeFloat(1e300),
       [&](const TEvent& e) { return Text(e.Trigger()) == now; }},
      {"state 7", store("State", 7), [](const TEvent& e) { return e.State == 0; }},
      {"state 1 (snoozed)", store("State", 1), [](const TEvent& e) { return e.State == 0; }},
      {"repeat 9", store("Repeat", 9),
       [](const TEvent& e) { return e.Repeat == 9 && e.Describe().empty(); }},
      {"RepeatDaily of two bytes",
       [](TVarnRegistry& r) { r.WriteBinaryData("RepeatDaily", "\x01\x02", 2); },
       [](const TEvent& e) { return e.RepeatDaily == 0x7F; }},
      {"RepeatDaily as a number", store("RepeatDaily", 3),
       [](const TEvent& e) { return e.RepeatDaily == 0x7F; }},
      {"a message that is a number", store("Message", 5),
       [](const TEvent& e) { return e.Message.empty() && e.RepeatMonthly == 17; }},
      {"an 8-bit value keeps its low byte", store("RepeatMonthly", 0x105),
       [](const TEvent& e) { return e.RepeatMonthly == 5; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTestPlatform fresh;
    fresh.clock.local = platform.clock.local;
    TVarnRegistry r;
    ASSERT_TRUE(r.OpenKey(RegistryKeys::Events, true));
    r.WriteInteger("Count", 1);
    ASSERT_TRUE(r.OpenKey("000", true));
    StoreEvent(r, At(2026, 12, 24, 18, 30));
    r.WriteInteger("Active", 1);
    r.WriteInteger("State", 0);
    r.DeleteValue("Message");
    r.WriteString("Message", "Train to Bonn");
    c.damage(r);
    r.CloseKey();
    TEvents list;
    list.Load();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_TRUE(c.holds(list[0]));
    list.CheckAll();  // never a crash, whatever fires
    list.Save();
  }
  // A Count beyond reason costs nothing; with no Count there is no list.
  TVarnRegistry r;
  ASSERT_TRUE(r.OpenKey(RegistryKeys::Events, true));
  r.WriteInteger("Count", std::numeric_limits<std::int32_t>::max());
  r.CloseKey();
  TEvents list;
  list.Load();
  EXPECT_EQ(list.Count(), 0u);
}

TEST_F(EventTest, NineStoredEventsAllLoadAndAnUnloadedListSavesNothing) {
  TEvents unloaded;
  unloaded.Add();
  unloaded.Save();
  EXPECT_TRUE(RegistrySnapshot(platform.currentUser, RegistryKeys::Events).empty());

  TEvents nine;
  nine.Load();
  EXPECT_EQ(platform.currentUser.OpenKey(RegistryKeys::Events, false, RegAccess::Read),
            nullptr);  // reading made no key
  for (int i = 0; i < 9; ++i) nine.Add().Message = std::to_string(i);
  nine.Save();
  TEvents again;
  again.Load();
  ASSERT_EQ(again.Count(), 9u);
  EXPECT_EQ(again[8].Message, "8");
}

TEST_F(EventTest, TheEditorShowsWhatItCanAndReArmsOnlyOnOK) {
  SetNow(2026, 12, 6, 23, 30, 15);
  TEvent damaged;
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
  TEvent event;
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
