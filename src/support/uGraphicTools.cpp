#include "support/uGraphicTools.h"

void RegionRunsFromBitmap(const TBitmap32& bitmap, TColor key, std::vector<TRect>& runs) {
  runs.clear();
  const std::uint32_t keyPixel = PixelOf(key);
  const int width = bitmap.Width();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* row = bitmap.ScanLine(y);
    int x = 0;
    while (x < width) {
      // The unused high byte of a pixel is not part of its colour.
      while (x < width && (row[x] & 0xFFFFFF) == keyPixel) ++x;
      if (x == width) break;
      const int start = x;
      while (x < width && (row[x] & 0xFFFFFF) != keyPixel) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
}
