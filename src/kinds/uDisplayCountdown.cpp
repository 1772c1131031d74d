#include "kinds/uDisplayCountdown.h"

#include <algorithm>
#include <cstdlib>

#include "config/uMultilanguage.h"
#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "support/uPlatform.h"

namespace {

std::unique_ptr<TPainter> NewCountdownPainter(TDisplay& display) {
  return std::make_unique<TPainterCountdown>(display);
}

using C = TDisplayCountdown;

// The look: what a preset carries, after the stored visibility.
const TStoredValue<C> kUnitTexts[] = {
    {"DTB", &C::DaysBefore},    {"DTA", &C::DaysAfter},     {"HTB", &C::HoursBefore},
    {"HTA", &C::HoursAfter},    {"MTB", &C::MinutesBefore}, {"MTA", &C::MinutesAfter},
    {"STB", &C::SecondsBefore}, {"STA", &C::SecondsAfter},
};

const TStoredValue<C> kCountdownValues[] = {
    {"Text", &C::CountdownText, TStoredForm::MultiLine},
    {"ZeroText", &C::ZeroText, TStoredForm::MultiLine},
    {"FinalTime", TAccessor<C, double>{[](const C& c) { return c.FinalTime(); },
                                       [](C& c, double v) { c.SetFinalTime(v); }}},
};

constexpr char kFormat[] = "Format";
constexpr char kCommandTimer[] = "CommandTimer";
constexpr std::int64_t kMsPerSecond = 1000, kMsPerMinute = 60000;

std::int64_t LocalNowMilliseconds() { return DateTimeToMilliseconds(LocalDateTimeNow()); }

}  // namespace

TDisplayCountdown::TDisplayCountdown() : TDisplayDigital(dkCountdown) { SetNeedsSeconds(true); }

TPainterClass TDisplayCountdown::GetPainterClass() const { return &NewCountdownPainter; }

void TDisplayCountdown::SetDefaults() {
  TDisplayDigital::SetDefaults();
  TSystemTime midnight = Platform().clock->LocalNow();
  midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
  SetFinalTime(SystemTimeToDateTime(midnight) + 1);
  CountdownText = GetText("DEFAULT_CDOWN_TEXT1", "|\r\nto midnight");
  ZeroText = GetText("DEFAULT_CDOWN_TEXT2", "Write your message here.");
  Visibility = {uvIfPositive, uvIfPositive, uvAlways, uvAlways};
  for (std::string* before : {&DaysBefore, &HoursBefore, &MinutesBefore, &SecondsBefore})
    before->clear();
  // Whole strings: gcc 12 warns wrongly about assigning a one-letter literal.
  DaysAfter = std::string("d ");
  HoursAfter = std::string("h ");
  MinutesAfter = std::string("m ");
  SecondsAfter = std::string("s");
}

std::int64_t TDisplayCountdown::MillisecondsLeft() const {
  return DateTimeToMilliseconds(FFinalTime) - LocalNowMilliseconds();
}

void TDisplayCountdown::UpdateNeedsSeconds() {
  // Within a millisecond of the final time counts as reached.
  SetNeedsSeconds(MillisecondsLeft() >= 1);
}

bool TDisplayCountdown::NeedsRepaint() {
  const std::int64_t minutes = std::llabs(MillisecondsLeft()) / kMsPerMinute;
  const bool same = Visibility[cuSeconds] == uvNever && minutes == FLastMinuteCount;
  FLastMinuteCount = minutes;
  return !same;
}

std::optional<std::int64_t> TDisplayCountdown::NextRepaintWithinMinute(std::int64_t nowMs) {
  const std::optional<std::int64_t> next = TDisplayDigital::NextRepaintWithinMinute(nowMs);
  if (!next || Visibility[cuSeconds] != uvNever || Dirty() || Flashing()) return next;
  // Without seconds NeedsRepaint waits for another count of whole minutes left, taken a
  // moment after the second begins; that count changes only where the time left (or past)
  // is whole minutes, one second in each minute.
  const std::int64_t finalMs = DateTimeToMilliseconds(FFinalTime);
  if (std::llabs(finalMs - (*next + 1)) / kMsPerMinute != FLastMinuteCount) return next;
  return *next + ((finalMs - *next) % kMsPerMinute + kMsPerMinute) % kMsPerMinute;
}

void TDisplayCountdown::SetFinalTime(TDateTime moment) {
  if (!IsDateTimeInRange(moment)) return;
  TSystemTime st = DateTimeToSystemTime(moment);
  st.wMilliseconds = 0;
  FFinalTime = SystemTimeToDateTime(st);
  UpdateNeedsSeconds();
}

std::string TDisplayCountdown::CurrentText() {
  // Whole seconds of now, a second later when the seconds are hidden so that
  // the minutes shown round up.
  std::int64_t now = LocalNowMilliseconds();
  now -= ((now % kMsPerSecond) + kMsPerSecond) % kMsPerSecond;
  if (Visibility[cuSeconds] == uvNever) now += kMsPerSecond;
  const std::int64_t left = DateTimeToMilliseconds(FFinalTime) - now;
  if (left < 1) {
    UpdateNeedsSeconds();
    return ZeroText;
  }
  // Every second begun counts, so a whole hour left reads as exactly that.
  return InsertCounter(CountdownText, Counter((left + kMsPerSecond - 1) / kMsPerSecond));
}

std::string TDisplayCountdown::Counter(std::int64_t total) const {
  const auto shown = [&](std::size_t unit) { return Visibility[unit] != uvNever; };
  std::array<std::int64_t, 4> v{};
  v[cuSeconds] = total;
  v[cuMinutes] = total / 60;
  v[cuHours] = v[cuMinutes] / 60;
  v[cuDays] = v[cuHours] / 24;
  // A hidden unit lets the next smaller one show the whole amount; a hidden
  // smaller unit rounds the next larger one up.
  if (shown(cuMinutes)) v[cuSeconds] %= 60;
  if (shown(cuHours)) v[cuMinutes] %= 60;
  if (!shown(cuSeconds)) ++v[cuMinutes];
  if (shown(cuDays)) v[cuHours] %= 24;
  if (!shown(cuMinutes)) ++v[cuHours];
  if (!shown(cuHours)) ++v[cuDays];
  // Only a unit rounded up can reach its limit, and it carries only into a unit
  // that is shown: a hidden one holds the whole amount, and the unit above a
  // hidden one was rounded up already.
  constexpr std::int64_t limit[] = {0, 24, 60, 60};
  for (std::size_t unit = cuSeconds; unit > cuDays; --unit) {
    if (shown(unit) && shown(unit - 1) && v[unit] == limit[unit]) {
      v[unit] = 0;
      ++v[unit - 1];
    }
  }

  const std::string* before[] = {&DaysBefore, &HoursBefore, &MinutesBefore, &SecondsBefore};
  const std::string* after[] = {&DaysAfter, &HoursAfter, &MinutesAfter, &SecondsAfter};
  std::string counter;
  // A shown unit from here up has a value above zero. Hidden units do not
  // count: the one above a hidden unit was rounded up and is never zero.
  bool larger = false;
  for (std::size_t unit = cuDays; unit <= cuSeconds; ++unit) {
    larger = larger || (shown(unit) && v[unit] > 0);
    // The seconds show only when always: their "if above zero" is not offered.
    const bool ifPositive = Visibility[unit] == uvIfPositive && unit != cuSeconds && larger;
    if (Visibility[unit] == uvAlways || ifPositive)
      counter += *before[unit] + TwoDigits(v[unit]) + *after[unit];
  }
  return counter;
}

void TDisplayCountdown::NormaliseVisibility() {
  TVisibility& v = Visibility;
  // A value this version does not know shows the unit rather than losing it.
  for (std::uint8_t& unit : v)
    if (unit > uvIfPositive) unit = uvAlways;
  if (v[cuSeconds] == uvIfPositive) v[cuSeconds] = uvAlways;
  if (std::find(v.begin(), v.end(), uvAlways) == v.end()) {
    const auto smallest = std::find(v.rbegin(), v.rend(), uvIfPositive);
    *(smallest != v.rend() ? smallest : v.rbegin()) = uvAlways;
  }
  bool seen = false;
  for (std::size_t unit = cuDays; unit < cuSeconds; ++unit) {
    std::uint8_t& next = v[unit + 1];
    if (v[unit] == uvAlways) {
      seen = true;
    } else if (v[unit] == uvIfPositive && (seen || next == uvNever)) {
      v[unit] = uvAlways;
      seen = true;
    } else if (v[unit] == uvNever && next != uvNever && seen) {
      next = uvNever;
    }
  }
}

void TDisplayCountdown::LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplayDigital::LoadFromRegistry(registry, presetOnly);
  // Shorter than four bytes fills only its own; anything else that cannot be
  // read counts as absent.
  try {
    if (registry.ValueExists(kFormat))
      registry.ReadBinaryData(kFormat, Visibility.data(), static_cast<int>(Visibility.size()));
  } catch (const ERegistryException&) {
  }
  LoadValues<C>(registry, *this, kUnitTexts);
  if (!presetOnly) {
    LoadValues<C>(registry, *this, kCountdownValues);
    CommandTimer = registry.ReadBoolOr(kCommandTimer, false);
  }
  NormaliseVisibility();
  UpdateNeedsSeconds();
}

void TDisplayCountdown::SaveToRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplayDigital::SaveToRegistry(registry, presetOnly);
  registry.WriteBinaryData(kFormat, Visibility.data(), static_cast<int>(Visibility.size()));
  SaveValues<C>(registry, *this, kUnitTexts);
  if (presetOnly) return;
  SaveValues<C>(registry, *this, kCountdownValues);
  // Only on the one countdown the command made: the others' keys stay as they were.
  if (CommandTimer) registry.WriteBool(kCommandTimer, true);
}

void TDisplayCountdown::BuildMenu(const TAddMenuItem& addItem) const {
  TDisplayDigital::BuildMenu(addItem);
  addItem("-", 0, false, false, true);
  addItem(GetText("MNU_COUNTDOWN_TODAY", "Today"), cmdCountdownToday, false, false, true);
  addItem(GetText("MNU_COUNTDOWN_SD", "Add one day"), cmdCountdownAddDay, false, false, true);
  addItem(GetText("MNU_COUNTDOWN_SW", "Add one week"), cmdCountdownAddWeek, false, false, true);
}

void TDisplayCountdown::MenuCommand(int id) {
  switch (id) {
    case cmdCountdownToday: {
      // Today's date at the final time's time of day, even when that has passed.
      TSystemTime moment = DateTimeToSystemTime(FFinalTime);
      const TSystemTime today = Platform().clock->LocalNow();
      moment.wYear = today.wYear;
      moment.wMonth = today.wMonth;
      moment.wDay = today.wDay;
      SetFinalTime(SystemTimeToDateTime(moment));
      break;
    }
    case cmdCountdownAddDay:
      SetFinalTime(FFinalTime + 1);
      break;
    case cmdCountdownAddWeek:
      SetFinalTime(FFinalTime + 7);
      break;
    default:
      TDisplayDigital::MenuCommand(id);
      return;
  }
  Repaint();
}

void TPainterCountdown::Prepare(TBitmap32&) {
  FText = static_cast<TDisplayCountdown&>(Display()).CurrentText();
}
