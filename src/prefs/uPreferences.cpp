#include "prefs/uPreferences.h"

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "display/uDisplay.h"
#include "display/uDisplayList.h"
#include "events/uEvents.h"
#include "resources/uResourceIds.h"
#include "support/uTools.h"

namespace {

constexpr TDateTime kMillisecond = 1.0 / 86'400'000.0;

// A time of day without its milliseconds.
TDateTime WholeSeconds(TDateTime timeOfDay) {
  return std::floor(timeOfDay * 86'400.0 + kMillisecond) / 86'400.0;
}

}  // namespace

const std::array<TSoundRow, 4> SoundRows = {{
    {&TOptions::ChimeQuarter, &TOptions::ChimeQuarterSound, QuarterStroke},
    {&TOptions::ChimeHalf, &TOptions::ChimeHalfSound, QuarterStroke},
    {&TOptions::ChimeThreeQuarters, &TOptions::ChimeThreeQuartersSound, QuarterStroke},
    {&TOptions::ChimeTop, &TOptions::ChimeTopSound, HourStroke},
}};

void SwitchSoundRow(TOptions& options, std::size_t row, bool on) {
  const TSoundRow& sound = SoundRows[row];
  options.*sound.enabled = on;
  if (on) options.*sound.file = SoundOrShipped(options.*sound.file, sound.shipped);
}

int IntervalPosition(std::int32_t intervalMs) {
  return std::clamp(intervalMs / 100, 0, IntervalSteps);
}

std::int32_t IntervalFromPosition(int position) {
  return std::clamp(position, 0, IntervalSteps) * 100;
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

namespace {

// The first control of each part, in the parts' order; a part's controls follow row by row.
constexpr int kSoundParts[] = {IDC_PREFS_SOUND_CHECK_QUARTER, IDC_PREFS_SOUND_FILE_QUARTER,
                               IDC_PREFS_SOUND_BROWSE_QUARTER, IDC_PREFS_SOUND_PLAY_QUARTER,
                               IDC_PREFS_SOUND_STOP_QUARTER};

}  // namespace

int SoundControlId(std::size_t row, TSoundPart part) {
  return kSoundParts[static_cast<std::size_t>(part)] + static_cast<int>(row);
}

std::optional<TSoundControl> SoundControlOf(int id) {
  for (std::size_t part = 0; part < std::size(kSoundParts); ++part)
    if (id >= kSoundParts[part] && id < kSoundParts[part] + static_cast<int>(SoundRows.size()))
      return TSoundControl{static_cast<std::size_t>(id - kSoundParts[part]),
                           static_cast<TSoundPart>(part)};
  return std::nullopt;
}

const std::array<TOptionBox, 7> OptionBoxes = {{
    {IDC_PREFS_START_AUTOMATICALLY, &TOptions::StartAutomatically, TOptionEffect::None},
    {IDC_PREFS_AUTO_HIDE, &TOptions::AutoHide, TOptionEffect::None},
    {IDC_PREFS_HIDE_ALL, &TOptions::AutoHideAllDisplays, TOptionEffect::None},
    {IDC_PREFS_SHOW_TRAY_ICON, &TOptions::ShowTrayIcon, TOptionEffect::TrayIcon},
    {IDC_PREFS_AOT_5S, &TOptions::AOT5s, TOptionEffect::None},
    {IDC_PREFS_CHIME_ENABLED, &TOptions::ChimeEnabled, TOptionEffect::RefreshSoundRows},
    {IDC_PREFS_TOWER_CLOCK, &TOptions::ChimeTowerClock, TOptionEffect::RefreshSoundRows},
}};

const TOptionBox* OptionBoxOf(int id) {
  const auto box = std::find_if(OptionBoxes.begin(), OptionBoxes.end(),
                                [id](const TOptionBox& b) { return b.id == id; });
  return box == OptionBoxes.end() ? nullptr : &*box;
}

int RowAfterDelete(int deletedRow, int count) {
  return std::min(std::max(deletedRow, 0), count - 1);
}

bool SwitchEvent(TEvent& event, bool on, TDateTime now) {
  event.SetActive(on);
  if (!on) return false;
  const TDateTime day = std::floor(event.Trigger());
  event.UpdateTrigger(now, true, false);
  return std::floor(event.Trigger()) != day;
}

TLanguageChoice LanguageChoice(int index, const std::string& entry) {
  if (index == 0) return {"english", true};
  return {TMultiLanguage::LanguageOfEntry(entry), false};
}
