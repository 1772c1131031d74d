#include "prefs/fPreferences.h"

#include <commctrl.h>

#include <cmath>

#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "events/uTowerClock.h"
#include "support/uPlatform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "support/uWindowBase.h"

// The option pages of the preferences window.

void TfrmPreferences::OptionsToControls() {
  const TOptions& o = FContext.options;
  SetUpdating(true);
  const auto check = [this](int id, bool value) { SetChecked(PageOf(id), id, value); };
  check(ChimeEnabledId, o.ChimeEnabled);
  check(TowerClockId, o.ChimeTowerClock);
  const TDateTime today = std::floor(LocalDateTimeNow());
  SetDateTimePickerValue(PageOf(ChimeStartId), ChimeStartId,
                         DateTimeToSystemTime(today + TimeOfDay(o.ChimeStart)));
  SetDateTimePickerValue(PageOf(ChimeStopId), ChimeStopId,
                         DateTimeToSystemTime(today + TimeOfDay(o.ChimeStop)));
  RefreshSoundRows();
  check(AutoHideId, o.AutoHide);
  check(HideAllId, o.AutoHideAllDisplays);
  SetTrackPosition(AutoHideDelayId, IntervalPosition(o.AutoHideInterval));
  SetTrackPosition(AutoShowDelayId, IntervalPosition(o.AutoShowInterval));
  SetControlText(PageOf(TooltipId), TooltipId, o.ToolTipText);
  check(StartAutomaticallyId, o.StartAutomatically);
  check(ShowTrayIconId, o.ShowTrayIcon);
  check(AOT5sId, o.AOT5s);
  const std::int32_t keys[] = {o.HK_ShowHideDisplays, o.HK_ShowDisplays, o.HK_HideDisplays};
  for (int i = 0; i < 3; ++i)
    SetHotKeyValue(PageOf(HotKeyId + i), HotKeyId + i, static_cast<std::uint32_t>(keys[i]));
  SetUpdating(false);
}

void TfrmPreferences::RefreshSoundRows() {
  TOptions& o = FContext.options;
  const bool updating = Updating();
  SetUpdating(true);
  const HWND page = PageOf(SoundFileId);
  for (std::size_t row = 0; row < SoundRows.size(); ++row) {
    SetChecked(page, SoundControlId(row, TSoundPart::Check), o.*SoundRows[row].enabled);
    SetControlText(page, SoundControlId(row, TSoundPart::File), o.*SoundRows[row].file);
    const bool usable = SoundRowUsable(row, o);
    for (const TSoundPart part : {TSoundPart::Check, TSoundPart::File, TSoundPart::Browse,
                                  TSoundPart::Play, TSoundPart::Stop})
      EnableControl(page, SoundControlId(row, part), usable);
  }
  SetUpdating(updating);
}

// Options --------------------------------------------------------------------

std::string TfrmPreferences::TrackLabel(int, int position) const { return IntervalLabel(position); }

void TfrmPreferences::TrackBarMoved(int id, int position) {
  std::int32_t& interval =
      id == AutoHideDelayId ? FContext.options.AutoHideInterval : FContext.options.AutoShowInterval;
  interval = IntervalFromPosition(position);
}

void TfrmPreferences::ChimeHoursChanged() {
  const TSystemTime start = DateTimePickerValue(PageOf(ChimeStartId), ChimeStartId);
  const TSystemTime stop = DateTimePickerValue(PageOf(ChimeStopId), ChimeStopId);
  const TDateTime startOfDay = TimeOfDay(SystemTimeToDateTime(start));
  const TDateTime stopOfDay = TimeOfDay(SystemTimeToDateTime(stop));
  if (startOfDay > stopOfDay) SetDateTimePickerValue(PageOf(ChimeStopId), ChimeStopId, start);
  const TChimeHours hours = OrderChimeHours(startOfDay, stopOfDay);
  FContext.options.ChimeStart = hours.start;
  FContext.options.ChimeStop = hours.stop;
}

void TfrmPreferences::SoundRowCommand(int id, TSoundControl control) {
  TOptions& o = FContext.options;
  const TSoundRow& sound = SoundRows[control.row];
  const HWND page = PageOf(id);
  if (control.part == TSoundPart::Check) {
    SwitchSoundRow(o, control.row, IsChecked(page, id));
    RefreshSoundRows();
  } else if (control.part == TSoundPart::File) {
    o.*sound.file = ControlText(page, id);
  } else if (control.part == TSoundPart::Play) {
    PlaySoundFile(o.*sound.file, false);
  } else if (control.part == TSoundPart::Stop) {
    StopSound();
  } else {
    StopSound();
    if (BrowseForFile(
            Handle(), o.*sound.file,
            GetText("OPENWAVE_FILTER", "Windows wave files (*.wav)|*.wav|All files (*.*)|*.*"),
            GetText("OPENWAVE_TITLE", "Select a sound")))
      RefreshSoundRows();
  }
}

void TfrmPreferences::HotKeyChanged() {
  TOptions& o = FContext.options;
  std::int32_t* keys[] = {&o.HK_ShowHideDisplays, &o.HK_ShowDisplays, &o.HK_HideDisplays};
  for (int i = 0; i < 3; ++i)
    *keys[i] = static_cast<std::int32_t>(HotKeyValue(PageOf(HotKeyId + i), HotKeyId + i));
}

void TfrmPreferences::DefaultTooltipClick() {
  if (!Ask("MSG_DEFAULT_HINT", "Dou you really want to reset the tooltip text?")) return;
  SetTooltipText(TOptions::DefaultToolTipText());
}

void TfrmPreferences::SetTooltipText(const std::string& text) {
  // A multi-line edit does not report text set from outside.
  SetControlText(PageOf(TooltipId), TooltipId, text);
  FContext.options.ToolTipText = text;
}

void TfrmPreferences::SetLanguageClick() {
  THourglass hourglass;
  const HWND list = Control(LanguagesId);
  const auto index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index < 0) return;
  std::wstring entry(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1,
                     L'\0');
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(entry.data()));
  const std::string old = TOptions::DefaultToolTipText();
  TOptions& o = FContext.options;
  const TLanguageChoice choice = LanguageChoice(static_cast<int>(index), WideToUtf8(entry.c_str()));
  FContext.language.SetLanguage(choice.language);
  if (choice.builtIn) {
    o.ToolTipText = TooltipAfterLanguageChange(o.ToolTipText, old, TOptions::DefaultToolTipText());
    // The captions have been replaced already: only a new window shows the built-in texts.
    RECT r{};
    GetWindowRect(Handle(), &r);
    const auto reopenAt = FContext.reopenAt;
    End(IDCANCEL);
    reopenAt(r.left, r.top);
    return;
  }
  Translate();
  BuildTree(static_cast<int>(SelectedTreeItemData(PageOf(TreeId), TreeId)));
  FillDisplayRows();
  FillEventRows(nullptr);
  const std::string tooltip =
      TooltipAfterLanguageChange(o.ToolTipText, old, TOptions::DefaultToolTipText());
  if (tooltip != o.ToolTipText) SetTooltipText(tooltip);
}

void TfrmPreferences::OptionBoxClicked(int id) {
  const TOptionBox* box = OptionBoxOf(id);
  if (!box) return;
  const bool checked = IsChecked(PageOf(id), id);
  FContext.options.*box->flag = checked;
  if (box->effect == TOptionEffect::TrayIcon) FContext.setTrayIconVisible(checked);
  if (box->effect == TOptionEffect::RefreshSoundRows) RefreshSoundRows();
}
