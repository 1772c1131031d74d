#include "events/fEvent.h"

#include "config/fPresetManager.h"
#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "events/uEvents.h"
#include "support/uBusyState.h"
#include "support/uDialogControls.h"
#include "support/uGraphicTools.h"
#include "support/uPlatform.h"
#include "support/uTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

constexpr int kHeadingIds[] = {IDC_EVENT_TRIGGER_HEADING, IDC_EVENT_ACTIONS_HEADING};
constexpr int kNowPlusMinutes[] = {10, 15, 20, 30, 45, 60};

// The controls of each repeat kind's panel, which share one place.
struct TPanel {
  int first, last;
};
constexpr TPanel kPanels[] = {{TfrmEvent::DateId, TfrmEvent::DateId},
                              {TfrmEvent::MondayId, TfrmEvent::MondayId + 6},
                              {TfrmEvent::WeekdayListId, TfrmEvent::WeekdayListId},
                              {TfrmEvent::MonthDayId, TfrmEvent::MonthDayUpDownId}};

}  // namespace

bool TfrmEvent::OnInitDialog() {
  FormCreate();
  PlaceOverOwner(Handle());
  EventToControls(FEvent, false);
  return true;
}

void TfrmEvent::FormCreate() {
  FHeadingFont = CreateBoldDialogFont(Handle());
  for (const int id : kHeadingIds)
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(FHeadingFont.get()), FALSE);
  // The day boxes take the locale's names, with access keys that the window's texts leave free.
  std::string taken;
  for (HWND c = GetWindow(Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (const char key = AccessKeyOf(ControlText(Handle(), GetDlgCtrlID(c)))) taken += key;
  std::vector<std::string> days;
  for (int day = 0; day < 7; ++day) {
    days.push_back(WeekdayName(day, true));
    AddComboItem(Handle(), WeekdayListId, WeekdayName(day, false));
  }
  const std::vector<std::string> boxes = WithAccessKeys(days, taken);
  for (int day = 0; day < 7; ++day) SetControlText(Handle(), MondayId + day, boxes[day]);
  for (const std::string& item :
       QuotedList(GetText("EVENTNOTIFY",
                          "\"when the tray icon is clicked\",\"automatically\","
                          "\"never (not recommended)\"")))
    AddComboItem(Handle(), NotificationId, item);
  SendMessageW(Item(MessageId), EM_LIMITTEXT, 240, 0);
  SendMessageW(Item(MonthDayId), EM_LIMITTEXT, 2, 0);
  SendMessageW(Item(MonthDayUpDownId), UDM_SETRANGE32, 1, 31);
  SendMessageW(Item(TimeId), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
  FFlashFill.Attach(Item(FlashFillId));
  FFlashOutline.Attach(Item(FlashOutlineId));
  LoadGlyphs();
  EnableControl(Handle(), LoadPresetId, !FPresets.Names().empty());
}

void TfrmEvent::LoadGlyphs() {
  FGlyphs.emplace(Handle());
  // Hints are translated by their own tags, as the window translation does for buttons.
  const struct {
    int id, image, tag;
    const char* hint;
  } glyphs[] = {{SoundLoopId, 6, IDH_EVENT_LOOP, "Loop"},
                {SoundSelectId, 7, IDH_EVENT_BROWSE, "Browse for file..."},
                {SoundPlayId, 8, IDH_EVENT_PLAY, "Play the sound"},
                {SoundStopId, 9, IDH_EVENT_STOP, "Stop playing"},
                {CommandSelectId, 7, IDH_EVENT_BROWSE, "Browse..."}};
  for (const auto& glyph : glyphs) {
    FGlyphs->SetGlyph(Item(glyph.id), glyph.image);
    FGlyphs->SetHint(Item(glyph.id), GetText(std::to_string(glyph.tag) + "(hint)", glyph.hint));
  }
}

void TfrmEvent::EventToControls(const TEvent& event, bool actionsOnly) {
  TEventForm form;
  EventToForm(event, form, actionsOnly);
  const HWND d = Handle();
  if (!actionsOnly) {
    SetControlText(d, MessageId, form.message);
    CheckRadioButton(d, RepeatOnceId, RepeatOnceId + 3, RepeatOnceId + form.repeat);
    rbRepeatClick(form.repeat);
    for (int day = 0; day < 7; ++day) SetChecked(d, MondayId + day, (form.days >> day & 1) != 0);
    SetComboSelection(d, WeekdayListId, form.weekday);
    SendMessageW(Item(MonthDayUpDownId), UDM_SETPOS32, 0, form.monthDay);
    SetDateTimePickerValue(d, DateId, DateTimeToSystemTime(form.date + form.time));
    SetDateTimePickerValue(d, TimeId, DateTimeToSystemTime(form.date + form.time));
  }
  SetComboSelection(d, NotificationId, form.showMessage);
  SetChecked(d, PlaySoundId, form.playSound);
  SetChecked(d, FlashId, form.flash);
  SetChecked(d, CommandId, form.command);
  FFlashFill.SetColorValue(form.flashFill);
  FFlashOutline.SetColorValue(form.flashOutline);
  SetControlText(d, SoundId, form.sound);
  SetControlText(d, CommandLineId, form.commandLine);
  SetChecked(d, SoundLoopId, form.soundLoop);
}

TEventForm TfrmEvent::ControlsToForm() const {
  const HWND d = Handle();
  TEventForm form;
  form.message = ControlText(d, MessageId);
  for (int repeat = 0; repeat < 4; ++repeat)
    if (IsChecked(d, RepeatOnceId + repeat)) form.repeat = static_cast<std::uint8_t>(repeat);
  for (int day = 0; day < 7; ++day)
    if (IsChecked(d, MondayId + day)) form.days |= static_cast<std::uint8_t>(1 << day);
  form.weekday = std::max(ComboSelection(d, WeekdayListId), 0);
  form.monthDay = static_cast<int>(SendMessageW(Item(MonthDayUpDownId), UDM_GETPOS32, 0, 0));
  const TSystemTime date = DateTimePickerValue(d, DateId);
  TSystemTime time = DateTimePickerValue(d, TimeId);
  form.date = DaysFromCivil(date.wYear, date.wMonth, date.wDay);
  // Only the time of day counts: on the day the date-time count starts.
  time.wYear = 1899;
  time.wMonth = 12;
  time.wDay = 30;
  time.wMilliseconds = 0;
  form.time = SystemTimeToDateTime(time);
  form.showMessage = std::max(ComboSelection(d, NotificationId), 0);
  form.playSound = IsChecked(d, PlaySoundId);
  form.flash = IsChecked(d, FlashId);
  form.command = IsChecked(d, CommandId);
  form.flashFill = FFlashFill.ColorValue();
  form.flashOutline = FFlashOutline.ColorValue();
  form.sound = ControlText(d, SoundId);
  form.commandLine = ControlText(d, CommandLineId);
  form.soundLoop = IsChecked(d, SoundLoopId);
  return form;
}

void TfrmEvent::rbRepeatClick(int repeat) {
  for (int kind = 0; kind < 4; ++kind)
    for (int id = kPanels[kind].first; id <= kPanels[kind].last; ++id)
      ShowWindow(Item(id), kind == repeat ? SW_SHOW : SW_HIDE);
}

void TfrmEvent::edDayExit() {
  const auto position = SendMessageW(Item(MonthDayUpDownId), UDM_GETPOS32, 0, 0);
  SetControlText(Handle(), MonthDayId, std::to_string(position));
}

void TfrmEvent::NowPlusClick(int id) {
  TEventForm form;
  SetNowPlus(form, LocalDateTimeNow(), kNowPlusMinutes[id - NowPlusFirstId]);
  SetDateTimePickerValue(Handle(), DateId, DateTimeToSystemTime(form.date + form.time));
  SetDateTimePickerValue(Handle(), TimeId, DateTimeToSystemTime(form.date + form.time));
}

void TfrmEvent::SoundSelectClick() {
  StopSound();
  std::string file = ControlText(Handle(), SoundId);
  if (!BrowseForFile(
          Handle(), file,
          GetText("OPENWAVE_FILTER", "Windows wave files (*.wav)|*.wav|All files (*.*)|*.*"),
          GetText("OPENWAVE_TITLE", "Select a sound")))
    return;
  SetControlText(Handle(), SoundId, file);
  SetChecked(Handle(), PlaySoundId, true);
}

void TfrmEvent::CommandSelectClick() {
  std::string file;
  if (!BrowseForFile(Handle(), file,
                     GetText("OPENAPP_FILTER",
                             "Executables (*.exe;*.com;*.bat;*.vbs)|*.exe;*.com;*.bat;*.vbs|"
                             "All files (*.*)|*.*"),
                     GetText("OPENAPP_TITLE", "Select an application")))
    return;
  SetControlText(Handle(), CommandLineId, file);
  SetChecked(Handle(), CommandId, true);
}

void TfrmEvent::PresetClick(bool save) {
  // A preset that lacks a value leaves that control as it is.
  FormToEvent(ControlsToForm(), FScratch, true);
  const std::string name = ShowPresetManager(FPresets, save, Handle());
  if (save && !name.empty()) {
    FPresets.SavePreset(name);
  } else if (!name.empty() && FPresets.LoadPreset(name)) {
    EventToControls(FScratch, true);
  }
  EnableControl(Handle(), LoadPresetId, !FPresets.Names().empty());
}

void TfrmEvent::btOKClick() {
  const TEventForm form = ControlsToForm();
  if (IsOneShotInThePast(form, LocalDateTimeNow())) {
    const std::wstring text = Utf8ToWide(
        GetText("MSG_EPAST", "The time you have entered is in the past.\r\n\r\nContinue?"));
    wchar_t caption[128] = {};
    GetWindowTextW(Handle(), caption, 128);
    if (MessageBoxW(Handle(), text.c_str(), caption, MB_YESNO | MB_ICONERROR) != IDYES) {
      SetFocus(Item(DateId));
      return;
    }
  }
  FormToEvent(form, FEvent, false);
  End(IDOK);
}

INT_PTR TfrmEvent::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      return FFlashFill.DrawItem(item) || FFlashOutline.DrawItem(item);
    }
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_EVENT_WARNING) return FALSE;
      // Quieter than the other texts, yet readable.
      SetTextColor(reinterpret_cast<HDC>(wParam),
                   SecondaryTextColor(GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNFACE)));
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

void TfrmEvent::OnCommand(int id, int notification) {
  if (id >= RepeatOnceId && id <= RepeatOnceId + 3 && notification == BN_CLICKED) {
    rbRepeatClick(id - RepeatOnceId);
  } else if (id == MonthDayId && notification == EN_KILLFOCUS) {
    edDayExit();
  } else if (id >= NowPlusFirstId && id < NowPlusFirstId + 6) {
    NowPlusClick(id);
  } else if (id == SoundSelectId) {
    SoundSelectClick();
  } else if (id == PlaySoundId && IsChecked(Handle(), PlaySoundId)) {
    SetControlText(Handle(), SoundId, SoundOrShipped(ControlText(Handle(), SoundId), EventAlert));
  } else if (id == SoundPlayId) {
    PlaySoundFile(ControlText(Handle(), SoundId), IsChecked(Handle(), SoundLoopId));
  } else if (id == SoundStopId || id == SoundLoopId) {
    StopSound();
  } else if (id == CommandSelectId) {
    CommandSelectClick();
  } else if (id == FlashFillId || id == FlashOutlineId) {
    PickButtonColor(Handle(), FOptions.CustomColors,
                    id == FlashFillId ? FFlashFill : FFlashOutline);
  } else if (id == LoadPresetId || id == SavePresetId) {
    PresetClick(id == SavePresetId);
  } else if (id == OKId || id == IDOK) {
    btOKClick();
  } else if (id == CancelId || id == IDCANCEL) {
    End(IDCANCEL);
  }
}

bool ShowEventEditor(TEvent& event, TOptions& options, TBusyState& busy, HWND owner) {
  busy.EventEditorOpen = true;
  TfrmEvent editor(event, options);
  const bool confirmed = editor.ShowModal(owner) == IDOK;
  busy.EventEditorOpen = false;
  // No sound started from the editor outlives it.
  StopSound();
  return confirmed;
}
