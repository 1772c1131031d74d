#pragma once

#include <optional>

#include "support/uTypes.h"

// Moving a display with the primary mouse button. The button's physical state
// is read at every step, so a release outside the window ends the move too.
class TDrag {
 public:
  void Begin(TPoint cursor, TPoint windowTopLeft);
  // The window's new top-left for a mouse move, or nothing when it stays.
  std::optional<TPoint> Move(TPoint cursor, bool primaryDown, TPoint windowTopLeft);
  // The window's top-left when the drag began, when a drag was going on: where Esc puts it back.
  std::optional<TPoint> End();
  bool Dragging() const { return FDragging; }

 private:
  bool FDragging = false;
  TPoint FLastCursor;
  TPoint FStart;
};
