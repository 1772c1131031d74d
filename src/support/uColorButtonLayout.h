#pragma once

#include <optional>

#include "support/uTypes.h"

// Where a colour button draws each of its parts, by its state.
struct TColorButtonLayout {
  std::optional<TRect> defaultFrame;  // a 1-pixel frame: the dialog's default button
  TRect frame;                        // the push-button frame, or a flat one when pressed
  bool flatFrame = false;             // pressed: a 1-pixel shadow rectangle on the face colour
  TRect caption;                      // the caption, centred on one line
  TRect swatchEdge;                   // a sunken edge around the swatch
  TRect swatch;                       // filled with the colour, or crossed when disabled
  bool cross = false;
  std::optional<TRect> focus;
};

// frameWidth and edgeWidth are the platform's push-button frame and sunken edge.
TColorButtonLayout LayoutColorButton(const TRect& client, bool isDefault, bool pressed,
                                     bool focused, bool disabled, bool hasCaption,
                                     int frameWidth = 2, int edgeWidth = 2);
