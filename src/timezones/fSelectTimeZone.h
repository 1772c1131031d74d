#pragma once

#include <windows.h>

#include <vector>

#include "resources/uResourceIds.h"
#include "support/uDialogBase.h"
#include "timezones/uZoneSearch.h"

class TTimeZone;
class TTimeZones;

// The modal list of every zone of the catalogue, with its standard offset, name,
// description and the date and time there now, from which the user picks one. A search above
// the list keeps the zones it finds by name, city or country.
class TfrmSelectTimeZone : public TDialogBase {
 public:
  static constexpr int TemplateId = IDD_ZONES;
  static constexpr int OKId = IDC_ZONES_OK;
  static constexpr int CancelId = IDC_ZONES_CANCEL;
  static constexpr int ListId = IDC_ZONES_LIST;
  static constexpr int SearchId = IDC_ZONES_SEARCH;
  static constexpr UINT_PTR UpdateTimerId = 1;

  TfrmSelectTimeZone(const TTimeZones& zones, const TTimeZone* current)
      : TDialogBase(TemplateId), FZones(zones), FSelected(current) {}
  // The zone of the selected row, or none.
  const TTimeZone* Selected() const { return FSelected; }

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;

 private:
  void FillList();
  void UpdateTimes();
  void edSearchChange();
  void lvTimeZonesChange();
  void tmrUpdateZonesTimer();

  const TTimeZones& FZones;
  const TTimeZone* FSelected;
  // The rows, in the list's order.
  std::vector<TZoneMatch> FRows;
  int FLastMinute = -1;
};

// The zone the user picked, or none when the window was cancelled.
const TTimeZone* SelectTimeZone(const TTimeZones& zones, const TTimeZone* current, HWND owner);
