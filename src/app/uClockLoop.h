#pragma once

#include <cstdint>
#include <optional>

#include "support/uDateTime.h"

struct TTickChanges {
  bool hourChanged = false;
  bool minuteChanged = false;
  bool secondChanged = false;
  int second = 0;
};

// What one tick drives, in its order, and what the schedule reads of the program. The main
// window implements it on the program's objects; tests on the same objects with a record.
class TClockRules {
 public:
  virtual ~TClockRules() = default;
  virtual void TickDisplays(const TTickChanges& changes) = 0;
  virtual void CheckChime(const TSystemTime& now, bool minuteChanged) = 0;
  virtual bool IsIdle() const = 0;
  virtual void CheckEvents() = 0;
  virtual bool TopmostRefreshOn() const = 0;
  // The five seconds are up; the window still decides whether the moment suits it.
  virtual void RefreshTopmost() = 0;
  // The first whole second after nowMs (local milliseconds since 1899-12-30) at which a shown
  // display repaints within its minute; nothing when only a new minute repaints them.
  virtual std::optional<std::int64_t> NextDisplayRepaint(std::int64_t nowMs) = 0;
};

// Local milliseconds since 1899-12-30 of a time record, exactly.
std::int64_t LocalMilliseconds(const TSystemTime& time);

// Turns timer messages into at most one effective tick per second of local time, and says
// when the next one is worth waking for.
class TClockLoop {
 public:
  // The old fixed step, kept for comparing the cost of the two in the benchmark.
  static constexpr unsigned FixedStep = 200;
  // Never sleep longer: a clock change the system does not announce is seen within a minute.
  static constexpr std::int64_t MaxSleep = 60000;
  // How far past the second a timer aims, so that the time it reads is already the new one.
  static constexpr std::int64_t WakeLead = 4;

  // The timer's delay from nowMs for a wake at wakeMs (both local milliseconds).
  static std::int64_t TimerDelay(std::int64_t nowMs, std::int64_t wakeMs);

  // The changes since the previous effective tick, or nothing when the local
  // time (date included) still shows the same second.
  std::optional<TTickChanges> Advance(const TSystemTime& now);
  // Counts effective ticks; true on every fifth.
  bool TopmostRefreshDue();
  // Whether the events are checked at this tick: once per new minute, only while
  // the program is idle, and a check missed while it was busy at the first idle tick.
  bool EventCheckDue(bool minuteChanged, bool idle);

  // Applies every rule of the loop when now is a new second; false when it is not.
  bool Tick(const TSystemTime& now, TClockRules& rules);
  // The local moment (milliseconds since 1899-12-30, a whole second) of the next tick that
  // can change anything, given the program's state now. Called after every tick and every
  // change that may move it.
  std::int64_t NextWake(const TSystemTime& now, TClockRules& rules);

 private:
  // Counts the seconds the topmost option was on since the last look; the fixed step
  // ticked once for each, and sleeping through them must count them alike.
  void CountTopmostSeconds(std::int64_t second, bool on, bool tick);

  int FLastHour = -1;
  int FLastMinute = -1;
  int FLastSecond = -1;
  TDateTime FLastDay = 0;
  unsigned FTopmostCounter = 0;
  bool FEventCheckPending = false;
  std::int64_t FTopmostSeen = -1;  // the second of the last look, -1 before the first
  bool FTopmostOn = false;         // the option at that look
  bool FSeenCounted = false;       // that second is counted
  bool FSeenTicked = false;        // that second had its tick
};
