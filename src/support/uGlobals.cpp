#include "support/uGlobals.h"

TOptions* Options = nullptr;
TDisplayList* DisplayList = nullptr;
TEvents* Events = nullptr;
TTimeZones* TimeZones = nullptr;

bool PreferencesWindowExists = false;
bool DisplayPreferencesOpen = false;
bool EventEditorOpen = false;
bool AboutBoxOpen = false;

bool IsIdle() {
  return !PreferencesWindowExists && !DisplayPreferencesOpen && !EventEditorOpen && !AboutBoxOpen;
}
