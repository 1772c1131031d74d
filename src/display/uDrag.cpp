#include "display/uDrag.h"

void TDrag::Begin(TPoint cursor, TPoint windowTopLeft) {
  FDragging = true;
  FLastCursor = cursor;
  FStart = windowTopLeft;
}

std::optional<TPoint> TDrag::Move(TPoint cursor, bool primaryDown, TPoint windowTopLeft) {
  if (!FDragging || !primaryDown || cursor == FLastCursor) return std::nullopt;
  const TPoint moved{windowTopLeft.x + cursor.x - FLastCursor.x,
                     windowTopLeft.y + cursor.y - FLastCursor.y};
  FLastCursor = cursor;
  return moved;
}

std::optional<TPoint> TDrag::End() {
  if (!FDragging) return std::nullopt;
  FDragging = false;
  return FStart;
}
