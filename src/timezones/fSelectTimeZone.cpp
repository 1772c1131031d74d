#include "timezones/fSelectTimeZone.h"

#include <commctrl.h>

#include "config/uWin32Translate.h"
#include "support/uDialogControls.h"
#include "support/uPlatform.h"
#include "support/uWin32Tools.h"
#include "support/uWindowBase.h"
#include "timezones/uTimeZoneRows.h"
#include "timezones/uTimeZones.h"

namespace {

constexpr int kDescriptionColumn = 2;
constexpr int kTimeColumn = 3;

// Down in the search goes on to the list, to its selected row or its first.
LRESULT SearchBoxProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
  if (msg != WM_KEYDOWN || wParam != VK_DOWN) return DefSubclassProc(edit, msg, wParam, lParam);
  const HWND dialog = GetParent(edit);
  if (SelectedListRow(dialog, TfrmSelectTimeZone::ListId) < 0 &&
      ListRowCount(dialog, TfrmSelectTimeZone::ListId) > 0)
    SelectListRow(dialog, TfrmSelectTimeZone::ListId, 0);
  SetFocus(GetDlgItem(dialog, TfrmSelectTimeZone::ListId));
  return 0;
}

}  // namespace

bool TfrmSelectTimeZone::OnInitDialog() {
  const HWND list = Item(ListId);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  AddListColumn(Handle(), ListId, "GMT", 44);
  AddListColumn(Handle(), ListId, "Name", 170);
  AddListColumn(Handle(), ListId, "Description", 230);
  AddListColumn(Handle(), ListId, "Date and time", 100);
  // The columns exist only now; the translation keys them by the list's identifier.
  TranslateForm(Handle(), TemplateId);
  SetWindowSubclass(Item(SearchId), &GuardedSubclassProc<&SearchBoxProc>, 1, 0);
  FRows = SearchZones(FZones, "");
  FillList();
  // The zones' names first: the description takes the room the others leave.
  FitListColumns(Handle(), ListId, kDescriptionColumn);
  // The row of the current zone, if it has one; otherwise none and OK waits.
  const int row = RowOfZone(FRows, FSelected);
  if (row >= 0) SelectListRow(Handle(), ListId, row);
  lvTimeZonesChange();
  PlaceOverOwner(Handle());
  FLastMinute = Platform().clock->UtcNow().wMinute;
  SetTimer(Handle(), UpdateTimerId, 1000, nullptr);
  // The search is the first tab stop: the system gives it the focus, so typing searches at once.
  return true;
}

void TfrmSelectTimeZone::FillList() {
  SendMessageW(Item(ListId), WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(Item(ListId));
  for (const TZoneMatch& row : FRows) {
    const TTimeZone& zone = *row.zone;
    AddListRow(Handle(), ListId,
               {ZoneOffsetText(zone.ZoneInformation.Bias), zone.KeyName,
                DescriptionWithPlace(ZoneDescription(zone.DisplayName), row), ""});
  }
  SendMessageW(Item(ListId), WM_SETREDRAW, TRUE, 0);
  UpdateTimes();
}

void TfrmSelectTimeZone::UpdateTimes() {
  const TSystemTime utc = Platform().clock->UtcNow();
  SendMessageW(Item(ListId), WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = 0; i < FRows.size(); ++i)
    SetListCellText(Handle(), ListId, static_cast<int>(i), kTimeColumn,
                    ZoneDateTimeText(FZones, *FRows[i].zone, utc));
  SendMessageW(Item(ListId), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Item(ListId), nullptr, FALSE);
}

// The zone chosen before stays chosen while the search finds it; otherwise the best match is.
void TfrmSelectTimeZone::edSearchChange() {
  const TTimeZone* chosen = FSelected;
  const std::string search = ControlText(Handle(), SearchId);
  FRows = SearchZones(FZones, search);
  FillList();
  int row = RowOfZone(FRows, chosen);
  if (row < 0 && !search.empty() && !FRows.empty()) row = 0;
  if (row >= 0) SelectListRow(Handle(), ListId, row);
  lvTimeZonesChange();
}

void TfrmSelectTimeZone::lvTimeZonesChange() {
  FSelected = ZoneOfRow(FRows, SelectedListRow(Handle(), ListId));
  EnableControl(Handle(), OKId, FSelected != nullptr);
}

void TfrmSelectTimeZone::tmrUpdateZonesTimer() {
  const int minute = Platform().clock->UtcNow().wMinute;
  if (minute == FLastMinute) return;
  FLastMinute = minute;
  UpdateTimes();
}

INT_PTR TfrmSelectTimeZone::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == UpdateTimerId) tmrUpdateZonesTimer();
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != ListId) return FALSE;
      if (header->code == LVN_ITEMCHANGED) lvTimeZonesChange();
      // A double click answers as OK, with the row it hit or none.
      if (header->code == NM_DBLCLK) End(IDOK);
      return TRUE;
    }
    case WM_DESTROY:
      KillTimer(Handle(), UpdateTimerId);
      return FALSE;
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

void TfrmSelectTimeZone::OnCommand(int id, int notification) {
  if (id == OKId || id == IDOK) {
    if (IsWindowEnabled(Item(OKId))) End(IDOK);
  } else if (id == CancelId || id == IDCANCEL) {
    End(IDCANCEL);
  } else if (id == SearchId && notification == EN_CHANGE) {
    edSearchChange();
  } else {
    TDialogBase::OnCommand(id, notification);
  }
}

const TTimeZone* SelectTimeZone(const TTimeZones& zones, const TTimeZone* current, HWND owner) {
  TfrmSelectTimeZone picker(zones, current);
  return picker.ShowModal(owner) == IDOK ? picker.Selected() : nullptr;
}
