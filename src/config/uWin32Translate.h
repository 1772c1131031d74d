#pragma once

#include <windows.h>

// A window's own tag number, by which its caption is translated; a control's
// tag is its control identifier.
void SetWindowTag(HWND window, int tag);
int WindowTag(HWND window);

// Translates the caption of the window and every tagged control, column,
// header section, tab and menu item of it with the current translation.
void TranslateForm(HWND window);
