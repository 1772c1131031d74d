#include "support/HSVLibrary.h"

#include <algorithm>
#include <cstdint>

namespace {

// a * b / c rounded to the nearest integer, halves away from zero. Every divisor
// here (a maximum or a difference of channels) is above 0.
int MulDiv(int a, int b, int c) {
  const std::int64_t n = static_cast<std::int64_t>(a) * b;
  const std::int64_t q = ((n < 0 ? -n : n) + c / 2) / c;
  return static_cast<int>(n < 0 ? -q : q);
}

}  // namespace

THSV RGBToHSV(TColor c) {
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  const int mx = std::max({r, g, b});
  const int mn = std::min({r, g, b});
  const int d = mx - mn;
  THSV out;
  out.v = mx;
  out.s = mx > 0 ? MulDiv(d, 255, mx) : 0;
  if (out.s == 0) return out;
  if (r == mx)
    out.h = MulDiv(g - b, 60, d);
  else if (g == mx)
    out.h = MulDiv(b - r, 60, d) + 120;
  else
    out.h = MulDiv(r - g, 60, d) + 240;
  if (out.h < 0) out.h += 360;
  return out;
}

TColor HSVToRGB(const THSV& hsv) {
  const int v = hsv.v, s = hsv.s;
  if (s == 0) return RGBColor(v, v, v);
  const int h = hsv.h == 360 ? 0 : hsv.h;
  const int i = h / 60, f = h % 60;
  const int p = v - v * s / 255;
  const int q = v - v * s * f / 15300;
  const int t = v - (60 - f) * v * s / 15300;
  switch (i) {
    case 0:
      return RGBColor(v, t, p);
    case 1:
      return RGBColor(q, v, p);
    case 2:
      return RGBColor(p, v, t);
    case 3:
      return RGBColor(p, q, v);
    case 4:
      return RGBColor(t, p, v);
    default:
      return RGBColor(v, p, q);
  }
}

TColor ChangeBrightness(TColor c, int delta) {
  THSV hsv = RGBToHSV(c);
  hsv.v = std::clamp(hsv.v + delta, 0, 255);
  return HSVToRGB(hsv);
}

TColor Lighten(TColor c) { return ChangeBrightness(c, 48); }
TColor Darken(TColor c) { return ChangeBrightness(c, -48); }
