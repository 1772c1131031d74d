#pragma once

#include <vector>

#include "support/uCanvas.h"
#include "support/uTypes.h"

// A user colour of exactly the colour key would become a hole; draw it black.
constexpr TColor FixColor(TColor c) { return c == clColorKey ? 0x000000 : c; }

// The maximal runs of pixels that are not the key colour, row by row from the
// top, each as a one-row rectangle. Empty when every pixel is the key.
// The result is written into runs (cleared first) so callers can reuse it.
void RegionRunsFromBitmap(const TBitmap32& bitmap, TColor key, std::vector<TRect>& runs);
