#include "prefs/fAnalogClockPreferences.h"

#include <algorithm>

#include "config/uMultilanguage.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uWin32FontDialog.h"
#include "prefs/fFormatElements.h"
#include "prefs/uDisplayPreferences.h"
#include "support/uDialogControls.h"
#include "timezones/fSelectTimeZone.h"
#include "timezones/uTimeZones.h"

namespace {

// The controls of each group of marks, hidden with it.
constexpr int kNormalMarkControls[] = {
    IDC_ANALOG_NORMAL_MARKS_GROUP,         IDC_ANALOG_NORMAL_MARKS_COLOR_LABEL,
    IDC_ANALOG_NORMAL_MARKS_OUTLINE_LABEL, IDC_ANALOG_NORMAL_MARKS_POSITION_CAPTION,
    IDC_ANALOG_NORMAL_MARKS_SIZE_CAPTION,  IDC_ANALOG_NORMAL_MARKS_COLOR,
    IDC_ANALOG_NORMAL_MARKS_OUTLINE_COLOR, IDC_ANALOG_NORMAL_MARKS_OUTLINE,
    IDC_ANALOG_NORMAL_MARKS_POSITION,      IDC_ANALOG_NORMAL_MARKS_POSITION_LABEL,
    IDC_ANALOG_NORMAL_MARKS_SIZE};
constexpr int kQuarterMarkControls[] = {
    IDC_ANALOG_QUARTER_MARKS_GROUP,         IDC_ANALOG_QUARTER_MARKS_COLOR_LABEL,
    IDC_ANALOG_QUARTER_MARKS_OUTLINE_LABEL, IDC_ANALOG_QUARTER_MARKS_POSITION_CAPTION,
    IDC_ANALOG_QUARTER_MARKS_SIZE_CAPTION,  IDC_ANALOG_QUARTER_MARKS_COLOR,
    IDC_ANALOG_QUARTER_MARKS_OUTLINE_COLOR, IDC_ANALOG_QUARTER_MARKS_OUTLINE,
    IDC_ANALOG_QUARTER_MARKS_POSITION,      IDC_ANALOG_QUARTER_MARKS_POSITION_LABEL,
    IDC_ANALOG_QUARTER_MARKS_SIZE};

}  // namespace

TfrmDisplayPreferencesAnalogClock::TfrmDisplayPreferencesAnalogClock(
    TDisplay& display, TDisplayPreferencesContext& context, HWND owner)
    : TacDisplayPreferences(TemplateId, {IDD_ANALOG_GENERAL_PAGE},
                            {{"3312", "Clock dial", {IDD_ANALOG_DIAL_PAGE}},
                             {"3314", "Hour hand", {IDD_ANALOG_HOUR_HAND_PAGE}},
                             {"3315", "Minute hand", {IDD_ANALOG_MINUTE_HAND_PAGE}},
                             {"3316", "Seconds hand", {IDD_ANALOG_SECONDS_HAND_PAGE}},
                             {"3317", "Text", {IDD_ANALOG_TEXT_PAGE}}},
                            display, context, owner) {}

TDisplayAnalogClock& TfrmDisplayPreferencesAnalogClock::Clock() const {
  return static_cast<TDisplayAnalogClock&>(Display());
}

void TfrmDisplayPreferencesAnalogClock::SetUpControls() {
  TacDisplayPreferences::SetUpControls();
  SetUpForm(AnalogClockForm());
  for (const std::string& item : DialStyleItems())
    AddComboItem(PageOf(DialStyleId), DialStyleId, item);
  for (const std::string& item : AlignmentItems())
    AddComboItem(PageOf(TextAlignmentId), TextAlignmentId, item);
  FZoneRows = SearchZones(Context().zones, "");
  FillZones();
  AttachFormatElementMenu(Control(TextId), Context().zones);
  Hints().SetHint(Control(PickZoneId), GetText("3303(hint)", "Select time zone..."));
}

void TfrmDisplayPreferencesAnalogClock::LoadControls() {
  TacDisplayPreferences::LoadControls();
  TDisplayAnalogClock& c = Clock();
  LoadForm(AnalogClockForm(), c);
  SetChecked(PageOf(ShowHourHandId), ShowHourHandId, c.ShowHourHand);
  SetChecked(PageOf(ShowMinuteHandId), ShowMinuteHandId, c.ShowMinuteHand);
  SetChecked(PageOf(ShowSecondsHandId), ShowSecondsHandId, c.SecondsHand());
  SetComboSelection(PageOf(DialStyleId), DialStyleId, c.TickMarks);
  ShowDialControls();
  SetComboSelection(PageOf(TextAlignmentId), TextAlignmentId, c.TextAlignment);
  SelectZone(c.TimeZone());
  SetControlText(PageOf(TextId), TextId, c.Text());
}

void TfrmDisplayPreferencesAnalogClock::ShowDialControls() {
  const TDialControls shown = DialControls(ComboSelection(PageOf(DialStyleId), DialStyleId));
  const auto show = [this](int id, bool visible) {
    ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
  };
  show(QuarterMarksOnlyId, shown.quarterMarksOnly);
  for (const int id : kNormalMarkControls) show(id, shown.normalMarks);
  for (const int id : kQuarterMarkControls) show(id, shown.quarterMarks);
}

// Local time stays first, whatever the search, so that the user can always go back to it.
void TfrmDisplayPreferencesAnalogClock::FillZones() {
  const HWND page = PageOf(ZoneId);
  SendMessageW(Control(ZoneId), CB_RESETCONTENT, 0, 0);
  AddComboItem(page, ZoneId, GetText("LOCAL_TIME", "(local time)"));
  for (const TZoneMatch& row : FZoneRows)
    AddComboItem(page, ZoneId, DescriptionWithPlace(row.zone->DisplayName, row));
  FitComboDropDown(page, ZoneId);
}

// A zone the list no longer shows leaves it without a selection; the clock keeps its zone.
void TfrmDisplayPreferencesAnalogClock::SelectZone(const TTimeZone* zone) {
  const int row = RowOfZone(FZoneRows, zone);
  SetComboSelection(PageOf(ZoneId), ZoneId, zone && row < 0 ? -1 : row + 1);
}

void TfrmDisplayPreferencesAnalogClock::edZoneSearchChange() {
  FZoneRows = SearchZones(Context().zones, ControlText(PageOf(ZoneSearchId), ZoneSearchId));
  FillZones();
  SelectZone(Clock().TimeZone());
}

void TfrmDisplayPreferencesAnalogClock::PickZone() {
  const TTimeZone* zone = SelectTimeZone(Context().zones, Clock().TimeZone(), Handle());
  if (!zone) return;
  // The picked zone is shown in the list: a search that hides it is cleared.
  if (RowOfZone(FZoneRows, zone) < 0) SetControlText(PageOf(ZoneSearchId), ZoneSearchId, "");
  SelectZone(zone);
  Clock().SetTimeZone(zone);
  RequestRepaint(false);
}

bool TfrmDisplayPreferencesAnalogClock::KindCommand(int id, int notification) {
  TDisplayAnalogClock& c = Clock();
  const HWND page = PageOf(id);
  if (FormCommand(AnalogClockForm(), c, id)) return true;
  if (id == ShowHourHandId || id == ShowMinuteHandId || id == ShowSecondsHandId) {
    c.SetSecondsHand(IsChecked(PageOf(ShowSecondsHandId), ShowSecondsHandId));
    c.ShowMinuteHand = IsChecked(PageOf(ShowMinuteHandId), ShowMinuteHandId);
    c.ShowHourHand = IsChecked(PageOf(ShowHourHandId), ShowHourHandId);
  } else if (id == DialStyleId && notification == CBN_SELCHANGE) {
    ShowDialControls();
    c.TickMarks = static_cast<std::uint8_t>(std::max(ComboSelection(page, id), 0));
  } else if (id == TextAlignmentId && notification == CBN_SELCHANGE) {
    c.TextAlignment = static_cast<std::uint8_t>(std::max(ComboSelection(page, id), 0));
  } else if (id == ZoneId && notification == CBN_SELCHANGE) {
    // Shown at the next regular repaint.
    c.SetTimeZone(ZoneOfRow(FZoneRows, ComboSelection(page, id) - 1));
    return true;
  } else if (id == ZoneSearchId) {
    if (notification == EN_CHANGE) edZoneSearchChange();
    return true;
  } else if (id == PickZoneId) {
    PickZone();
    return true;
  } else if (id == TextFontId) {
    ExecuteFontDialog(Handle(), c.TextFont);
  } else if (id == InsertElementId) {
    ShowFormatElements(Control(TextId), Context().zones, Control(id));
    return true;
  } else if (id == TextId) {
    if (notification != EN_CHANGE) return true;
    c.SetText(ControlText(page, id));
    RequestRepaint(true);
    return true;
  } else {
    return false;
  }
  RequestRepaint(false);
  return true;
}

void TfrmDisplayPreferencesAnalogClock::TrackBarMoved(int id, int position) {
  if (!FormTrackBar(AnalogClockForm(), Clock(), id, position))
    TacDisplayPreferences::TrackBarMoved(id, position);
}
