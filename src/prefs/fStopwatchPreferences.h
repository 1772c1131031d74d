#pragma once

#include "prefs/fDisplayPreferences.h"

// A stopwatch: the text around its counter.
class TfrmDisplayPreferencesStopwatch : public TacDisplayPreferencesDigital {
 public:
  static constexpr int TemplateId = IDD_STOPWATCH;
  TfrmDisplayPreferencesStopwatch(TDisplay& display, TDisplayPreferencesContext& context,
                                  HWND owner)
      : TacDisplayPreferencesDigital(TemplateId, {}, {{"3401", "Text", {IDD_STOPWATCH_TEXT_PAGE}}},
                                     display, context, owner) {}

 protected:
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
};
