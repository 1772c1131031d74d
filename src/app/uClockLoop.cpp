#include "app/uClockLoop.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::int64_t kMsPerSecond = 1000, kMsPerMinute = 60000, kMsPerDay = 86400000;
// The fixed step's topmost refresh came on every fifth tick, one tick a second.
constexpr unsigned kTopmostSeconds = 5;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

}  // namespace

std::int64_t LocalMilliseconds(const TSystemTime& time) {
  return std::int64_t{DaysFromCivil(time.wYear, time.wMonth, time.wDay)} * kMsPerDay +
         ((time.wHour * 60 + time.wMinute) * 60 + time.wSecond) * kMsPerSecond + time.wMilliseconds;
}

std::int64_t TClockLoop::TimerDelay(std::int64_t nowMs, std::int64_t wakeMs) {
  return std::clamp<std::int64_t>(wakeMs - nowMs, 0, MaxSleep) + WakeLead;
}

std::optional<TTickChanges> TClockLoop::Advance(const TSystemTime& now) {
  const int hour = now.wHour, minute = now.wMinute, second = now.wSecond;
  const TDateTime day = DaysFromCivil(now.wYear, now.wMonth, now.wDay);
  if (day == FLastDay && hour == FLastHour && minute == FLastMinute && second == FLastSecond)
    return std::nullopt;
  // A clock that jumped by whole days (a sleep, a change of date) shows a new hour and minute too,
  // so that displays repaint and events are checked at once.
  const bool newDay = day != FLastDay;
  TTickChanges changes{newDay || hour != FLastHour,
                       newDay || hour != FLastHour || minute != FLastMinute, second != FLastSecond,
                       second};
  FLastDay = day;
  FLastHour = hour;
  FLastMinute = minute;
  FLastSecond = second;
  return changes;
}

bool TClockLoop::TopmostRefreshDue() {
  if (++FTopmostCounter < kTopmostSeconds) return false;
  FTopmostCounter = 0;
  return true;
}

bool TClockLoop::EventCheckDue(bool minuteChanged, bool idle) {
  FEventCheckPending = FEventCheckPending || minuteChanged;
  return idle && std::exchange(FEventCheckPending, false);
}

void TClockLoop::CountTopmostSeconds(std::int64_t second, bool on, bool tick) {
  if (second == FTopmostSeen) {
    // A look at this second came before its tick: the option as the tick finds it counts.
    if (tick && !FSeenTicked && on && !FSeenCounted) ++FTopmostCounter;
    FSeenCounted = FSeenCounted || (tick && on);
    FSeenTicked = FSeenTicked || tick;
    FTopmostOn = on;
    return;
  }
  // The seconds slept through had the option as it was at the last look (every change of it
  // is a look); a tick's own second counts when the option is on now. A clock set back or far
  // ahead counts as the fixed step did: one tick.
  std::int64_t between = 0;
  if (FTopmostSeen >= 0 && FTopmostOn)
    between = std::clamp<std::int64_t>(second - FTopmostSeen - (tick ? 1 : 0), 0, kTopmostSeconds);
  FTopmostCounter += static_cast<unsigned>(between);
  if (tick && on) ++FTopmostCounter;
  FSeenCounted = tick ? on : between > 0;
  FSeenTicked = tick;
  FTopmostSeen = second;
  FTopmostOn = on;
}

bool TClockLoop::Tick(const TSystemTime& now, TClockRules& rules) {
  const std::optional<TTickChanges> t = Advance(now);
  if (!t) return false;
  rules.TickDisplays(*t);
  rules.CheckChime(now, t->minuteChanged);
  // An event that fell due while the program was busy fires as soon as it is idle again.
  if (EventCheckDue(t->minuteChanged, rules.IsIdle())) rules.CheckEvents();
  const bool topmost = rules.TopmostRefreshOn();
  CountTopmostSeconds(FloorDiv(LocalMilliseconds(now), kMsPerSecond), topmost, true);
  if (topmost && FTopmostCounter >= kTopmostSeconds) {
    FTopmostCounter = 0;
    rules.RefreshTopmost();
  }
  return true;
}

std::int64_t TClockLoop::NextWake(const TSystemTime& now, TClockRules& rules) {
  const std::int64_t nowMs = LocalMilliseconds(now);
  const std::int64_t second = FloorDiv(nowMs, kMsPerSecond);
  const std::int64_t nextSecond = (second + 1) * kMsPerSecond;
  // Every new minute repaints every display and may chime or fire an event.
  std::int64_t wake = (FloorDiv(nowMs, kMsPerMinute) + 1) * kMsPerMinute;
  static_assert(kMsPerMinute <= MaxSleep);
  // A missed event check waits for the first idle tick, which any second may be.
  if (FEventCheckPending) wake = nextSecond;
  if (const std::optional<std::int64_t> display = rules.NextDisplayRepaint(nowMs))
    wake = std::min(wake, std::max(*display, nextSecond));
  const bool topmost = rules.TopmostRefreshOn();
  CountTopmostSeconds(second, topmost, false);
  if (topmost) {
    const std::int64_t left =
        FTopmostCounter >= kTopmostSeconds ? 1 : kTopmostSeconds - FTopmostCounter;
    wake = std::min(wake, (second + left) * kMsPerSecond);
  }
  return wake;
}
