#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "events/uEventForm.h"
#include "events/uEventPresets.h"
#include "events/uEvents.h"
#include "resources/uResourceIds.h"
#include "support/VarnColorButton.h"
#include "support/uDialogBase.h"
#include "support/uDialogControls.h"
#include "support/uWinHandles.h"

class TOptions;
struct TBusyState;

// The modal editor of one event: its message, when it is due and how it
// repeats, and what it does then. The event changes only on OK.
class TfrmEvent : public TDialogBase {
 public:
  static constexpr int TemplateId = IDD_EVENT;
  static constexpr int OKId = IDC_EVENT_OK;
  static constexpr int CancelId = IDC_EVENT_CANCEL;
  static constexpr int RepeatOnceId =
      IDC_EVENT_REPEAT_ONCE;  // to 4013: once, daily, weekly, monthly
  static constexpr int PlaySoundId = IDC_EVENT_PLAY_SOUND;
  static constexpr int FlashId = IDC_EVENT_FLASH;
  static constexpr int FlashFillId = IDC_EVENT_FLASH_FILL;
  static constexpr int FlashOutlineId = IDC_EVENT_FLASH_OUTLINE;
  static constexpr int CommandId = IDC_EVENT_COMMAND;
  static constexpr int LoadPresetId = IDC_EVENT_LOAD_PRESET;
  static constexpr int SavePresetId = IDC_EVENT_SAVE_PRESET;
  static constexpr int MessageId = IDC_EVENT_MESSAGE;
  static constexpr int DateId = IDC_EVENT_DATE;
  static constexpr int MondayId = IDC_EVENT_MONDAY;  // to 4058, Sunday
  static constexpr int WeekdayListId = IDC_EVENT_WEEKDAY_LIST;
  static constexpr int MonthDayId = IDC_EVENT_MONTH_DAY;
  static constexpr int MonthDayUpDownId = IDC_EVENT_MONTH_DAY_UP_DOWN;
  static constexpr int TimeId = IDC_EVENT_TIME;
  static constexpr int NowPlusFirstId = IDC_EVENT_NOW_PLUS_10;  // to 4068: 10, 15, 20, 30, 45, 60
  static constexpr int SoundLoopId = IDC_EVENT_SOUND_LOOP;
  static constexpr int SoundId = IDC_EVENT_SOUND;
  static constexpr int SoundSelectId = IDC_EVENT_SOUND_SELECT;
  static constexpr int SoundPlayId = IDC_EVENT_SOUND_PLAY;
  static constexpr int SoundStopId = IDC_EVENT_SOUND_STOP;
  static constexpr int CommandSelectId = IDC_EVENT_COMMAND_SELECT;
  static constexpr int CommandLineId = IDC_EVENT_COMMAND_LINE;
  static constexpr int NotificationId = IDC_EVENT_NOTIFICATION;

  TfrmEvent(TEvent& event, TOptions& options)
      : TDialogBase(TemplateId), FEvent(event), FOptions(options) {}

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;

 private:
  void FormCreate();
  void LoadGlyphs();
  void EventToControls(const TEvent& event, bool actionsOnly);
  TEventForm ControlsToForm() const;
  void rbRepeatClick(int repeat);
  void edDayExit();
  void NowPlusClick(int id);
  void SoundSelectClick();
  void CommandSelectClick();
  void btOKClick();
  void PresetClick(bool save);

  TEvent& FEvent;
  TOptions& FOptions;
  // The actions the preset buttons save from and load into; its schedule is never used.
  TEvent FScratch{FEvent.Trigger()};
  TEventPresetManager FPresets{FScratch};
  TVarnColorButton FFlashFill;
  TVarnColorButton FFlashOutline;
  std::optional<TGlyphButtons> FGlyphs;
  TUniqueFont FHeadingFont;
};

// Edits event in a modal window owned by owner; true when it closed with OK.
// While it is open the program is busy.
bool ShowEventEditor(TEvent& event, TOptions& options, TBusyState& busy, HWND owner);
