#pragma once

#include <cstdint>

// A colour as the platform stores it: 0x00BBGGRR.
using TColor = std::uint32_t;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// Pixels left in this colour are cut out of a display window without background.
constexpr TColor clColorKey = 0x010101;

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive, as in the platform's RECT.
struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Intersects(const TRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  TRect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// A wide result brought into the 32-bit range, so stored extremes cannot overflow.
constexpr std::int32_t SaturatedInt(std::int64_t value) {
  return value > INT32_MAX   ? INT32_MAX
         : value < INT32_MIN ? INT32_MIN
                             : static_cast<std::int32_t>(value);
}

inline TRect BoundsRect(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
