#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "config/uVarnRegistry.h"
#include "support/HSVLibrary.h"
#include "support/uCustomColors.h"
#include "support/uGraphicTools.h"
#include "support/uTestPlatform.h"

namespace {

// Per-pixel reference: each non-key pixel joins the run of its left neighbour.
std::vector<TRect> ReferenceRuns(const TMemoryBitmap& bitmap, std::uint32_t keyPixel) {
  std::vector<TRect> runs;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      if ((bitmap.ScanLine(y)[x] & 0xFFFFFF) == keyPixel) continue;
      if (!runs.empty() && runs.back().top == y && runs.back().right == x)
        runs.back().right = x + 1;
      else
        runs.push_back({x, y, x + 1, y + 1});
    }
  return runs;
}

TEST(RegionRuns, RandomPicturesGiveThePerPixelRunsAndMergingKeepsEveryPixel) {
  // A key that is not grey shows whether red and blue are swapped for the comparison.
  const TColor key = RGBColor(0x11, 0x22, 0x33);
  const std::uint32_t keyPixel = 0x112233;
  std::mt19937 rng(777);
  for (int round = 0; round < 60; ++round) {
    TMemoryBitmap bitmap;
    const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 30);
    bitmap.SetSize(w, h);
    // Rows repeat in stretches, as text glyphs do: empty, full, half or sparsely set. The unused
    // top byte is set at random: it is not part of the colour.
    std::uint32_t pattern = 0;
    for (int y = 0; y < h; ++y) {
      const std::uint32_t patterns[] = {0u, ~0u, std::uint32_t(rng()),
                                        std::uint32_t(rng() & rng())};
      if (y == 0 || rng() % 4 == 0) pattern = patterns[rng() % 4];
      for (int x = 0; x < w; ++x)
        bitmap.Pixel(x, y) = ((pattern >> (x % 32)) & 1 ? rng() & 0xFFFFFF : keyPixel) |
                             (rng() % 2 ? 0xFF000000u : 0u);
    }
    std::vector<TRect> runs{{9, 9, 9, 9}};  // replaced, not added to
    RegionRunsFromBitmap(bitmap, key, runs);
    ASSERT_EQ(runs, ReferenceRuns(bitmap, keyPixel)) << "round " << round;
    const std::vector<TRect> merged = MergeIdenticalRows(runs);
    EXPECT_LE(merged.size(), runs.size());
    std::vector<int> cover(static_cast<std::size_t>(w * h), 0);
    for (const TRect& r : merged)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ++cover[static_cast<std::size_t>(y * w + x)];
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(cover[static_cast<std::size_t>(y * w + x)],
                  (bitmap.Pixel(x, y) & 0xFFFFFF) != keyPixel)
            << round << ": " << x << "," << y;
  }
  // Three equal rows and a different one: two bands.
  const std::vector<TRect> rows{{1, 0, 3, 1}, {5, 0, 6, 1}, {1, 1, 3, 2}, {5, 1, 6, 2},
                                {1, 2, 3, 3}, {5, 2, 6, 3}, {0, 3, 2, 4}};
  EXPECT_EQ(MergeIdenticalRows(rows),
            (std::vector<TRect>{{1, 0, 3, 3}, {5, 0, 6, 3}, {0, 3, 2, 4}}));
  // Rows of three equal runs: three bands.
  EXPECT_EQ(
      MergeIdenticalRows(
          {{0, 0, 1, 1}, {2, 0, 4, 1}, {6, 0, 9, 1}, {0, 1, 1, 2}, {2, 1, 4, 2}, {6, 1, 9, 2}}),
      (std::vector<TRect>{{0, 0, 1, 2}, {2, 0, 4, 2}, {6, 0, 9, 2}}));
  // Equal runs with an empty row between them stay apart.
  EXPECT_EQ(MergeIdenticalRows({{1, 0, 2, 1}, {1, 2, 2, 3}}).size(), 2u);
}

TEST(HSV, HSVToRGBListedValues) {
  EXPECT_EQ(HSVToRGB({360, 255, 255}), HSVToRGB({0, 255, 255}));
  EXPECT_EQ(HSVToRGB({0, 255, 255}), RGBColor(255, 0, 0));
  EXPECT_EQ(HSVToRGB({0, 0, 77}), RGBColor(77, 77, 77));
  EXPECT_EQ(HSVToRGB({0, 1, 255}), RGBColor(255, 254, 254));  // the least colour is still colour
  // One hue in each sector of 60 degrees, and each sector's first hue.
  const std::pair<int, TColor> sectors[] = {
      {30, RGBColor(255, 128, 0)},  {90, RGBColor(128, 255, 0)},  {150, RGBColor(0, 255, 128)},
      {210, RGBColor(0, 128, 255)}, {270, RGBColor(128, 0, 255)}, {330, RGBColor(255, 0, 128)},
      {60, RGBColor(255, 255, 0)},  {120, RGBColor(0, 255, 0)},   {180, RGBColor(0, 255, 255)},
      {240, RGBColor(0, 0, 255)},   {300, RGBColor(255, 0, 255)}};
  for (const auto& [hue, rgb] : sectors) EXPECT_EQ(HSVToRGB({hue, 255, 255}), rgb) << hue;
}

// Against floating-point arithmetic with halves rounded away from zero, over a grid of colours
// that includes the edges (0, 1, 254, 255) of each channel.
TEST(HSV, RGBToHSVMatchesAFloatingPointReference) {
  const auto mulDiv = [](int a, int b, int c) {
    return static_cast<int>(std::round(double(a) * b / c));
  };
  std::vector<int> levels{0, 1, 2, 127, 128, 254, 255};
  for (int x = 5; x < 255; x += 17) levels.push_back(x);
  for (const int r : levels)
    for (const int g : levels)
      for (const int b : levels) {
        const int mx = std::max({r, g, b}), d = mx - std::min({r, g, b});
        THSV expected{0, mx > 0 ? mulDiv(d, 255, mx) : 0, mx};
        if (expected.s != 0) {
          expected.h = r == mx   ? mulDiv(g - b, 60, d)
                       : g == mx ? mulDiv(b - r, 60, d) + 120
                                 : mulDiv(r - g, 60, d) + 240;
          if (expected.h < 0) expected.h += 360;
        }
        ASSERT_EQ(RGBToHSV(RGBColor(r, g, b)), expected) << r << "," << g << "," << b;
      }
}

TEST(HSV, BrightnessIsClampedAtBothEnds) {
  EXPECT_EQ(ChangeBrightness(0xFFFFFF, 48), 0xFFFFFFu);
  EXPECT_EQ(Darken(RGBColor(32, 32, 32)), 0u);
  EXPECT_EQ(Lighten(RGBColor(100, 100, 100)), RGBColor(148, 148, 148));
  EXPECT_EQ(RGBToHSV(Darken(RGBColor(0x96, 0x8A, 0xF2))).v, 0xF2 - 48);
  EXPECT_EQ(FixColor(0x010101), 0u);
  EXPECT_EQ(FixColor(0x010102), 0x010102u);
}

std::vector<TCanvasCall> TextCalls(const TRecordingCanvas& canvas) {
  std::vector<TCanvasCall> texts;
  for (const TCanvasCall& call : canvas.calls)
    if (call.op == "DrawText") texts.push_back(call);
  return texts;
}

TRect Shifted(const TRect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Ring offsets and shades against plain radians: no offset of these rings lies near a half.
TEST(OutlinedText, RingsOfThirteenTurnedCopiesThenTheTextInItsOwnColourAndSmoothing) {
  using Q = TFontQuality;
  const struct {
    bool smooth, shaded;
    int width, rings;
    TFontQuality ring, text;
  } rows[] = {
      {false, false, 0, 0, Q::NonAntialiased, Q::NonAntialiased},
      {true, false, 0, 0, Q::Default, Q::Default},
      // Text over an outline is always smoothed, whatever the rings use.
      {false, false, 2, 2, Q::NonAntialiased, Q::Default},
      {true, true, 4, 4, Q::Default, Q::Default},
      {false, false, 9, 6, Q::NonAntialiased, Q::Default},  // at most six rings
  };
  const TRect rect{10, 20, 110, 60};
  const TColor colour = RGBColor(40, 160, 220);
  for (const auto& row : rows) {
    TMemoryBitmap bitmap;
    TFontSpec font;  // the canvas starts with the other smoothing than the rings want
    font.quality = row.ring == Q::Default ? Q::NonAntialiased : Q::Default;
    bitmap.Canvas().SetFont(font);
    bitmap.Canvas().SetFontColor(0x112233);
    DrawOutlinedText(bitmap.Canvas(), "A&B", rect, row.smooth, row.shaded, TAlignment::Right,
                     colour, row.width);
    const auto texts = TextCalls(bitmap.Recorder());
    ASSERT_EQ(texts.size(), 13u * row.rings + 1) << "width " << row.width;
    for (int k = 1; k <= row.rings; ++k)
      for (int i = 0; i <= 12; ++i) {
        const double theta = (30.0 * i + 2.0 * k) * std::numbers::pi / 180.0;
        const int dx = static_cast<int>(std::lround(std::cos(theta) * k));
        const int dy = static_cast<int>(std::lround(std::sin(theta) * k));
        const double s = std::sin((30.0 * i - 135.0) * std::numbers::pi / 180.0);
        const TCanvasCall& call = texts[(k - 1) * 13 + i];
        EXPECT_EQ(call.rect, Shifted(rect, dx, dy)) << "ring " << k << " step " << i;
        EXPECT_EQ(
            call.fontColor,
            row.shaded ? ChangeBrightness(colour, static_cast<int>(std::trunc(s * 48))) : colour)
            << "ring " << k << " step " << i;
        EXPECT_EQ(call.fontQuality, row.ring);
      }
    EXPECT_EQ(texts.back().rect, rect);
    EXPECT_EQ(texts.back().fontColor, 0x112233u);
    EXPECT_EQ(texts.back().fontQuality, row.text)
        << "smooth " << row.smooth << " width " << row.width;
    EXPECT_EQ(texts.back().format, TextFormat::Right | TextFormat::NoClip | TextFormat::NoPrefix);
    EXPECT_EQ(texts.back().brushStyle, TBrushStyle::Clear);
  }
}

TEST(FontStyle, CodeHoldsOnlyBoldAndItalic) {
  const std::pair<TFontStyles, int> rows[] = {
      {{false, false, false, false}, 0}, {{true, false, false, false}, 1},
      {{false, true, false, false}, 16}, {{true, true, false, false}, 17},
      {{true, false, true, false}, 1},   {{false, false, true, true}, 0},
      {{false, true, false, true}, 16},
  };
  for (const auto& [style, code] : rows) EXPECT_EQ(FontStyleToCode(style), code);
  // Reading back ignores every other bit.
  EXPECT_EQ(CodeToFontStyle(19), (TFontStyles{true, true, false, false}));
  EXPECT_EQ(CodeToFontStyle(2 | 4 | 8 | 32), TFontStyles{});
}

// Each channel of the pixel p blended toward the colour c, computed in floating point.
std::uint32_t ReferenceBlend(std::uint32_t p, TColor c) {
  const std::uint32_t t = PixelOf(c);
  std::uint32_t out = p & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const double v = ((p >> shift) & 0xFF) * 0.2 + ((t >> shift) & 0xFF) * 0.8;
    out |= static_cast<std::uint32_t>(std::lround(v)) << shift;
  }
  return out;
}

TEST(BlendBitmap, MatchesFloatingPointReferenceOnRandomPictures) {
  std::mt19937 rng(777);
  for (int round = 0; round < 20; ++round) {
    TMemoryBitmap bitmap;
    const int w = 1 + static_cast<int>(rng() % 17), h = 1 + static_cast<int>(rng() % 9);
    bitmap.SetSize(w, h);
    std::vector<std::uint32_t> before;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        // The unused top byte is set too: it must come through untouched.
        bitmap.Pixel(x, y) = rng() % 4 == 0 ? PixelOf(clGlyphMask)
                                            : (rng() & 0xFFFFFF) | (rng() % 2 ? 0x80000000u : 0u);
        before.push_back(bitmap.Pixel(x, y));
      }
    const TColor colour = rng() & 0xFFFFFF;
    BlendBitmap(bitmap, colour);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t p = before[static_cast<std::size_t>(y) * w + x];
        const std::uint32_t expected = p == PixelOf(clGlyphMask) ? p : ReferenceBlend(p, colour);
        EXPECT_EQ(bitmap.Pixel(x, y), expected) << "round " << round << " at " << x << "," << y;
      }
  }
}

TEST(TextColours, SecondaryTextIsQuieterYetReadable) {
  EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x123456, 0x123456), 1.0, 1e-9);
  for (const auto& [text, background] : {std::pair<TColor, TColor>{0x000000, 0xF0F0F0},
                                         {0xFFFFFF, 0x000000},
                                         {0x800000, 0xFFFFFF}}) {
    const double contrast = ContrastRatio(SecondaryTextColor(text, background), background);
    EXPECT_GE(contrast, 4.5) << std::hex << text;
    EXPECT_LT(contrast, 5.0) << std::hex << text;  // as quiet as that allows
  }
  EXPECT_EQ(SecondaryTextColor(0x808080, 0x909090), 0x808080u);  // already too faint: unchanged
}

TEST(HourPoint, QuarterHoursAndHalvesToEven) {
  EXPECT_EQ(HourPoint(0, 40, {100, 50}), (TPoint{100, 10}));  // twelve is up
  EXPECT_EQ(HourPoint(3, 40, {100, 50}), (TPoint{140, 50}));  // three is right
  EXPECT_EQ(HourPoint(1, 5, {0, 0}), (TPoint{2, -4}));        // 2.5 goes to 2
  EXPECT_EQ(HourPoint(7, 5, {0, 0}), (TPoint{-2, 4}));        // -2.5 goes to -2
  EXPECT_EQ(HourPoint(1, 5, {101, 0}), (TPoint{104, -4}));    // centre added first: 103.5 to 104
  EXPECT_EQ(HourPoint(1, 3, {0, 0}), (TPoint{2, -3}));        // cos 60 is exactly a half: 1.5 to 2
  EXPECT_EQ(HourPoint(5, 5, {0, 0}), (TPoint{2, 4}));         // and so is cos 60 below: 2.5 to 2
}

TEST(ElementSettings, ColoursByFlagWidthFromTheRecordAndNeverTheKey) {
  const TElementSettings record{0x112233, 0x445566, 3}, keyed{0x010101, 0x010101, 7};
  TMemoryBitmap bitmap;
  // The brush and pen an ellipse is then drawn with.
  const auto applied = [&](const TElementSettings& r, bool useAlt) {
    ApplyElementSettings(bitmap.Canvas(), r, keyed, useAlt);
    bitmap.Canvas().Ellipse({0, 0, 10, 10});
    const TCanvasCall& call = bitmap.Recorder().calls.back();
    return std::tuple(call.brushColor, call.penColor, call.penWidth, call.penStyle);
  };
  using S = TPenStyle;
  EXPECT_EQ(applied(record, false), std::tuple(0x112233u, 0x445566u, 3, S::InsideFrame));
  // The alternative's colours, the record's width; the key colour would cut holes: black.
  EXPECT_EQ(applied(record, true), std::tuple(0u, 0u, 3, S::InsideFrame));
  // One pixel is already an outline; none is no pen.
  EXPECT_EQ(applied({0x778899, 0xAABBCC, 1}, false),
            std::tuple(0x778899u, 0xAABBCCu, 1, S::InsideFrame));
  EXPECT_EQ(std::get<3>(applied({0x778899, 0xAABBCC, 0}, false)), S::Clear);
}

TEST(CustomColors, SlotsAreFoundByLetterAndDamageGivesWhite) {
  const TCustomColors colors = CustomColorsFromList({
      "ColorB=0000FF",  // red in the low byte
      "ColorA=123ABC",
      "ColorB=00FF00",   // a second B does not count
      "ColorC",          // no '='
      "ColorD=XYZ",      // not hex
      "colorF=000000",   // the name is case-sensitive
      "ColorG=1234567",  // more than 24 bits
      "ColorH=9",        // the edges of the digits
      "ColorI=a0",
      "ColorP=00ff80",
  });
  EXPECT_EQ(colors[1], RGBColor(255, 0, 0));
  // Written back in slot order; damage is white.
  const std::vector<std::string> written = CustomColorsToList(colors);
  std::string slots;
  for (const std::string& item : written) slots += item.substr(5) + " ";
  EXPECT_EQ(slots,
            "A=123ABC B=0000FF C=FFFFFF D=FFFFFF E=FFFFFF F=FFFFFF G=FFFFFF H=000009 I=0000A0 "
            "J=FFFFFF K=FFFFFF L=FFFFFF M=FFFFFF N=FFFFFF O=FFFFFF P=00FF80 ");
  EXPECT_EQ(CustomColorsFromList(written), colors);
}

}  // namespace
