#include "prefs/fPreferences.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "display/uDisplay.h"
#include "display/uDisplayList.h"
#include "events/fEvent.h"
#include "events/uEvents.h"
#include "support/uPlatform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

// The lists of displays and events of the preferences window.

namespace {

// The kinds the add button offers, in its menu's order; each item is the action's tag.
struct TKindItem {
  int tag;
  const char* caption;
  std::uint8_t kind;
};
constexpr TKindItem kKindItems[] = {{IDM_PREFS_ADD_DIGITAL_CLOCK, "Digital clock", 2},
                                    {IDM_PREFS_ADD_ANALOG_CLOCK, "Analog clock", 1},
                                    {IDM_PREFS_ADD_COUNTDOWN, "Countdown", 3},
                                    {IDM_PREFS_ADD_STOPWATCH, "Stopwatch", 4}};

}  // namespace

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
  SetUpdating(true);
  SendDlgItemMessageW(page, DisplayListId, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < FContext.displays.Count(); ++i) {
    TDisplay& display = FContext.displays[i];
    const int row = AddListRow(page, DisplayListId, DisplayRowTexts(display, FContext.displays));
    SetListRowData(page, DisplayListId, row, reinterpret_cast<LPARAM>(&display));
    SetListRowChecked(page, DisplayListId, row, display.IsActive());
  }
  SetUpdating(false);
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
  SetUpdating(true);
  SetListRowChecked(page, DisplayListId, row, display->IsActive());
  SetUpdating(false);
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

bool TfrmPreferences::AddDisplayOfMenuItem(int id) {
  const auto item = std::find_if(std::begin(kKindItems), std::end(kKindItems),
                                 [id](const TKindItem& k) { return k.tag == id; });
  if (item == std::end(kKindItems)) return false;
  AddDisplay(item->kind);
  return true;
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
  if (!Ask("MSG_DREMOVE", "Remove selected display from the list?")) return;
  const int row = DisplayRow(display);
  FDeleting = true;
  FContext.displays.Delete(display);
  FillDisplayRows();
  FDeleting = false;
  const int next = RowAfterDelete(row, ListRowCount(PageOf(DisplayListId), DisplayListId));
  if (next >= 0) SelectListRow(PageOf(DisplayListId), DisplayListId, next);
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
  SetUpdating(true);
  SendDlgItemMessageW(page, EventListId, LVM_DELETEALLITEMS, 0, 0);
  for (TEvent* event : events) {
    const int row = AddListRow(page, EventListId, EventRowTexts(*event));
    SetListRowData(page, EventListId, row, reinterpret_cast<LPARAM>(event));
    SetListRowChecked(page, EventListId, row, event->Active());
    if (event == selected) SelectListRow(page, EventListId, row);
  }
  SetUpdating(false);
  // The message takes the room the date and the repeat leave.
  FitListColumns(page, EventListId, 1);
  UpdateActions();
}

void TfrmPreferences::EventChecked(int row) {
  const HWND page = PageOf(EventListId);
  auto* event = reinterpret_cast<TEvent*>(ListRowData(page, EventListId, row));
  const bool checked = IsListRowChecked(page, EventListId, row);
  if (!event || checked == event->Active()) return;
  if (SwitchEvent(*event, checked, LocalDateTimeNow()))
    PostMessageW(Handle(), WM_REBUILD_EVENTS, 0, 0);
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
  if (!Ask("MSG_EREMOVE", "Delete the selected event?")) return;
  FDeleting = true;
  FContext.events.Delete(reinterpret_cast<const TEvent*>(ListRowData(page, EventListId, row)));
  FillEventRows(nullptr);
  FDeleting = false;
  const int next = RowAfterDelete(row, ListRowCount(page, EventListId));
  if (next >= 0) SelectListRow(page, EventListId, next);
  UpdateActions();
}

LRESULT TfrmPreferences::ListNotify(int id, const NMHDR& header) {
  const bool displays = id == DisplayListId;
  switch (header.code) {
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (Updating() || FDeleting || !(change.uChanged & LVIF_STATE)) return 0;
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
