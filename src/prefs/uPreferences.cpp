#include "prefs/uPreferences.h"

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "display/uDisplay.h"
#include "display/uDisplayList.h"
#include "events/uEvents.h"
#include "support/uTools.h"

namespace {

constexpr TDateTime kMillisecond = 1.0 / 86'400'000.0;

// A time of day without its milliseconds.
TDateTime WholeSeconds(TDateTime timeOfDay) {
  return std::floor(timeOfDay * 86'400.0 + kMillisecond) / 86'400.0;
}

}  // namespace

const std::array<TSoundRow, 4> SoundRows = {{
    {&TOptions::ChimeQuarter, &TOptions::ChimeQuarterSound},
    {&TOptions::ChimeHalf, &TOptions::ChimeHalfSound},
    {&TOptions::ChimeThreeQuarters, &TOptions::ChimeThreeQuartersSound},
    {&TOptions::ChimeTop, &TOptions::ChimeTopSound},
}};

int IntervalPosition(std::int32_t intervalMs) {
  return std::clamp(intervalMs / 100, 0, IntervalSteps);
}

std::string IntervalLabel(int position) { return std::to_string(position * 100) + " ms"; }

TChimeHours OrderChimeHours(TDateTime startTimeOfDay, TDateTime stopTimeOfDay) {
  if (startTimeOfDay > stopTimeOfDay) stopTimeOfDay = startTimeOfDay;
  return {WholeSeconds(startTimeOfDay), WholeSeconds(stopTimeOfDay)};
}

bool SoundRowUsable(std::size_t row, const TOptions& options) {
  return !options.ChimeTowerClock || row == 0 || row == 3;
}

TPreferenceActions PreferenceActions(std::size_t displays, bool displaySelected, std::size_t events,
                                     bool eventSelected) {
  return {displays < TDisplayList::MaxDisplays, displaySelected, events < TEvents::MaxEvents,
          eventSelected};
}

std::vector<std::string> DisplayRowTexts(const TDisplay& display, const TDisplayList& list) {
  // A display of a kind this version does not know is kept as stored; it still gets a name.
  std::string kind = display.GetKindName();
  if (kind.empty())
    kind = FormatInteger(GetText("UNKNOWN_DISPLAY", "Unknown display (kind %d)"), display.Kind());
  return {kind, display.Description,
          list.Primary == &display ? GetText("YES", "yes") : std::string()};
}

std::vector<std::string> EventRowTexts(const TEvent& event) {
  return {ShortDateTimeText(event.Trigger()), event.Message, event.Describe()};
}

bool IsEventRowDone(const TEvent& event) {
  return event.Repeat == 0 && event.State == TEvent::stDone;
}

bool EventRowBefore(const TEvent& a, const TEvent& b) {
  return a.Trigger() < b.Trigger() - kMillisecond;
}

std::string TooltipAfterLanguageChange(const std::string& tooltip, const std::string& oldDefault,
                                       const std::string& newDefault) {
  return tooltip == oldDefault ? newDefault : tooltip;
}
