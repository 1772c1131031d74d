#pragma once

#include <windows.h>

#include "prefs/uFormatElements.h"

class TTimeZones;

// Pops the format element menu up at a screen point, by default under a format
// text's edit box; the element chosen replaces the edit's selection.
void ShowFormatElements(HWND edit, const TTimeZones& zones);
void ShowFormatElements(HWND edit, const TTimeZones& zones, POINT at);

// What choosing an item does: an element replaces the selection of a multi-line
// edit box; the zone switch asks for the zone first. The edit gets the focus.
void InsertFormatElement(HWND edit, const TFormatElement& element, const TTimeZones& zones);
