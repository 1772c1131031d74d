#include "prefs/fPreferences.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "config/uWin32Translate.h"
#include "display/uDisplay.h"
#include "display/uDisplayList.h"
#include "events/fEvent.h"
#include "events/uEvents.h"
#include "events/uTowerClock.h"
#include "prefs/fFormatElements.h"
#include "prefs/uPreferences.h"
#include "support/uBusyState.h"
#include "support/uPlatform.h"
#include "support/uTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "support/uWindowBase.h"

namespace {

enum : std::size_t { pgDisplays, pgEvents, pgPreferences, pgFirstOption };
constexpr int kPageTemplates[] = {2301, 2302, 2303, 2311, 2312, 2313, 2314, 2315, 2316, 2317};
// Where the option pages sit on the preferences page, in dialog units.
constexpr RECT kOptionArea{120, 0, 326, 204};

struct TTreeNode {
  const char* key;
  const char* text;
  int parent;
};
constexpr TTreeNode kTreeNodes[] = {{"PREF_GENERAL", "General", -1},
                                    {"PREF_LANGUAGE", "Language", -1},
                                    {"PREF_TRAYICON", "Tray icon", -1},
                                    {"PREF_CHIME", "Chime", -1},
                                    {"PREF_CHIME_SOUNDS", "Sounds", 3},
                                    {"PREF_HOTKEYS", "Keyboard shortcuts", -1},
                                    {"PREF_TROUBLESHOOTING", "Troubleshooting", -1}};

// The kinds the add button offers, in its menu's order; each item is the action's tag.
struct TKindItem {
  int tag;
  const char* caption;
  std::uint8_t kind;
};
constexpr TKindItem kKindItems[] = {{2010, "Digital clock", 2},
                                    {2011, "Analog clock", 1},
                                    {2013, "Countdown", 3},
                                    {2018, "Stopwatch", 4}};

// The check boxes that each switch one option.
struct TOptionBox {
  int id;
  bool TOptions::*flag;
};
constexpr TOptionBox kOptionBoxes[] = {
    {TfrmPreferences::StartAutomaticallyId, &TOptions::StartAutomatically},
    {TfrmPreferences::AutoHideId, &TOptions::AutoHide},
    {TfrmPreferences::HideAllId, &TOptions::AutoHideAllDisplays},
    {TfrmPreferences::ShowTrayIconId, &TOptions::ShowTrayIcon},
    {TfrmPreferences::AOT5sId, &TOptions::AOT5s},
    {TfrmPreferences::ChimeEnabledId, &TOptions::ChimeEnabled},
    {TfrmPreferences::TowerClockId, &TOptions::ChimeTowerClock}};

constexpr wchar_t kApplicationTitle[] = L"Quorvel";

bool AskYesNo(HWND owner, const std::string& key, const std::string& question) {
  const std::wstring text = Utf8ToWide(GetText(key, question));
  return MessageBoxW(owner, text.c_str(), kApplicationTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// A shortcut box: Delete or Backspace alone erases the shortcut, as its hint says.
LRESULT HotKeyBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
  if (msg == WM_KEYDOWN && (wParam == VK_DELETE || wParam == VK_BACK) && NoModifierHeld()) {
    SendMessageW(box, HKM_SETHOTKEY, 0, 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), EN_CHANGE),
                 reinterpret_cast<LPARAM>(box));
    return 0;
  }
  return DefSubclassProc(box, msg, wParam, lParam);
}

std::vector<std::string> PageNames() {
  return {GetText("2002", "Displays"), GetText("2003", "Events"), GetText("2004", "Preferences")};
}

}  // namespace

TfrmPreferences::TfrmPreferences(TPreferencesContext context)
    : TDialogBase(TemplateId), FContext(std::move(context)) {}

TfrmPreferences::~TfrmPreferences() {
  // Made to go with the program: the window's own end must not free this object again.
  FContext.closed = nullptr;
  if (Handle()) DestroyWindow(Handle());
}

HWND TfrmPreferences::PageOf(int id) const { return PageWithControl(FPages, Handle(), id); }

HWND TfrmPreferences::Control(int id) const { return GetDlgItem(PageOf(id), id); }

void TfrmPreferences::SetPosition(int left, int top) {
  FPositionGiven = true;
  FGivenLeft = left;
  FGivenTop = top;
}

bool TfrmPreferences::OnInitDialog() {
  FormCreate();
  return true;
}

void TfrmPreferences::FormCreate() {
  CreatePages();
  SetUpControls();
  Translate();
  BuildTree(0);
  ShowPage(0);
}

void TfrmPreferences::CreatePages() {
  for (std::size_t i = 0; i < std::size(kPageTemplates); ++i) {
    FPages.push_back(std::make_unique<TDialogPage>(
        kPageTemplates[i], [this](HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
          return PageMessage(page, msg, wParam, lParam);
        }));
    FPages.back()->CreateChild(i < pgFirstOption ? Handle() : FPages[pgPreferences]->Handle());
  }
  PlacePages();
}

void TfrmPreferences::PlacePages() {
  const HWND tabs = Item(TabsId);
  RECT area{};
  GetWindowRect(tabs, &area);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
  SetTabTexts(Handle(), TabsId, PageNames());
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  // Right after the tab control in the Tab order, before the Close button.
  for (std::size_t i = pgDisplays; i < pgFirstOption; ++i)
    SetWindowPos(FPages[i]->Handle(), tabs, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE);
  RECT option = kOptionArea;
  MapDialogRect(FPages[pgPreferences]->Handle(), &option);
  for (std::size_t i = pgFirstOption; i < FPages.size(); ++i)
    SetWindowPos(FPages[i]->Handle(), nullptr, option.left, option.top, option.right - option.left,
                 option.bottom - option.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void TfrmPreferences::SetUpControls() {
  const HWND displays = PageOf(DisplayListId), events = PageOf(EventListId);
  ShowListCheckBoxes(displays, DisplayListId);
  SendDlgItemMessageW(displays, DisplayListId, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                      LVS_EX_FULLROWSELECT);
  ShowListCheckBoxes(events, EventListId);
  const struct {
    HWND page;
    int id, width;
    const char* caption;
  } columns[] = {
      {displays, DisplayListId, 140, "Type"},   {displays, DisplayListId, 180, "Description"},
      {displays, DisplayListId, 50, "Primary"}, {events, EventListId, 110, "Date and time"},
      {events, EventListId, 140, "Event"},      {events, EventListId, 120, "Repeat"}};
  for (const auto& column : columns)
    AddListColumn(column.page, column.id, column.caption, column.width);
  for (const auto& [track, label] :
       {std::pair{AutoHideDelayId, AutoHideLabelId}, std::pair{AutoShowDelayId, AutoShowLabelId}}) {
    SetTrackBarRange(PageOf(track), track, 0, IntervalSteps);
    MakeThinTrackBar(PageOf(track), track);
    SetControlData(Control(track), reinterpret_cast<std::intptr_t>(Control(label)));
  }
  for (const int picker : {ChimeStartId, ChimeStopId})
    SendMessageW(Control(picker), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
  // A shortcut needs Ctrl or Alt: a plain or shifted key gets Ctrl+Alt instead.
  for (int i = 0; i < 3; ++i) {
    SendMessageW(Control(HotKeyId + i), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SetWindowSubclass(Control(HotKeyId + i), &GuardedSubclassProc<&HotKeyBoxProc>, 1, 0);
  }
  AttachFormatElementMenu(Control(TooltipId), FContext.zones);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  font.lfStrikeOut = TRUE;
  FStrikeOutFont.reset(CreateFontIndirectW(&font));
  FGlyphs.emplace(Handle());
  FGlyphs->SetGlyph(Control(PreviewId), 8);
  FGlyphs->SetGlyph(Control(PreviewStopId), 9);
  for (int row = 0; row < 4; ++row) {
    FGlyphs->SetGlyph(Control(SoundBrowseId + row), 7);
    FGlyphs->SetGlyph(Control(SoundPlayId + row), 8);
    FGlyphs->SetGlyph(Control(SoundStopId + row), 9);
  }
}

void TfrmPreferences::Translate() {
  // Both reach the controls of every page: they are the window's descendants.
  TranslateForm(Handle(), TemplateId);
  TranslateGroupBoxes(Handle());
  SetTabTexts(Handle(), TabsId, PageNames());
  // The hints of the first play, browse and stop buttons are those of every row.
  FGlyphs->SetHint(Control(PreviewId),
                   GetText("2172(hint)", "Tower clock mode test (strike 3 o'clock)"));
  FGlyphs->SetHint(Control(PreviewStopId), GetText("2173(hint)", "Stop"));
  for (int row = 0; row < 4; ++row) {
    FGlyphs->SetHint(Control(SoundBrowseId + row), GetText("2137(hint)", "Browse for file..."));
    FGlyphs->SetHint(Control(SoundPlayId + row), GetText("2138(hint)", "Play the sound"));
    FGlyphs->SetHint(Control(SoundStopId + row), GetText("2139(hint)", "Stop playing"));
  }
}

void TfrmPreferences::BuildTree(int selected) {
  const HWND page = PageOf(TreeId);
  FRebuildingTree = true;
  SendMessageW(Control(TreeId), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  HTREEITEM items[std::size(kTreeNodes)] = {};
  for (std::size_t i = 0; i < std::size(kTreeNodes); ++i) {
    const TTreeNode& node = kTreeNodes[i];
    const HTREEITEM parent = node.parent < 0 ? TVI_ROOT : items[node.parent];
    items[i] =
        AddTreeItem(page, TreeId, parent, GetText(node.key, node.text), static_cast<LPARAM>(i));
  }
  ExpandAllTreeItems(page, TreeId);
  FRebuildingTree = false;
  SelectTreeItem(page, TreeId, items[std::clamp(selected, 0, int{OptionPageCount} - 1)]);
}

void TfrmPreferences::ShowOptionPage(int index) {
  for (int i = 0; i < OptionPageCount; ++i)
    ShowWindow(FPages[pgFirstOption + static_cast<std::size_t>(i)]->Handle(),
               i == index ? SW_SHOW : SW_HIDE);
  if (index == opLanguage && SendMessageW(Control(LanguagesId), LB_GETCOUNT, 0, 0) == 0)
    FillLanguages();
}

void TfrmPreferences::FillLanguages() {
  const HWND list = Control(LanguagesId);
  for (const std::string& entry : TMultiLanguage::ListLanguages(ProgramFolder())) {
    const auto row =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(entry).c_str()));
    // The language in use is the one selected.
    if (SameTextAscii(TMultiLanguage::LanguageOfEntry(entry), FContext.language.LanguageName()))
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
}

int TfrmPreferences::CurrentPage() const {
  return static_cast<int>(SendMessageW(Item(TabsId), TCM_GETCURSEL, 0, 0));
}

void TfrmPreferences::ShowPage(int page) {
  SendMessageW(Item(TabsId), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (std::size_t i = pgDisplays; i < pgFirstOption; ++i)
    ShowWindow(FPages[i]->Handle(), static_cast<int>(i) == page ? SW_SHOW : SW_HIDE);
  // A display is highlighted only while its list is in view.
  FContext.displays.Highlight(page == pgDisplays ? SelectedDisplay() : nullptr);
}

void TfrmPreferences::Open() {
  FContext.setHotKeysRegistered(false);
  PlaceWindow();
  FillDisplayRows();
  FillEventRows(nullptr);
  OptionsToControls();
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  PostMessageW(FContext.mainWindow, 1027, 0, 0);
}

void TfrmPreferences::PlaceWindow() {
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  const TPoint size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  TPoint at{FGivenLeft, FGivenTop};
  if (!FPositionGiven) {
    POINT cursor{};
    GetCursorPos(&cursor);
    at = FitOnMonitor({cursor.x - size.x / 2, cursor.y - size.y / 2}, size,
                      TPoint{cursor.x, cursor.y});
  }
  SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmPreferences::OptionsToControls() {
  const TOptions& o = FContext.options;
  FUpdating = true;
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
  SetTrackBarPosition(PageOf(AutoHideDelayId), AutoHideDelayId,
                      IntervalPosition(o.AutoHideInterval));
  SetTrackBarPosition(PageOf(AutoShowDelayId), AutoShowDelayId,
                      IntervalPosition(o.AutoShowInterval));
  TrackBarMoved(Control(AutoHideDelayId));
  TrackBarMoved(Control(AutoShowDelayId));
  SetControlText(PageOf(TooltipId), TooltipId, o.ToolTipText);
  check(StartAutomaticallyId, o.StartAutomatically);
  check(ShowTrayIconId, o.ShowTrayIcon);
  check(AOT5sId, o.AOT5s);
  const std::int32_t keys[] = {o.HK_ShowHideDisplays, o.HK_ShowDisplays, o.HK_HideDisplays};
  for (int i = 0; i < 3; ++i)
    SetHotKeyValue(PageOf(HotKeyId + i), HotKeyId + i, static_cast<std::uint32_t>(keys[i]));
  FUpdating = false;
}

void TfrmPreferences::RefreshSoundRows() {
  TOptions& o = FContext.options;
  const bool updating = FUpdating;
  FUpdating = true;
  const HWND page = PageOf(SoundFileId);
  for (std::size_t row = 0; row < SoundRows.size(); ++row) {
    const int r = static_cast<int>(row);
    SetChecked(page, SoundCheckId + r, o.*SoundRows[row].enabled);
    SetControlText(page, SoundFileId + r, o.*SoundRows[row].file);
    const bool usable = SoundRowUsable(row, o);
    for (const int id : {SoundCheckId, SoundFileId, SoundBrowseId, SoundPlayId, SoundStopId})
      EnableControl(page, id + r, usable);
  }
  FUpdating = updating;
}

void TfrmPreferences::UpdateActions() {
  const int displayRow = SelectedListRow(PageOf(DisplayListId), DisplayListId);
  const int eventRow = SelectedListRow(PageOf(EventListId), EventListId);
  const TPreferenceActions a = PreferenceActions(FContext.displays.Count(), displayRow >= 0,
                                                 FContext.events.Count(), eventRow >= 0);
  const auto enable = [this](int id, bool enabled) { EnableControl(PageOf(id), id, enabled); };
  enable(AddDisplayId, a.addDisplay);
  enable(RemoveDisplayId, a.displaySelected);
  enable(ConfigureDisplayId, a.displaySelected);
  enable(SetPrimaryId, a.displaySelected);
  enable(ResetPositionId, a.displaySelected);
  enable(AddEventId, a.addEvent);
  enable(EditEventId, a.eventSelected);
  enable(DeleteEventId, a.eventSelected);
}

// Displays -------------------------------------------------------------------

void TfrmPreferences::FillDisplayRows() {
  const HWND page = PageOf(DisplayListId);
  const TDisplay* selected = SelectedDisplay();
  FUpdating = true;
  SendDlgItemMessageW(page, DisplayListId, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < FContext.displays.Count(); ++i) {
    TDisplay& display = FContext.displays[i];
    const int row = AddListRow(page, DisplayListId, DisplayRowTexts(display, FContext.displays));
    SetListRowData(page, DisplayListId, row, reinterpret_cast<LPARAM>(&display));
    SetListRowChecked(page, DisplayListId, row, display.IsActive());
  }
  FUpdating = false;
  // The description tells the displays apart: it takes the room the others leave.
  FitListColumns(page, DisplayListId, 1);
  SelectDisplay(selected);
  UpdateActions();
}

int TfrmPreferences::DisplayRow(const TDisplay* display) const {
  const HWND page = PageOf(DisplayListId);
  for (int row = 0; display && row < ListRowCount(page, DisplayListId); ++row)
    if (ListRowData(page, DisplayListId, row) == reinterpret_cast<LPARAM>(display)) return row;
  return -1;
}

TDisplay* TfrmPreferences::SelectedDisplay() const {
  const HWND page = PageOf(DisplayListId);
  const int row = SelectedListRow(page, DisplayListId);
  return row < 0 ? nullptr : reinterpret_cast<TDisplay*>(ListRowData(page, DisplayListId, row));
}

void TfrmPreferences::SelectDisplay(const TDisplay* display) {
  const int row = DisplayRow(display);
  if (row < 0) return;
  SelectListRow(PageOf(DisplayListId), DisplayListId, row);
  SendMessageW(Control(DisplayListId), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TfrmPreferences::RefreshDisplayRow(int row) {
  const HWND page = PageOf(DisplayListId);
  const auto* display = reinterpret_cast<const TDisplay*>(ListRowData(page, DisplayListId, row));
  if (!display) return;
  const std::vector<std::string> texts = DisplayRowTexts(*display, FContext.displays);
  for (std::size_t column = 0; column < texts.size(); ++column)
    SetListCellText(page, DisplayListId, row, static_cast<int>(column), texts[column]);
  FUpdating = true;
  SetListRowChecked(page, DisplayListId, row, display->IsActive());
  FUpdating = false;
}

void TfrmPreferences::DisplayChecked(int row) {
  const HWND page = PageOf(DisplayListId);
  auto* display = reinterpret_cast<TDisplay*>(ListRowData(page, DisplayListId, row));
  const bool checked = IsListRowChecked(page, DisplayListId, row);
  if (!display || checked == display->IsActive()) return;
  display->SetActive(checked);
  if (checked) display->Show();
}

void TfrmPreferences::DisplaySelected() {
  if (CurrentPage() == pgDisplays) FContext.displays.Highlight(SelectedDisplay());
  UpdateActions();
}

void TfrmPreferences::ShowAddDisplayMenu() {
  if (FContext.displays.Count() >= TDisplayList::MaxDisplays) return;
  TUniqueMenu menu(CreatePopupMenu());
  for (const TKindItem& item : kKindItems)
    AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.tag),
                Utf8ToWide(GetText(std::to_string(item.tag), item.caption)).c_str());
  RECT r{};
  GetWindowRect(Control(AddDisplayId), &r);
  const int command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, r.left, r.bottom, 0,
                                     Handle(), nullptr);
  if (command) OnCommand(command, 0);
}

void TfrmPreferences::AddDisplay(std::uint8_t kind) {
  TDisplay* display = FContext.displays.AddNew(kind);
  if (!display) return;
  FillDisplayRows();
  SelectDisplay(display);
  SetFocus(Control(DisplayListId));
  display->Show();
  display->Configure(Handle());
  RefreshDisplayRow(DisplayRow(display));
}

void TfrmPreferences::ConfigureDisplay() {
  TDisplay* display = SelectedDisplay();
  if (!display) return;
  FContext.displays.Highlight(nullptr);
  ShowWindow(Handle(), SW_HIDE);
  // A kind without a window of its own: back at once.
  if (!display->Configure(Handle())) SendMessageW(Handle(), WM_DISPLAY_PREFERENCES_CLOSED, 0, 0);
}

void TfrmPreferences::DeleteDisplay() {
  TDisplay* display = SelectedDisplay();
  if (!display || CurrentPage() != pgDisplays) return;
  if (!AskYesNo(Handle(), "MSG_DREMOVE", "Remove selected display from the list?")) return;
  const int row = DisplayRow(display);
  FDeleting = true;
  FContext.displays.Delete(display);
  FillDisplayRows();
  FDeleting = false;
  const int count = ListRowCount(PageOf(DisplayListId), DisplayListId);
  if (count > 0) SelectListRow(PageOf(DisplayListId), DisplayListId, std::min(row, count - 1));
  DisplaySelected();
}

void TfrmPreferences::SetAsPrimary() {
  TDisplay* display = SelectedDisplay();
  if (!display || FContext.displays.Primary == display) return;
  FContext.displays.Primary = display;
  FillDisplayRows();
}

void TfrmPreferences::ResetPosition() {
  TDisplay* display = SelectedDisplay();
  if (!display) return;
  display->ResetPosition();
  RefreshDisplayRow(DisplayRow(display));
}

// Events ---------------------------------------------------------------------

void TfrmPreferences::FillEventRows(const void* selected) {
  const HWND page = PageOf(EventListId);
  if (!selected) {
    const int row = SelectedListRow(page, EventListId);
    if (row >= 0) selected = reinterpret_cast<const void*>(ListRowData(page, EventListId, row));
  }
  std::vector<TEvent*> events;
  for (std::size_t i = 0; i < FContext.events.Count(); ++i) events.push_back(&FContext.events[i]);
  std::stable_sort(events.begin(), events.end(),
                   [](const TEvent* a, const TEvent* b) { return EventRowBefore(*a, *b); });
  FUpdating = true;
  SendDlgItemMessageW(page, EventListId, LVM_DELETEALLITEMS, 0, 0);
  for (TEvent* event : events) {
    const int row = AddListRow(page, EventListId, EventRowTexts(*event));
    SetListRowData(page, EventListId, row, reinterpret_cast<LPARAM>(event));
    SetListRowChecked(page, EventListId, row, event->Active());
    if (event == selected) SelectListRow(page, EventListId, row);
  }
  FUpdating = false;
  // The message takes the room the date and the repeat leave.
  FitListColumns(page, EventListId, 1);
  UpdateActions();
}

void TfrmPreferences::EventChecked(int row) {
  const HWND page = PageOf(EventListId);
  auto* event = reinterpret_cast<TEvent*>(ListRowData(page, EventListId, row));
  const bool checked = IsListRowChecked(page, EventListId, row);
  if (!event || checked == event->Active()) return;
  event->SetActive(checked);
  if (!checked) return;
  const TDateTime day = std::floor(event->Trigger());
  event->UpdateTrigger(LocalDateTimeNow(), true, false);
  if (std::floor(event->Trigger()) != day) PostMessageW(Handle(), WM_REBUILD_EVENTS, 0, 0);
}

void TfrmPreferences::AddEvent() {
  if (FContext.events.Count() >= TEvents::MaxEvents) return;
  auto event = std::make_unique<TEvent>(LocalDateTimeNow(), &FContext.displays);
  if (!ShowEventEditor(*event, FContext.options, FContext.busy, Handle())) return;
  FillEventRows(&FContext.events.Add(std::move(event)));
  SetFocus(Control(EventListId));
}

void TfrmPreferences::EditEvent() {
  const HWND page = PageOf(EventListId);
  const int row = SelectedListRow(page, EventListId);
  auto* event = row < 0 ? nullptr : reinterpret_cast<TEvent*>(ListRowData(page, EventListId, row));
  if (event && ShowEventEditor(*event, FContext.options, FContext.busy, Handle()))
    FillEventRows(event);
}

void TfrmPreferences::DeleteEvent() {
  const HWND page = PageOf(EventListId);
  const int row = SelectedListRow(page, EventListId);
  if (row < 0 || CurrentPage() != pgEvents) return;
  if (!AskYesNo(Handle(), "MSG_EREMOVE", "Delete the selected event?")) return;
  FDeleting = true;
  FContext.events.Delete(reinterpret_cast<const TEvent*>(ListRowData(page, EventListId, row)));
  FillEventRows(nullptr);
  FDeleting = false;
  const int count = ListRowCount(page, EventListId);
  if (count > 0) SelectListRow(page, EventListId, std::min(row, count - 1));
  UpdateActions();
}

// Options --------------------------------------------------------------------

void TfrmPreferences::TrackBarMoved(HWND track) {
  const int position = static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0));
  SetWindowTextW(reinterpret_cast<HWND>(GetControlData(track)),
                 Utf8ToWide(IntervalLabel(position)).c_str());
  if (FUpdating) return;
  const int id = GetDlgCtrlID(track);
  std::int32_t& interval =
      id == AutoHideDelayId ? FContext.options.AutoHideInterval : FContext.options.AutoShowInterval;
  interval = position * 100;
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

void TfrmPreferences::SoundRowCommand(int id) {
  TOptions& o = FContext.options;
  // Check boxes are numbered apart; the other controls of a row are ten apart.
  const int row = id < SoundFileId ? id - SoundCheckId : (id - SoundFileId) % 10;
  const TSoundRow& sound = SoundRows[static_cast<std::size_t>(row)];
  const HWND page = PageOf(SoundFileId);
  if (id == SoundCheckId + row) {
    o.*sound.enabled = IsChecked(page, id);
    RefreshSoundRows();
  } else if (id == SoundFileId + row) {
    o.*sound.file = ControlText(page, id);
  } else if (id == SoundPlayId + row) {
    PlaySoundFile(o.*sound.file, false);
  } else if (id == SoundStopId + row) {
    StopSound();
  } else if (id == SoundBrowseId + row) {
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
  if (!AskYesNo(Handle(), "MSG_DEFAULT_HINT", "Dou you really want to reset the tooltip text?"))
    return;
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
  if (index == 0) {
    FContext.language.SetLanguage("english");
    o.ToolTipText = TooltipAfterLanguageChange(o.ToolTipText, old, TOptions::DefaultToolTipText());
    // The captions have been replaced already: only a new window shows the built-in texts.
    RECT r{};
    GetWindowRect(Handle(), &r);
    const auto reopenAt = FContext.reopenAt;
    End(IDCANCEL);  // may free this object
    reopenAt(r.left, r.top);
    return;
  }
  FContext.language.SetLanguage(TMultiLanguage::LanguageOfEntry(WideToUtf8(entry.c_str())));
  Translate();
  BuildTree(static_cast<int>(SelectedTreeItemData(PageOf(TreeId), TreeId)));
  FillDisplayRows();
  FillEventRows(nullptr);
  const std::string tooltip =
      TooltipAfterLanguageChange(o.ToolTipText, old, TOptions::DefaultToolTipText());
  if (tooltip != o.ToolTipText) SetTooltipText(tooltip);
}

// Messages -------------------------------------------------------------------

void TfrmPreferences::OnCommand(int id, int notification) {
  const bool clicked = notification == BN_CLICKED;
  if (id == CloseId || id == IDCANCEL) {
    End(IDCANCEL);
  } else if (id == IDOK) {
    // Enter acts on the focused list's row.
    const HWND focus = GetFocus();
    if (focus == Control(DisplayListId)) ConfigureDisplay();
    if (focus == Control(EventListId)) EditEvent();
    if (focus == Control(LanguagesId)) SetLanguageClick();
  } else if (const auto item = std::find_if(std::begin(kKindItems), std::end(kKindItems),
                                            [id](const TKindItem& k) { return k.tag == id; });
             item != std::end(kKindItems)) {
    AddDisplay(item->kind);
  } else if (id == AddDisplayId) {
    ShowAddDisplayMenu();
  } else if (id == RemoveDisplayId) {
    DeleteDisplay();
  } else if (id == ConfigureDisplayId) {
    ConfigureDisplay();
  } else if (id == SetPrimaryId) {
    SetAsPrimary();
  } else if (id == ResetPositionId) {
    ResetPosition();
  } else if (id == AddEventId) {
    AddEvent();
  } else if (id == EditEventId) {
    EditEvent();
  } else if (id == DeleteEventId) {
    DeleteEvent();
  } else if (id == LanguagesId) {
    if (notification == LBN_SELCHANGE) EnableControl(PageOf(SetLanguageId), SetLanguageId, true);
    if (notification == LBN_DBLCLK) SetLanguageClick();
  } else if (id == SetLanguageId) {
    SetLanguageClick();
  } else if (id == InsertElementId) {
    RECT r{};
    GetWindowRect(Control(InsertElementId), &r);
    ShowFormatElements(Control(TooltipId), FContext.zones, POINT{r.left, r.bottom});
  } else if (id == DefaultTooltipId) {
    DefaultTooltipClick();
  } else if (id == PreviewId) {
    StartTowerClock(FContext.options, TSystemTime{2000, 1, 6, 1, 15, 0, 0, 0});
  } else if (id == PreviewStopId) {
    StopTowerClock();
  } else if (FUpdating) {
    // Filling the controls changes nothing.
  } else if (id >= SoundCheckId && id < SoundCheckId + 4 && clicked) {
    SoundRowCommand(id);
  } else if (id >= SoundFileId && id < SoundStopId + 4) {
    if (notification == EN_CHANGE || clicked) SoundRowCommand(id);
  } else if (id >= HotKeyId && id < HotKeyId + 3) {
    if (notification == EN_CHANGE) HotKeyChanged();
  } else if (id == TooltipId) {
    if (notification == EN_CHANGE)
      FContext.options.ToolTipText = ControlText(PageOf(TooltipId), TooltipId);
  } else if (clicked) {
    OptionBoxClicked(id);
  }
}

void TfrmPreferences::OptionBoxClicked(int id) {
  const auto box = std::find_if(std::begin(kOptionBoxes), std::end(kOptionBoxes),
                                [id](const TOptionBox& b) { return b.id == id; });
  if (box == std::end(kOptionBoxes)) return;
  const bool checked = IsChecked(PageOf(id), id);
  FContext.options.*box->flag = checked;
  if (id == TfrmPreferences::ShowTrayIconId) FContext.setTrayIconVisible(checked);
  if (id == TfrmPreferences::ChimeEnabledId || id == TfrmPreferences::TowerClockId)
    RefreshSoundRows();
}

INT_PTR TfrmPreferences::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NOTIFY:
      SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    case WM_REBUILD_EVENTS:
      FillEventRows(nullptr);
      return TRUE;
    case WM_DISPLAY_PREFERENCES_CLOSED:
      ShowWindow(Handle(), SW_SHOW);
      SetForegroundWindow(Handle());
      if (const int row = SelectedListRow(PageOf(DisplayListId), DisplayListId); row >= 0)
        RefreshDisplayRow(row);
      SelectDisplay(SelectedDisplay());
      FContext.displays.Highlight(SelectedDisplay());
      return TRUE;
    case WM_SHOW_LANGUAGE_PAGE:
      ShowPage(pgPreferences);
      BuildTree(opLanguage);
      SetFocus(Control(LanguagesId));
      return TRUE;
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

INT_PTR TfrmPreferences::PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      SetWindowLongPtrW(page, DWLP_MSGRESULT, OnNotify(*reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    case WM_HSCROLL:
      if (lParam) TrackBarMoved(reinterpret_cast<HWND>(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT TfrmPreferences::OnNotify(const NMHDR& header) {
  const auto id = static_cast<int>(header.idFrom);
  if (id == TabsId && header.code == TCN_SELCHANGE) {
    ShowPage(CurrentPage());
  } else if (id == TreeId && header.code == TVN_SELCHANGEDW) {
    if (!FRebuildingTree)
      ShowOptionPage(static_cast<int>(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.lParam));
  } else if (id == TreeId && header.code == TVN_ITEMEXPANDINGW) {
    // Always fully expanded.
    return (reinterpret_cast<const NMTREEVIEWW&>(header).action & TVE_COLLAPSE) ? TRUE : FALSE;
  } else if (id == TreeId && header.code == TVN_ITEMEXPANDEDW) {
    // A tree that closed the node all the same opens it again.
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (change.action & TVE_COLLAPSE)
      SendMessageW(header.hwndFrom, TVM_EXPAND, TVE_EXPAND,
                   reinterpret_cast<LPARAM>(change.itemNew.hItem));
  } else if ((id == ChimeStartId || id == ChimeStopId) && header.code == DTN_DATETIMECHANGE) {
    if (!FUpdating) ChimeHoursChanged();
  } else if (id == DisplayListId || id == EventListId) {
    return ListNotify(id, header);
  }
  return 0;
}

LRESULT TfrmPreferences::ListNotify(int id, const NMHDR& header) {
  const bool displays = id == DisplayListId;
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (FUpdating || FDeleting || !(change.uChanged & LVIF_STATE)) return 0;
      const UINT changed = change.uNewState ^ change.uOldState;
      // The first state image is set as the row is made: no change of the user's.
      if ((changed & LVIS_STATEIMAGEMASK) && (change.uOldState & LVIS_STATEIMAGEMASK)) {
        if (displays)
          DisplayChecked(change.iItem);
        else
          EventChecked(change.iItem);
      }
      if (changed & LVIS_SELECTED) {
        if (displays)
          DisplaySelected();
        else
          UpdateActions();
      }
      return 0;
    }
    case NM_DBLCLK:
      if (displays)
        ConfigureDisplay();
      else
        EditEvent();
      return 0;
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE && NoModifierHeld()) {
        if (displays)
          DeleteDisplay();
        else
          DeleteEvent();
      }
      return 0;
    case NM_CUSTOMDRAW:
      return displays ? CDRF_DODEFAULT
                      : CustomDrawEvents(
                            *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    default:
      return 0;
  }
}

LRESULT TfrmPreferences::CustomDrawEvents(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const auto* event = reinterpret_cast<const TEvent*>(draw.nmcd.lItemlParam);
  if (!event || !IsEventRowDone(*event) || !FStrikeOutFont) return CDRF_DODEFAULT;
  SelectObject(draw.nmcd.hdc, FStrikeOutFont.get());
  return CDRF_NEWFONT;
}

void TfrmPreferences::OnDestroyed() {
  StopSound();
  StopTowerClock();
  FContext.saveAll();
  FContext.displays.Highlight(nullptr);
  FContext.setHotKeysRegistered(true);
  // Last: the program may free this object in it.
  if (const auto closed = FContext.closed) closed();
}
