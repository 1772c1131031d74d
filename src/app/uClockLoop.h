#pragma once

#include <optional>

#include "support/uDateTime.h"

struct TTickChanges {
  bool hourChanged = false;
  bool minuteChanged = false;
  bool secondChanged = false;
  int second = 0;
};

// Turns the 200 ms timer into at most one effective tick per second of local time.
class TClockLoop {
 public:
  // The changes since the previous effective tick, or nothing when the local
  // time (date included) still shows the same second.
  std::optional<TTickChanges> Advance(const TSystemTime& now);
  // Counts effective ticks; true on every fifth.
  bool TopmostRefreshDue();
  // Whether the events are checked at this tick: once per new minute, only while
  // the program is idle, and a check missed while it was busy at the first idle tick.
  bool EventCheckDue(bool minuteChanged, bool idle);

 private:
  int FLastHour = -1;
  int FLastMinute = -1;
  int FLastSecond = -1;
  TDateTime FLastDay = 0;
  unsigned FTopmostCounter = 0;
  bool FEventCheckPending = false;
};
