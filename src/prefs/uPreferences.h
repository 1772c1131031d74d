#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/uDateTime.h"

class TDisplay;
class TDisplayList;
class TEvent;
class TEvents;
class TOptions;

// What the preferences window shows and decides; the window moves these to
// and from its controls.

// The auto-hide delays: a slider of 0 to 20 steps of 100 ms.
constexpr int IntervalSteps = 20;
int IntervalPosition(std::int32_t intervalMs);
std::int32_t IntervalFromPosition(int position);
std::string IntervalLabel(int position);

// The chime hours after a change of either picker: the stop never before the
// start, both without milliseconds.
struct TChimeHours {
  TDateTime start = 0;
  TDateTime stop = 0;
};
TChimeHours OrderChimeHours(TDateTime startTimeOfDay, TDateTime stopTimeOfDay);

// One row of chime sounds: its switch and its file among the options.
struct TSoundRow {
  bool TOptions::*enabled;
  std::string TOptions::*file;
  const char* shipped;  // what the row plays when switched on without a file
};
extern const std::array<TSoundRow, 4> SoundRows;  // quarter, half, three quarters, top
// Switches a row on or off; a row switched on without a file gets the shipped sound.
void SwitchSoundRow(TOptions& options, std::size_t row, bool on);
// The tower clock strikes with the quarter and hour sounds only.
bool SoundRowUsable(std::size_t row, const TOptions& options);
// The controls of a row of chime sounds.
enum class TSoundPart { Check, File, Browse, Play, Stop };
struct TSoundControl {
  std::size_t row;
  TSoundPart part;
};
int SoundControlId(std::size_t row, TSoundPart part);
// None for a control of no row.
std::optional<TSoundControl> SoundControlOf(int id);

// The check boxes that each switch one option, and what their click does besides.
enum class TOptionEffect { None, TrayIcon, RefreshSoundRows };
struct TOptionBox {
  int id;
  bool TOptions::*flag;
  TOptionEffect effect;
};
extern const std::array<TOptionBox, 7> OptionBoxes;
const TOptionBox* OptionBoxOf(int id);

// Which of the window's actions can be taken.
struct TPreferenceActions {
  bool addDisplay, displaySelected, addEvent, eventSelected;
};
TPreferenceActions PreferenceActions(std::size_t displays, bool displaySelected, std::size_t events,
                                     bool eventSelected);

// The columns of a display row: kind, description, whether it is the primary.
std::vector<std::string> DisplayRowTexts(const TDisplay& display, const TDisplayList& list);
// The columns of an event row: when, message, how it repeats.
std::vector<std::string> EventRowTexts(const TEvent& event);
// Rows of a one-shot that is done are struck out.
bool IsEventRowDone(const TEvent& event);
// Earliest first; triggers less than a millisecond apart count as equal.
bool EventRowBefore(const TEvent& a, const TEvent& b);

// The row to select in a list of count rows after the row deleted was taken out; -1 when
// the list is empty.
int RowAfterDelete(int deletedRow, int count);
// Switches an event as its row's box says, at the moment now; true when switching
// it on moved it to another day, so that the rows must be sorted again.
bool SwitchEvent(TEvent& event, bool on, TDateTime now);

// What the language list's entry at index stands for: the first is the built-in
// English, which only a window made anew shows.
struct TLanguageChoice {
  std::string language;
  bool builtIn;
};
TLanguageChoice LanguageChoice(int index, const std::string& entry);

// A tooltip text the user never changed follows the language.
std::string TooltipAfterLanguageChange(const std::string& tooltip, const std::string& oldDefault,
                                       const std::string& newDefault);
