#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "events/uEventForm.h"
#include "events/uEventPresets.h"
#include "events/uEvents.h"
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
  static constexpr int TemplateId = 4000;
  static constexpr int OKId = 4001;
  static constexpr int CancelId = 4002;
  static constexpr int RepeatOnceId = 4010;  // to 4013: once, daily, weekly, monthly
  static constexpr int PlaySoundId = 4021;
  static constexpr int FlashId = 4026;
  static constexpr int FlashFillId = 4027;
  static constexpr int FlashOutlineId = 4028;
  static constexpr int CommandId = 4029;
  static constexpr int LoadPresetId = 4031;
  static constexpr int SavePresetId = 4032;
  static constexpr int MessageId = 4050;
  static constexpr int DateId = 4051;
  static constexpr int MondayId = 4052;  // to 4058, Sunday
  static constexpr int WeekdayListId = 4059;
  static constexpr int MonthDayId = 4060;
  static constexpr int MonthDayUpDownId = 4061;
  static constexpr int TimeId = 4062;
  static constexpr int NowPlusFirstId = 4063;  // to 4068: 10, 15, 20, 30, 45, 60
  static constexpr int SoundLoopId = 4069;
  static constexpr int SoundId = 4070;
  static constexpr int SoundSelectId = 4071;
  static constexpr int SoundPlayId = 4072;
  static constexpr int SoundStopId = 4073;
  static constexpr int CommandSelectId = 4074;
  static constexpr int CommandLineId = 4075;
  static constexpr int NotificationId = 4076;

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
