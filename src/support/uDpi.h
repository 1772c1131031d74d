#pragma once

#include <cstdint>

// The program's own pixel sizes (widths, marks, margins, stored display sizes) are given at
// 96 dpi; on a monitor of another DPI they grow or shrink with it, as fonts in points do.
constexpr int BaseDpi = 96;

// A length at 96 dpi at another DPI, rounded to the nearest pixel with halves away from zero
// (the platform's MulDiv rounding).
constexpr int ScaleToDpi(int pixels, int dpi) {
  const std::int64_t product = std::int64_t{pixels} * dpi;
  const std::int64_t half = BaseDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / BaseDpi : (product - half) / BaseDpi);
}

// A length at a DPI back at 96 dpi, rounded the same way; a DPI of 0 or less counts as 96.
constexpr int ScaleFromDpi(int pixels, int dpi) {
  if (dpi <= 0) return pixels;
  const std::int64_t product = std::int64_t{pixels} * BaseDpi;
  const std::int64_t half = dpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / dpi : (product - half) / dpi);
}
