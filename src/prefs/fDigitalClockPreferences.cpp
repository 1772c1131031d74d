#include "prefs/fDigitalClockPreferences.h"

#include "display/uDisplay.h"
#include "prefs/fFormatElements.h"
#include "support/uDialogControls.h"

void TfrmDisplayPreferencesDigitalClock::SetUpControls() {
  TacDisplayPreferencesDigital::SetUpControls();
  AttachFormatElementMenu(Control(TextId), Context().zones);
}

void TfrmDisplayPreferencesDigitalClock::LoadControls() {
  TacDisplayPreferencesDigital::LoadControls();
  SetControlText(PageOf(TextId), TextId, Display().Text());
}

bool TfrmDisplayPreferencesDigitalClock::KindCommand(int id, int notification) {
  if (id == TextId) {
    if (notification != EN_CHANGE) return true;
    Display().SetText(ControlText(PageOf(id), id));
    // Typing repaints once it pauses.
    RequestRepaint(true);
    return true;
  }
  if (id == InsertElementId) {
    ShowFormatElements(Control(TextId), Context().zones, Control(id));
    return true;
  }
  return TacDisplayPreferencesDigital::KindCommand(id, notification);
}
