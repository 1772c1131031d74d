#pragma once

#include <windows.h>

#include "prefs/uFormatElements.h"

class TTimeZones;

// Pops the format element menu up under a window (by default the format text's
// edit box, or the button that asked) or at a screen point; the element chosen
// replaces the edit's selection.
void ShowFormatElements(HWND edit, const TTimeZones& zones, HWND under = nullptr);
void ShowFormatElements(HWND edit, const TTimeZones& zones, POINT at);

// Makes a multi-line edit a format text box: a click selects the element at
// the caret, Insert alone does so and opens the menu at the edit, and the
// context menu is the format element menu.
void AttachFormatElementMenu(HWND edit, const TTimeZones& zones);

// What choosing an item does: an element replaces the selection of a multi-line
// edit box; the zone switch asks for the zone first. The edit gets the focus.
void InsertFormatElement(HWND edit, const TFormatElement& element, const TTimeZones& zones);
