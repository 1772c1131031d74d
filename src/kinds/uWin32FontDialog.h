#pragma once

#include <windows.h>

#include "kinds/uFontOptions.h"

// The system's font dialog for screen fonts that exist; on OK the name,
// character set, size and style go back into the options (not the colour).
bool ExecuteFontDialog(HWND owner, TFontOptions& options);
