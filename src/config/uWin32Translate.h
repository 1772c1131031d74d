#pragma once

#include <windows.h>

// Translates the window's caption by its own tag number, and every control,
// column, header section, tab and menu item of it by the control's identifier,
// with the current translation.
void TranslateForm(HWND window, int windowTag);
