#include "prefs/fStopwatchPreferences.h"

#include "kinds/uDisplayStopwatch.h"
#include "support/uDialogControls.h"

void TfrmDisplayPreferencesStopwatch::LoadControls() {
  TacDisplayPreferencesDigital::LoadControls();
  SetControlText(PageOf(TextId), TextId,
                 static_cast<const TDisplayStopwatch&>(Display()).StopwatchText);
}

bool TfrmDisplayPreferencesStopwatch::KindCommand(int id, int notification) {
  if (id != TextId) return TacDisplayPreferencesDigital::KindCommand(id, notification);
  if (notification == EN_CHANGE) {
    static_cast<TDisplayStopwatch&>(Display()).StopwatchText = ControlText(PageOf(id), id);
    RequestRepaint(false);
  }
  return true;
}
