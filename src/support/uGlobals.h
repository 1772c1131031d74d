#pragma once

class TOptions;
class TDisplayList;
class TEvents;
class TTimeZones;

// The process-wide objects, owned by the main window and reachable from everywhere.
extern TOptions* Options;
extern TDisplayList* DisplayList;
extern TEvents* Events;
extern TTimeZones* TimeZones;

// Windows that make the program busy while they are open.
extern bool PreferencesWindowExists;
extern bool DisplayPreferencesOpen;
extern bool EventEditorOpen;
extern bool AboutBoxOpen;

// No window is open that the clock loop, tray, hot keys or a second start must not disturb.
bool IsIdle();
