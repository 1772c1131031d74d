#include "events/uEventRule.h"

#include <cmath>

namespace {

using R = TEventRule;

TDateTime WholeDays(TDateTime t) { return std::floor(t); }

// Nothing later in reach means damaged data: a one-shot rule due at once.
R DueAt(R rule, TDateTime after) {
  rule.Repeat = R::rpOnce;
  rule.Trigger = after;
  return rule;
}

R NextDailyOrWeekly(R rule, TDateTime after) {
  if (rule.Repeat == R::rpDaily && (rule.RepeatDaily & R::AllDays) == 0) rule.RepeatDaily = 1;
  const TDateTime time = TimeOfDay(rule.Trigger);
  for (int i = 0; i != R::SearchDays; ++i) {
    const TDateTime candidate = WholeDays(after) + i + time;
    const unsigned day = IsoWeekday(candidate);
    const bool matches =
        rule.Repeat == R::rpDaily ? (rule.RepeatDaily >> day & 1) != 0 : day == rule.RepeatWeekly;
    if (matches && IsLater(candidate, after)) {
      rule.Trigger = candidate;
      return rule;
    }
  }
  return DueAt(rule, after);
}

R NextMonthly(R rule, TDateTime after) {
  const TDateTime time = TimeOfDay(rule.Trigger);
  const TCivilDate today = CivilFromDays(static_cast<std::int32_t>(WholeDays(after)));
  for (int i = 0; i != R::SearchMonths; ++i) {
    const int months = static_cast<int>(today.month) - 1 + i;  // from January of today's year
    const int year = today.year + months / 12;
    const auto month = static_cast<unsigned>(months % 12 + 1);
    // Months too short for the day are skipped, not clamped.
    if (rule.RepeatMonthly >= 1 && DaysInMonth(year, month) >= rule.RepeatMonthly) {
      const TDateTime candidate = DaysFromCivil(year, month, rule.RepeatMonthly) + time;
      if (IsLater(candidate, after)) {
        rule.Trigger = candidate;
        return rule;
      }
    }
  }
  return DueAt(rule, after);
}

}  // namespace

TEventRule NextOccurrence(const TEventRule& rule, TDateTime after) {
  switch (rule.Repeat) {
    case R::rpDaily:
    case R::rpWeekly:
      return NextDailyOrWeekly(rule, after);
    case R::rpMonthly:
      return NextMonthly(rule, after);
    default:
      return rule;
  }
}

bool IsLater(TDateTime a, TDateTime b) { return a - b >= 1.0 / 86400000.0; }

unsigned IsoWeekday(TDateTime t) {
  return (WeekdayOfDays(static_cast<std::int32_t>(WholeDays(t))) + 6) % 7;
}

TEventRule LatestOccurrence(const TEventRule& rule, TDateTime now) {
  constexpr int kMostSteps = 400;
  TEventRule latest = rule;
  for (int step = 0; step < kMostSteps; ++step) {
    const TEventRule next = NextOccurrence(latest, latest.Trigger);
    // A one-shot rule stays; a damaged one that became one-shot is not followed.
    if (next.Repeat != rule.Repeat || !IsLater(next.Trigger, latest.Trigger) ||
        IsLater(next.Trigger, now))
      break;
    latest = next;
  }
  return latest;
}
