#include "support/uColorButtonLayout.h"

namespace {

TRect Shifted(TRect r, int by) { return {r.left + by, r.top + by, r.right + by, r.bottom + by}; }

}  // namespace

TColorButtonLayout LayoutColorButton(const TRect& client, bool isDefault, bool pressed,
                                     bool focused, bool disabled, bool hasCaption, int frameWidth,
                                     int edgeWidth) {
  TColorButtonLayout layout;
  TRect r = client;
  if (isDefault) {
    layout.defaultFrame = r;
    r = r.Inflated(-1);
  }
  layout.frame = r;
  layout.flatFrame = pressed;
  r = r.Inflated(pressed ? -1 : -frameWidth);
  if (isDefault) r = client.Inflated(-1);
  if (pressed) r = Shifted(r, 1);
  // The right end belongs to the swatch.
  r.right -= isDefault ? 27 : 26;
  layout.caption = r;

  TRect swatch = client.Inflated(-5);
  if (hasCaption) swatch.left = swatch.right - 16;
  if (pressed) swatch = Shifted(swatch, 1);
  layout.swatchEdge = swatch;
  swatch = swatch.Inflated(-edgeWidth);
  layout.cross = disabled;
  layout.swatch = disabled ? swatch.Inflated(-1) : swatch;
  if (isDefault && focused) layout.focus = client.Inflated(-3);
  return layout;
}
