#pragma once

#include "prefs/fDisplayPreferences.h"

// A digital clock: its format text, with the format element menu.
class TfrmDisplayPreferencesDigitalClock : public TacDisplayPreferencesDigital {
 public:
  static constexpr int TemplateId = IDD_DIGITALCLOCK;
  static constexpr int InsertElementId = IDC_DIGITALCLOCK_INSERT_ELEMENT;
  TfrmDisplayPreferencesDigitalClock(TDisplay& display, TDisplayPreferencesContext& context,
                                     HWND owner)
      : TacDisplayPreferencesDigital(TemplateId, {},
                                     {{"3101", "Text", {IDD_DIGITALCLOCK_TEXT_PAGE}}}, display,
                                     context, owner) {}

 protected:
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
};
