#pragma once

#include "support/uTypes.h"

struct THSV {
  int h = 0;  // [0, 359]; 360 is accepted on input and means 0
  int s = 0;  // [0, 255]
  int v = 0;  // [0, 255]
  friend bool operator==(const THSV&, const THSV&) = default;
};

THSV RGBToHSV(TColor c);
TColor HSVToRGB(const THSV& hsv);
TColor ChangeBrightness(TColor c, int delta);
TColor Lighten(TColor c);
TColor Darken(TColor c);
