#include "support/uTools.h"

#include <algorithm>

void KeepHalfInside(TRect& rect, const TRect& bounds) {
  const int w = std::max(rect.Width(), 2), h = std::max(rect.Height(), 2);
  const int hw = w / 2, hh = h / 2;
  // The far limits first, so the near ones win when the bounds are too small.
  int left = std::min(rect.left, bounds.right - hw);
  left = std::max(left, bounds.left - hw);
  int top = std::min(rect.top, bounds.bottom - hh);
  top = std::max(top, bounds.top - hh);
  rect = {left, top, left + w, top + h};
}

TShortCutParts SplitShortCut(std::uint32_t shortcut) {
  TShortCutParts parts;
  parts.key = shortcut & 0xFF;
  if (shortcut & 0x2000) parts.shift |= ssShift;
  if (shortcut & 0x4000) parts.shift |= ssCtrl;
  if (shortcut & 0x8000) parts.shift |= ssAlt;
  return parts;
}
