#pragma once

// The windows that make the program busy while they are open.
struct TBusyState {
  bool PreferencesWindowExists = false;
  bool DisplayPreferencesOpen = false;
  bool EventEditorOpen = false;
  bool AboutBoxOpen = false;

  // No window is open that the clock loop, tray, hot keys or a second start must not disturb.
  bool IsIdle() const {
    return !PreferencesWindowExists && !DisplayPreferencesOpen && !EventEditorOpen && !AboutBoxOpen;
  }
};
