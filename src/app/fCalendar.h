#pragma once

#include "resources/uResourceIds.h"
#include "support/uDialogBase.h"

// A month calendar that pops up centred on the cursor; Esc or the close box ends it.
class TfrmCalendar : public TDialogBase {
 public:
  static constexpr int TemplateId = IDD_CALENDAR;
  static constexpr int CalendarId = IDC_CALENDAR_MONTH;
  TfrmCalendar() : TDialogBase(TemplateId) {}

 protected:
  bool OnInitDialog() override;
};
