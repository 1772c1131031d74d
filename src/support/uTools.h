#pragma once

#include <cstdint>

#include "support/uTypes.h"

// Moves rect so that at least half of its width and height lie within bounds.
void KeepHalfInside(TRect& rect, const TRect& bounds);

enum TShiftState : unsigned { ssShift = 1, ssCtrl = 2, ssAlt = 4 };

// A stored keyboard shortcut: virtual-key code in the low byte, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt.
struct TShortCutParts {
  unsigned key = 0;
  unsigned shift = 0;  // TShiftState bits
};
TShortCutParts SplitShortCut(std::uint32_t shortcut);
