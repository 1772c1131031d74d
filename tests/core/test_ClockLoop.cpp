#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/uClockLoop.h"
#include "config/uOptions.h"
#include "display/uDisplayList.h"
#include "events/uEvents.h"
#include "events/uTowerClock.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigital.h"
#include "kinds/uDisplayKinds.h"
#include "kinds/uDisplayStopwatch.h"
#include "support/uTestPlatform.h"

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

TSystemTime FromLocalMilliseconds(std::int64_t ms) {
  const TCivilDate date = CivilFromDays(static_cast<std::int32_t>(ms / kMsPerDay));
  const auto w = [](std::int64_t v) { return static_cast<std::uint16_t>(v); };
  ms %= kMsPerDay;
  return {w(date.year),       w(date.month),     0,           w(date.day), w(ms / 3600000),
          w(ms / 60000 % 60), w(ms / 1000 % 60), w(ms % 1000)};
}

std::string Clock(std::int64_t ms) {
  const TSystemTime t = FromLocalMilliseconds(ms);
  char text[32];
  std::snprintf(text, sizeof(text), "%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
  return text;
}

// The program's objects, driven by the loop, with a line for every rule that fired: which
// display painted what, which chime played, each event check and topmost refresh.
class TRecordingRules : public TClockRules {
 public:
  explicit TRecordingRules(TTestPlatform& platform) : FPlatform(platform) {
    options.ChimeEnabled = false;
    options.AOT5s = false;
    options.ChimeTop = options.ChimeQuarter = options.ChimeHalf = options.ChimeThreeQuarters = true;
    options.ChimeTopSound = "top.wav";
    options.ChimeQuarterSound = "quarter.wav";
    options.ChimeHalfSound = "half.wav";
    options.ChimeThreeQuartersSound = "three-quarters.wav";
  }
  void TickDisplays(const TTickChanges& changes) override {
    std::vector<int> before;
    for (std::size_t i = 0; i < displays.Count(); ++i) before.push_back(DrawCount(displays[i]));
    displays.Tick(changes.hourChanged, changes.minuteChanged, changes.secondChanged,
                  changes.second);
    for (std::size_t i = 0; i < displays.Count(); ++i) {
      if (DrawCount(displays[i]) == before[i]) continue;
      std::string drawn;
      auto& calls = TTestPlatform::BitmapOf(displays[i]).Recorder().calls;
      // The text once: the shadow and outline copies repeat it.
      for (const TCanvasCall& call : calls)
        if (call.op == "DrawText" && drawn.find(call.text + "|") == std::string::npos)
          drawn += call.text + "|";
      calls.clear();
      Log("paint " + std::to_string(i) + " " + drawn);
    }
  }
  void CheckChime(const TSystemTime& now, bool minuteChanged) override {
    const std::size_t before = FPlatform.sound.played.size();
    ::CheckChime(options, now, minuteChanged);
    for (std::size_t i = before; i < FPlatform.sound.played.size(); ++i)
      Log("chime " + FPlatform.sound.played[i]);
  }
  bool IsIdle() const override { return idle; }
  void CheckEvents() override {
    Log("events");
    events.CheckAll();
  }
  bool TopmostRefreshOn() const override { return options.AOT5s; }
  void RefreshTopmost() override { Log("topmost"); }
  std::optional<std::int64_t> NextDisplayRepaint(std::int64_t nowMs) override {
    return displays.NextRepaintWithinMinute(nowMs);
  }

  TOptions options;
  TDisplayList displays{CreateDisplay};
  TEvents events{&displays};
  bool idle = true;
  std::vector<std::string> log;

 private:
  static int DrawCount(const TDisplay& d) {
    return d.IsActive() ? TTestPlatform::WindowOf(d).drawCount : 0;
  }
  void Log(const std::string& line) {
    log.push_back(Clock(LocalMilliseconds(FPlatform.clock.local)) + " " + line);
  }
  TTestPlatform& FPlatform;
};

TEST(ClockLoop, OneTickPerSecondOfLocalTimeWithWhatChanged) {
  // What a tick reports changed: "hms" for hour, minute, second; nullptr for no tick at all.
  const struct {
    std::uint16_t day, hour, minute, second, ms;
    const char* changed;
  } steps[] = {
      {6, 9, 30, 15, 100, "hms"},    // the first tick: everything changed
      {6, 9, 30, 15, 300, nullptr},  // the same second: no work
      {6, 9, 30, 15, 999, nullptr},
      {6, 9, 30, 16, 100, "..s"},
      {6, 9, 31, 16, 0, ".m."},
      // An hour on, then a day back, at the same minute: each a new minute.
      {6, 10, 31, 16, 0, "hm."},
      {5, 10, 31, 16, 0, "hm."},
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

const std::int64_t kDay0 = std::int64_t{DaysFromCivil(2026, 12, 6)} * kMsPerDay;

std::int64_t At(int hour, int minute, int second, int ms = 0) {
  return kDay0 + ((hour * 60 + minute) * 60 + second) * 1000 + ms;
}

class ClockScheduleTest : public ::testing::Test {
 protected:
  void SetNow(std::int64_t ms) {
    platform.clock.local = FromLocalMilliseconds(ms);
    platform.clock.ticks = static_cast<std::uint32_t>(ms - kDay0 + 1000);
  }
  TDisplay& AddShown(TDisplayKind kind, bool show = true) {
    TDisplay* d = rules.displays.Add(kind);
    d->SetActive(true);
    if (show) d->Show();
    if (!rules.displays.Primary) rules.displays.Primary = d;
    return *d;
  }
  TDisplayCountdown& AddCountdown(std::int64_t finalMs, bool seconds) {
    auto& c = static_cast<TDisplayCountdown&>(AddShown(dkCountdown));
    c.Visibility = {uvIfPositive, uvIfPositive, uvAlways, seconds ? uvAlways : uvNever};
    c.SetFinalTime(SystemTimeToDateTime(FromLocalMilliseconds(finalMs)));
    return c;
  }
  TTestPlatform platform;
  TRecordingRules rules{platform};
  TClockLoop loop;
};

TEST_F(ClockScheduleTest, TheNextWakeIsTheFirstMomentAnythingChanges) {
  // Each state is set, the loop ticks at 09:00:09 and 09:00:10 (5 ms into each second), the
  // state after the ticks is set, and the schedule names the first second worth a tick.
  const struct {
    const char* state;
    std::function<void()> before, after;
    std::int64_t wake;
  } cases[] = {
      {"nothing shown", [] {}, nullptr, At(9, 1, 0)},
      {"the default clock", [&] { AddShown(dkDigitalClock); }, nullptr, At(9, 1, 0)},
      {"a clock showing seconds", [&] { AddShown(dkDigitalClock).SetText("&hh;:&nn;:&ss;"); },
       nullptr, At(9, 0, 11)},
      {"a hidden clock with seconds",
       [&] { AddShown(dkDigitalClock, false).SetText("&hh;:&nn;:&ss;"); }, nullptr, At(9, 1, 0)},
      {"an inactive clock with seconds",
       [&] { rules.displays.Add(dkDigitalClock)->SetText("&hh;:&nn;:&ss;"); }, nullptr,
       At(9, 1, 0)},
      {"a countdown with seconds", [&] { AddCountdown(At(9, 5, 30), true); }, nullptr,
       At(9, 0, 11)},
      {"a countdown without seconds: where whole minutes are left",
       [&] { AddCountdown(At(9, 5, 30), false); }, nullptr, At(9, 0, 30)},
      {"the same in its last minute", [&] { AddCountdown(At(9, 0, 40), false); }, nullptr,
       At(9, 0, 40)},
      {"the same, another final time since its last repaint",
       [&] { AddCountdown(At(9, 5, 30), false); },
       [&] {
         static_cast<TDisplayCountdown&>(rules.displays[0])
             .SetFinalTime(SystemTimeToDateTime(FromLocalMilliseconds(At(10, 0, 0))));
       },
       At(9, 0, 11)},
      {"a countdown at zero", [&] { AddCountdown(At(9, 0, 5), true); }, nullptr, At(9, 1, 0)},
      {"a running stopwatch",
       [&] { static_cast<TDisplayStopwatch&>(AddShown(dkStopwatch)).Start(false); }, nullptr,
       At(9, 0, 11)},
      {"a stopped stopwatch", [&] { AddShown(dkStopwatch); }, nullptr, At(9, 1, 0)},
      {"a flashing display", [&] { AddShown(dkDigitalClock).Flash(1, 2); }, nullptr, At(9, 0, 11)},
      {"a display that changed", [&] { AddShown(dkDigitalClock); },
       [&] { rules.displays.InvalidateAll(); }, At(9, 0, 11)},
      {"an event check missed while busy", [&] { rules.idle = false; }, nullptr, At(9, 0, 11)},
      {"an event due within the minute and one snoozed",
       [&] {
         AddShown(dkDigitalClock);
         rules.events.Add().SetTrigger(SystemTimeToDateTime(FromLocalMilliseconds(At(9, 2, 0))));
         TEvent& snoozed = rules.events.Add();
         snoozed.State = TEvent::stSnoozed;
         snoozed.SnoozeTime = SystemTimeToDateTime(FromLocalMilliseconds(At(9, 0, 20)));
       },
       nullptr, At(9, 1, 0)},
      {"the chime", [&] { rules.options.ChimeEnabled = true; }, nullptr, At(9, 1, 0)},
      {"the topmost refresh, two seconds counted", [&] { rules.options.AOT5s = true; }, nullptr,
       At(9, 0, 13)},
      {"the topmost refresh switched on since the last tick: five ticks from now", nullptr,
       [&] { rules.options.AOT5s = true; }, At(9, 0, 15)},
      {"a running stopwatch, hidden: its count moves on at every tick",
       [&] { static_cast<TDisplayStopwatch&>(AddShown(dkStopwatch, false)).Start(false); }, nullptr,
       At(9, 0, 11)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    rules.log.clear();
    rules.displays.Clear();
    rules.displays.Primary = nullptr;
    while (rules.events.Count() > 0) rules.events.Delete(&rules.events[0]);
    rules.options = TOptions();
    rules.options.ChimeEnabled = rules.options.AOT5s = false;
    rules.idle = true;
    loop = TClockLoop();
    SetNow(At(9, 0, 9, 5));
    if (c.before) c.before();
    ASSERT_TRUE(loop.Tick(platform.clock.local, rules));
    SetNow(At(9, 0, 10, 5));
    ASSERT_TRUE(loop.Tick(platform.clock.local, rules));
    if (c.after) c.after();
    const std::int64_t wake = loop.NextWake(platform.clock.local, rules);
    EXPECT_EQ(Clock(wake), Clock(c.wake));
    EXPECT_EQ(wake % 1000, 0);
  }
}

TEST_F(ClockScheduleTest, NeverLaterThanAMinuteAndTheTimerLandsJustAfterTheSecond) {
  for (const std::int64_t now :
       {At(9, 0, 0), At(9, 0, 0, 1), At(9, 0, 59, 999), At(23, 59, 59, 500)}) {
    SetNow(now);
    const std::int64_t wake = loop.NextWake(platform.clock.local, rules);
    EXPECT_GT(wake, now) << Clock(now);
    EXPECT_LE(wake - now, TClockLoop::MaxSleep) << Clock(now);
    // The time read when the timer comes is already in the new second, and not by much.
    const std::int64_t fired = now + TClockLoop::TimerDelay(now, wake);
    EXPECT_GT(fired, wake) << Clock(now);
    EXPECT_LE(fired, wake + 20) << Clock(now);
  }
  // A look at a second before its tick, then the topmost option switched on: the tick counts
  // that second, as the fixed step's tick would have, so the refresh is four seconds on.
  rules.options.AOT5s = false;
  SetNow(At(9, 0, 20, 1));
  loop.NextWake(platform.clock.local, rules);
  rules.options.AOT5s = true;
  SetNow(At(9, 0, 20, 5));
  ASSERT_TRUE(loop.Tick(platform.clock.local, rules));
  EXPECT_EQ(Clock(loop.NextWake(platform.clock.local, rules)), Clock(At(9, 0, 24)));
  // A timer that came early asks again for the same second, soon.
  EXPECT_EQ(TClockLoop::TimerDelay(At(9, 0, 0, 998), At(9, 0, 0, 999) + 1),
            TClockLoop::WakeLead + 2);
}

// A day of random changes, each in the middle of a second, run twice: once ticking every
// 200 ms as the program used to, once ticking only when the schedule asks. Every rule that
// fired, in order, with the text each display painted, must be the same.
std::vector<std::string> RunDay(bool scheduled, unsigned seed) {
  TTestPlatform platform;
  TRecordingRules rules(platform);
  TClockLoop loop;
  const std::int64_t start = At(0, 0, 0), end = At(23, 59, 59, 999);
  const auto setNow = [&](std::int64_t ms) {
    platform.clock.local = FromLocalMilliseconds(ms);
    platform.clock.ticks = static_cast<std::uint32_t>(ms - start + 1000);
  };
  setNow(start);
  for (const TDisplayKind kind : {dkDigitalClock, dkDigitalClock, dkCountdown, dkStopwatch}) {
    TDisplay* d = rules.displays.Add(kind);
    d->SetActive(true);
    d->Show();
  }
  rules.displays.Primary = &rules.displays[0];
  for (std::size_t i = 0; i < rules.displays.Count(); ++i)
    TTestPlatform::BitmapOf(rules.displays[i]).Recorder().fillPixels = false;
  // Fewer copies of the text to draw: a day of seconds takes a while.
  for (std::size_t i = 0; i < rules.displays.Count(); ++i) {
    auto& digital = static_cast<TDisplayDigital&>(rules.displays[i]);
    digital.Shadow = 0;
    digital.Font.OutlineWidth = 0;
  }
  rules.options.ChimeStart = 6.0 / 24;
  rules.options.ChimeStop = 22.0 / 24;

  std::mt19937 random(seed);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto change = [&] {
    TDisplay& d = rules.displays[static_cast<std::size_t>(pick(0, 3))];
    const std::int64_t now = LocalMilliseconds(platform.clock.local);
    switch (pick(0, 9)) {
      case 0:
        d.IsVisible() ? d.Hide() : d.Show();
        break;
      case 1:
        rules.displays[static_cast<std::size_t>(pick(0, 1))].SetText(pick(0, 1) ? "&hh;:&nn;:&ss;"
                                                                                : "&hh;:&nn;");
        break;
      case 2: {
        auto& c = static_cast<TDisplayCountdown&>(rules.displays[2]);
        c.Visibility[cuSeconds] = pick(0, 1) ? uvAlways : uvNever;
        const std::int64_t final = now / 1000 * 1000 + pick(-30, 200) * 1000;
        c.SetFinalTime(SystemTimeToDateTime(FromLocalMilliseconds(final)));
        break;
      }
      case 3: {
        auto& s = static_cast<TDisplayStopwatch&>(rules.displays[3]);
        s.Running() ? s.Stop(pick(0, 1)) : s.Start(pick(0, 1));
        break;
      }
      case 4:
        pick(0, 1) ? d.Flash(0x111111, 0x222222) : d.StopFlashing();
        break;
      case 5:
        rules.displays.InvalidateAll();
        break;
      case 6:
        rules.idle = !rules.idle;
        break;
      case 7:
        pick(0, 1) ? void(rules.options.AOT5s = !rules.options.AOT5s)
                   : void(rules.options.ChimeEnabled = !rules.options.ChimeEnabled);
        break;
      case 8: {
        TEvent& e = rules.events.Add();
        e.ActionShowMessage = TEvent::smNever;
        e.SetTrigger(SystemTimeToDateTime(FromLocalMilliseconds(now + pick(0, 300) * 1000)));
        break;
      }
      default:
        for (std::size_t i = 0; i < rules.events.Count(); ++i) {
          TEvent& e = rules.events[i];
          if (!e.NotifyWindow()) continue;
          if (pick(0, 1)) {
            e.RemindLater(pick(1, 3));
            e.CloseNotification();
          } else {
            static_cast<TFakeNotifyWindow*>(e.NotifyWindow())->CloseByUser();
          }
        }
    }
  };

  std::int64_t nextChange = start + 500, wake = start;
  std::int64_t now = start;
  while (now <= end) {
    // The fixed step ticks at 37 ms past each fifth of a second; the schedule a few ms after
    // the second it asked for.
    const std::int64_t nextTick =
        scheduled ? wake + TClockLoop::WakeLead : (now - start - 37) / 200 * 200 + 200 + 37 + start;
    now = std::min(nextChange, nextTick);
    if (now > end) break;
    setNow(now);
    if (now == nextChange) {
      change();
      nextChange = now / 1000 * 1000 + pick(1, 400) * 1000 + 500;
    } else {
      loop.Tick(platform.clock.local, rules);
    }
    if (scheduled) {
      wake = loop.NextWake(platform.clock.local, rules);
      EXPECT_GT(wake, now);
      EXPECT_LE(wake - now, TClockLoop::MaxSleep);
    }
  }
  return rules.log;
}

TEST(ClockScheduleDifference, ADayOfRandomStatesFiresTheSameRulesAsTheFixedStep) {
  const std::vector<std::string> fixed = RunDay(false, 27), scheduled = RunDay(true, 27);
  ASSERT_GT(fixed.size(), 10000u);
  std::size_t i = 0;
  while (i < fixed.size() && i < scheduled.size() && fixed[i] == scheduled[i]) ++i;
  ASSERT_EQ(i, fixed.size()) << "first difference at line " << i
                             << ":\n  fixed:     " << (i < fixed.size() ? fixed[i] : "(end)")
                             << "\n  scheduled: "
                             << (i < scheduled.size() ? scheduled[i] : "(end)");
}

}  // namespace
