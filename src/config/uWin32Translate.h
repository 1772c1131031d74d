#pragma once

#include <windows.h>

// Translates the window's caption by its own tag number, and every control,
// column, header section, tab and menu item of it by the control's identifier,
// with the current translation.
void TranslateForm(HWND window, int windowTag);

// Group boxes are named by their windows, not by the window translation: this
// names every group box of the window by its identifier, as a label is.
void TranslateGroupBoxes(HWND window);
