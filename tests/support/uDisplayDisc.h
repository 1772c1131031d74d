#pragma once

#include "display/uDisplay.h"
#include "display/uPainter.h"

// A display of simple geometry for the tests: a disc with a dot that goes round
// once a minute. With a background it fills its window and can be resized.
class TDisplayDisc : public TDisplay {
 public:
  TDisplayDisc();
  TPainterClass GetPainterClass() const override;
  void UpdateNeedsSeconds() override;

  TColor DiscColor = RGBColor(0x30, 0x60, 0xC0);
  TColor DotColor = RGBColor(0xFF, 0xFF, 0xFF);
  static constexpr int DiscSize = 120;
  // The side of the square a disc without background takes.
  int Size = DiscSize;
};

class TPainterDisc : public TPainter {
 public:
  using TPainter::TPainter;
  void GetSize(TBitmap32& bitmap, int& width, int& height) override;
  void Paint(TBitmap32& bitmap) override;
};
