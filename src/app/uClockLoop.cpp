#include "app/uClockLoop.h"

#include <utility>

std::optional<TTickChanges> TClockLoop::Advance(const TSystemTime& now) {
  const int hour = now.wHour, minute = now.wMinute, second = now.wSecond;
  const TDateTime day = DaysFromCivil(now.wYear, now.wMonth, now.wDay);
  if (day == FLastDay && hour == FLastHour && minute == FLastMinute && second == FLastSecond)
    return std::nullopt;
  TTickChanges changes{hour != FLastHour, minute != FLastMinute, second != FLastSecond, second};
  FLastDay = day;
  FLastHour = hour;
  FLastMinute = minute;
  FLastSecond = second;
  return changes;
}

bool TClockLoop::TopmostRefreshDue() {
  if (++FTopmostCounter < 5) return false;
  FTopmostCounter = 0;
  return true;
}

bool TClockLoop::EventCheckDue(bool minuteChanged, bool idle) {
  FEventCheckPending = FEventCheckPending || minuteChanged;
  return idle && std::exchange(FEventCheckPending, false);
}
