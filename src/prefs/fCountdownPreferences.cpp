#include "prefs/fCountdownPreferences.h"

#include <commctrl.h>

#include <algorithm>

#include "kinds/uDisplayCountdown.h"
#include "prefs/uDisplayPreferences.h"
#include "support/uDialogControls.h"

TDisplayCountdown& TfrmDisplayPreferencesCountdown::Countdown() const {
  return static_cast<TDisplayCountdown&>(Display());
}

void TfrmDisplayPreferencesCountdown::SetUpControls() {
  TacDisplayPreferencesDigital::SetUpControls();
  SYSTEMTIME range[2] = {};
  range[1] = {2060, 12, 0, 31, 23, 59, 59, 0};
  SendMessageW(Control(FinalDateId), DTM_SETRANGE, GDTR_MAX, reinterpret_cast<LPARAM>(range));
  SendMessageW(Control(FinalTimeId), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm:ss"));
  for (int unit = 0; unit < 4; ++unit)
    for (const std::string& item : VisibilityItems(unit == cuSeconds))
      AddComboItem(PageOf(VisibilityId), VisibilityId + unit, item);
}

void TfrmDisplayPreferencesCountdown::LoadFinalTime() {
  const TSystemTime final = DateTimeToSystemTime(Countdown().FinalTime());
  SetDateTimePickerValue(PageOf(FinalDateId), FinalDateId, final);
  SetDateTimePickerValue(PageOf(FinalTimeId), FinalTimeId, final);
}

void TfrmDisplayPreferencesCountdown::LoadVisibility() {
  for (int unit = 0; unit < 4; ++unit)
    SetComboSelection(PageOf(VisibilityId), VisibilityId + unit,
                      Countdown().Visibility[static_cast<std::size_t>(unit)]);
}

void TfrmDisplayPreferencesCountdown::LoadControls() {
  TacDisplayPreferencesDigital::LoadControls();
  const TDisplayCountdown& c = Countdown();
  LoadVisibility();
  LoadFinalTime();
  SetControlText(PageOf(TextId), TextId, c.CountdownText);
  SetControlText(PageOf(ZeroTextId), ZeroTextId, c.ZeroText);
  const std::string* texts[] = {&c.DaysBefore, &c.HoursBefore, &c.MinutesBefore, &c.SecondsBefore,
                                &c.DaysAfter,  &c.HoursAfter,  &c.MinutesAfter,  &c.SecondsAfter};
  for (int i = 0; i < 8; ++i) SetControlText(PageOf(BeforeId), BeforeId + i, *texts[i]);
}

void TfrmDisplayPreferencesCountdown::VisibilityChanged() {
  TDisplayCountdown& c = Countdown();
  for (int unit = 0; unit < 4; ++unit)
    c.Visibility[static_cast<std::size_t>(unit)] = static_cast<std::uint8_t>(
        std::max(ComboSelection(PageOf(VisibilityId), VisibilityId + unit), 0));
  c.NormaliseVisibility();
  // The corrected choice shows at once.
  LoadVisibility();
  RequestRepaint(false);
}

void TfrmDisplayPreferencesCountdown::CounterTextsChanged() {
  TDisplayCountdown& c = Countdown();
  std::string* texts[] = {&c.DaysBefore, &c.HoursBefore, &c.MinutesBefore, &c.SecondsBefore,
                          &c.DaysAfter,  &c.HoursAfter,  &c.MinutesAfter,  &c.SecondsAfter};
  for (int i = 0; i < 8; ++i) *texts[i] = ControlText(PageOf(BeforeId), BeforeId + i);
  RequestRepaint(true);
}

bool TfrmDisplayPreferencesCountdown::KindCommand(int id, int notification) {
  TDisplayCountdown& c = Countdown();
  if (id == TodayId || id == AddDayId || id == AddWeekId) {
    // As the display's own menu does it.
    c.MenuCommand(id == TodayId    ? cmdCountdownToday
                  : id == AddDayId ? cmdCountdownAddDay
                                   : cmdCountdownAddWeek);
    LoadFinalTime();
    RequestRepaint(false);
  } else if (id >= VisibilityId && id < VisibilityId + 4) {
    if (notification == CBN_SELCHANGE) VisibilityChanged();
  } else if (id >= BeforeId && id < AfterId + 4) {
    if (notification == EN_CHANGE) CounterTextsChanged();
  } else if (id == TextId || id == ZeroTextId) {
    if (notification != EN_CHANGE) return true;
    (id == TextId ? c.CountdownText : c.ZeroText) = ControlText(PageOf(id), id);
    RequestRepaint(false);
  } else {
    return TacDisplayPreferencesDigital::KindCommand(id, notification);
  }
  return true;
}

LRESULT TfrmDisplayPreferencesCountdown::OnPageNotify(const NMHDR& header) {
  const auto id = static_cast<int>(header.idFrom);
  if ((id == FinalDateId || id == FinalTimeId) && header.code == DTN_DATETIMECHANGE &&
      !Updating()) {
    TDisplayCountdown& c = Countdown();
    const TDateTime picked = SystemTimeToDateTime(DateTimePickerValue(PageOf(id), id));
    c.SetFinalTime(id == FinalDateId ? WithDate(c.FinalTime(), picked)
                                     : WithTimeOfDay(c.FinalTime(), picked));
    RequestRepaint(false);
  }
  return 0;
}
