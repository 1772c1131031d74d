#include "timezones/fSelectTimeZone.h"

#include <commctrl.h>

#include "config/uWin32Translate.h"
#include "support/uDialogControls.h"
#include "support/uPlatform.h"
#include "support/uWin32Tools.h"
#include "timezones/uTimeZoneRows.h"
#include "timezones/uTimeZones.h"

namespace {

constexpr int kDescriptionColumn = 2;
constexpr int kTimeColumn = 3;

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
  FillList();
  // The row of the current zone, if it has one; otherwise none and OK waits.
  const TTimeZone* current = FSelected;
  FSelected = nullptr;
  for (std::size_t i = 0; i < FZones.Count(); ++i)
    if (&FZones[i] == current) SelectListRow(Handle(), ListId, static_cast<int>(i));
  lvTimeZonesChange();
  PlaceOverOwner(Handle());
  FLastMinute = Platform().clock->UtcNow().wMinute;
  SetTimer(Handle(), UpdateTimerId, 1000, nullptr);
  return true;
}

void TfrmSelectTimeZone::FillList() {
  SendMessageW(Item(ListId), WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = 0; i < FZones.Count(); ++i) {
    const TTimeZone& zone = FZones[i];
    AddListRow(Handle(), ListId,
               {ZoneOffsetText(zone.ZoneInformation.Bias), zone.KeyName,
                ZoneDescription(zone.DisplayName), ""});
  }
  SendMessageW(Item(ListId), WM_SETREDRAW, TRUE, 0);
  UpdateTimes();
  // The zones' names first: the description takes the room the others leave.
  FitListColumns(Handle(), ListId, kDescriptionColumn);
}

void TfrmSelectTimeZone::UpdateTimes() {
  const TSystemTime utc = Platform().clock->UtcNow();
  SendMessageW(Item(ListId), WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = 0; i < FZones.Count(); ++i)
    SetListCellText(Handle(), ListId, static_cast<int>(i), kTimeColumn,
                    ZoneDateTimeText(FZones, FZones[i], utc));
  SendMessageW(Item(ListId), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Item(ListId), nullptr, FALSE);
}

void TfrmSelectTimeZone::lvTimeZonesChange() {
  const int row = SelectedListRow(Handle(), ListId);
  FSelected = row >= 0 && static_cast<std::size_t>(row) < FZones.Count()
                  ? &FZones[static_cast<std::size_t>(row)]
                  : nullptr;
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
  } else {
    TDialogBase::OnCommand(id, notification);
  }
}

const TTimeZone* SelectTimeZone(const TTimeZones& zones, const TTimeZone* current, HWND owner) {
  TfrmSelectTimeZone picker(zones, current);
  return picker.ShowModal(owner) == IDOK ? picker.Selected() : nullptr;
}
