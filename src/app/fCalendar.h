#pragma once

#include "support/uDialogBase.h"

// A month calendar that pops up centred on the cursor; Esc or the close box ends it.
class TfrmCalendar : public TDialogBase {
 public:
  static constexpr int TemplateId = 5200;
  static constexpr int CalendarId = 5201;
  TfrmCalendar() : TDialogBase(TemplateId) {}

 protected:
  bool OnInitDialog() override;
};
