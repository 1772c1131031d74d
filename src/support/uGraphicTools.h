#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/uCanvas.h"
#include "support/uTypes.h"

// How an analog clock draws one of its marks or hands; stored as a 12-byte record.
struct TElementSettings {
  std::uint32_t FillColor = 0;
  std::uint32_t OutlineColor = 0;
  std::int32_t OutlineWidth = 0;
  friend bool operator==(const TElementSettings&, const TElementSettings&) = default;
};
static_assert(sizeof(TElementSettings) == 12);

// A user colour of exactly the colour key would become a hole; draw it black.
constexpr TColor FixColor(TColor c) { return c == clColorKey ? 0x000000 : c; }

// The contrast of two colours as the accessibility guidelines measure it: 1 for equal colours,
// 21 for black on white.
double ContrastRatio(TColor a, TColor b);
// A quieter colour for secondary text: the mix of text into background nearest to the
// background that still reads at 4.5 to 1 against it (text itself where even that does not).
TColor SecondaryTextColor(TColor text, TColor background);

// The maximal runs of pixels that are not the key colour, row by row from the
// top, each as a one-row rectangle. Empty when every pixel is the key.
// The result is written into runs (cleared first) so callers can reuse it.
void RegionRunsFromBitmap(const TBitmap32& bitmap, TColor key, std::vector<TRect>& runs);

// Joins runs of consecutive rows whose runs are the same into taller
// rectangles. The pixels covered stay the same; the platform then has far
// fewer rectangles to turn into a window shape.
std::vector<TRect> MergeIdenticalRows(const std::vector<TRect>& runs);

enum class TAlignment { Left, Right, Center };
// The text format flag of an alignment.
unsigned AlignmentFlag(TAlignment alignment);
// A stored alignment: 1 right, 2 centre, anything else left.
TAlignment AlignmentFromCode(std::uint8_t code);

// Default (smoothed) quality when smooth, non-antialiased otherwise. The font is
// set again only when its quality changes, since the platform re-creates it.
void SetFontSmoothing(TCanvas& canvas, bool smooth);

// Every ring costs 13 text drawings; wider outlines (the preferences offer up
// to 3) are drawn at this width.
constexpr int MaxOutlineWidth = 6;

// The text in rect with width rings of 13 copies in outlineColor around it,
// lighter toward the upper left and darker toward the lower right when shaded.
// Leaves the brush clear and the font colour as it found it.
void DrawOutlinedText(TCanvas& canvas, const std::string& text, const TRect& rect, bool smooth,
                      bool shaded, TAlignment alignment, TColor outlineColor, int outlineWidth);

struct TFontStyles {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  friend bool operator==(const TFontStyles&, const TFontStyles&) = default;
};

// The stored style code: 1 for bold plus 16 for italic. Underline and
// strike-out are not stored.
int FontStyleToCode(const TFontStyles& style);
TFontStyles CodeToFontStyle(int code);

// The colour that marks the transparent pixels of toolbar glyphs.
constexpr TColor clGlyphMask = 0xFF00FF;

// Moves every pixel but the glyph mask four fifths of the way to colour, so a
// greyed copy of a glyph keeps its transparent parts.
void BlendBitmap(TBitmap32& bitmap, TColor colour);

struct TSinCos {
  double sin;
  double cos;
};
// Exact at whole multiples of 30 degrees, so that halves that must round to
// even really are halves.
TSinCos SinCosDegrees(double degrees);

// A pen wider than this covers every bitmap a display can have from any shape on it.
constexpr int MaxPenWidth = 2048;

// Where hour mark n (0 at twelve o'clock, clockwise) lies on a circle.
TPoint HourPoint(int n, int radius, TPoint centre);

// Brush and pen for one element of the analog clock. The colours come from
// alternative when useAlternative is set; the outline width always from record
// (at most MaxPenWidth).
void ApplyElementSettings(TCanvas& canvas, const TElementSettings& record,
                          const TElementSettings& alternative, bool useAlternative);
