#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "config/uOptions.h"
#include "config/uVarnRegistry.h"
#include "support/HSVLibrary.h"
#include "support/uCustomColors.h"
#include "support/uGraphicTools.h"
#include "support/uTestPlatform.h"

namespace {

// Per-pixel reference: every non-key pixel as its own rectangle, then merged
// with its left neighbour on the same row.
std::vector<TRect> ReferenceRuns(const TMemoryBitmap& bitmap, TColor key) {
  std::vector<TRect> runs;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t p = bitmap.ScanLine(y)[x] & 0xFFFFFF;
      if (p == PixelOf(key)) continue;
      if (!runs.empty() && runs.back().top == y && runs.back().right == x)
        runs.back().right = x + 1;
      else
        runs.push_back({x, y, x + 1, y + 1});
    }
  return runs;
}

TEST(RegionRuns, RowWithTwoRuns) {
  TMemoryBitmap bitmap;
  bitmap.SetSize(6, 1);
  const std::uint32_t key = PixelOf(clColorKey), other = PixelOf(0x00FF00);
  const std::uint32_t row[] = {key, key, other, other, key, other};
  std::copy(std::begin(row), std::end(row), bitmap.ScanLine(0));
  std::vector<TRect> runs;
  RegionRunsFromBitmap(bitmap, clColorKey, runs);
  EXPECT_EQ(runs, (std::vector<TRect>{{2, 0, 4, 1}, {5, 0, 6, 1}}));
}

TEST(RegionRuns, OnlyKeyGivesNoRunsAndTheUnusedByteIsIgnored) {
  TMemoryBitmap bitmap;
  bitmap.SetSize(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) bitmap.Pixel(x, y) = 0xFF000000u | PixelOf(clColorKey);
  std::vector<TRect> runs{{1, 1, 2, 2}};
  RegionRunsFromBitmap(bitmap, clColorKey, runs);
  EXPECT_TRUE(runs.empty());
}

TEST(RegionRuns, KeyRedAndBlueAreSwappedAgainstThePixel) {
  // A key that is not grey shows whether the comparison uses pixel order.
  TMemoryBitmap bitmap;
  bitmap.SetSize(2, 1);
  bitmap.Pixel(0, 0) = 0x00112233;  // red 0x11, green 0x22, blue 0x33
  bitmap.Pixel(1, 0) = 0x00332211;
  std::vector<TRect> runs;
  RegionRunsFromBitmap(bitmap, RGBColor(0x11, 0x22, 0x33), runs);
  EXPECT_EQ(runs, (std::vector<TRect>{{1, 0, 2, 1}}));
}

TEST(RegionRuns, MergingRowsKeepsEveryPixel) {
  std::mt19937 rng(777);
  for (int round = 0; round < 40; ++round) {
    TMemoryBitmap bitmap;
    const int w = 1 + static_cast<int>(rng() % 30), h = 1 + static_cast<int>(rng() % 30);
    bitmap.SetSize(w, h);
    // Rows repeat in stretches, as text glyphs do.
    std::uint32_t pattern = static_cast<std::uint32_t>(rng());
    for (int y = 0; y < h; ++y) {
      if (rng() % 4 == 0) pattern = static_cast<std::uint32_t>(rng());
      for (int x = 0; x < w; ++x)
        bitmap.Pixel(x, y) = (pattern >> (x % 32)) & 1 ? 0x123456u : PixelOf(clColorKey);
    }
    std::vector<TRect> runs;
    RegionRunsFromBitmap(bitmap, clColorKey, runs);
    const std::vector<TRect> merged = MergeIdenticalRows(runs);
    EXPECT_LE(merged.size(), runs.size());
    std::vector<int> cover(static_cast<std::size_t>(w * h), 0);
    for (const TRect& r : merged)
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ++cover[static_cast<std::size_t>(y * w + x)];
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(cover[static_cast<std::size_t>(y * w + x)], (bitmap.Pixel(x, y) & 0xFFFFFF) != PixelOf(clColorKey))
            << round << ": " << x << "," << y;
  }
  // Three equal rows and a different one: two bands.
  const std::vector<TRect> rows{{1, 0, 3, 1}, {5, 0, 6, 1}, {1, 1, 3, 2}, {5, 1, 6, 2}, {1, 2, 3, 3},
                                {5, 2, 6, 3}, {0, 3, 2, 4}};
  EXPECT_EQ(MergeIdenticalRows(rows), (std::vector<TRect>{{1, 0, 3, 3}, {5, 0, 6, 3}, {0, 3, 2, 4}}));
  // Equal runs with an empty row between them stay apart.
  EXPECT_EQ(MergeIdenticalRows({{1, 0, 2, 1}, {1, 2, 2, 3}}).size(), 2u);
}

TEST(RegionRuns, MatchesPerPixelReferenceOnRandomPictures) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 50; ++round) {
    TMemoryBitmap bitmap;
    const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 20);
    bitmap.SetSize(w, h);
    const unsigned keyShare = rng() % 100;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        bitmap.Pixel(x, y) = rng() % 100 < keyShare ? PixelOf(clColorKey) : (rng() & 0xFFFFFF);
    std::vector<TRect> runs;
    RegionRunsFromBitmap(bitmap, clColorKey, runs);
    EXPECT_EQ(runs, ReferenceRuns(bitmap, clColorKey)) << "round " << round;
  }
}

TEST(HSV, ListedValues) {
  EXPECT_EQ(RGBToHSV(RGBColor(255, 0, 0)), (THSV{0, 255, 255}));
  EXPECT_EQ(RGBToHSV(0x808080), (THSV{0, 0, 128}));
  EXPECT_EQ(RGBToHSV(0xFF0000).h, 240);
  EXPECT_EQ(RGBToHSV(RGBColor(0, 255, 0)).h, 120);
  EXPECT_EQ(RGBToHSV(RGBColor(255, 0, 128)).h, 330);  // negative hue wraps
  EXPECT_EQ(HSVToRGB({360, 255, 255}), HSVToRGB({0, 255, 255}));
  EXPECT_EQ(HSVToRGB({0, 255, 255}), RGBColor(255, 0, 0));
  EXPECT_EQ(HSVToRGB({0, 0, 77}), RGBColor(77, 77, 77));
}

TEST(HSV, RoundTripStaysWithinRounding) {
  // Integer HSV loses a little; a conversion fault shows as a large error.
  for (TColor c : {RGBColor(0x96, 0x8A, 0xF2), RGBColor(10, 200, 30), RGBColor(250, 250, 5),
                   RGBColor(1, 2, 3), RGBColor(200, 10, 100)}) {
    const TColor back = HSVToRGB(RGBToHSV(c));
    EXPECT_NEAR(RedOf(back), RedOf(c), 6);
    EXPECT_NEAR(GreenOf(back), GreenOf(c), 6);
    EXPECT_NEAR(BlueOf(back), BlueOf(c), 6);
  }
}

TEST(HSV, BrightnessIsClampedAtBothEnds) {
  EXPECT_EQ(ChangeBrightness(0xFFFFFF, 48), 0xFFFFFFu);
  EXPECT_EQ(Darken(RGBColor(32, 32, 32)), 0u);
  EXPECT_EQ(Lighten(RGBColor(100, 100, 100)), RGBColor(148, 148, 148));
  EXPECT_EQ(RGBToHSV(Darken(RGBColor(0x96, 0x8A, 0xF2))).v, 0xF2 - 48);
}

TEST(FixColor, OnlyTheKeyItselfBecomesBlack) {
  EXPECT_EQ(FixColor(0x010101), 0u);
  EXPECT_EQ(FixColor(0x010102), 0x010102u);
  EXPECT_EQ(FixColor(0xFFFFFF), 0xFFFFFFu);
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

// Counts how often the font is really set, which the platform pays for.
class TFontCountingCanvas : public TRecordingCanvas {
 public:
  using TRecordingCanvas::TRecordingCanvas;
  void SetFont(const TFontSpec& font) override {
    ++setFontCount;
    TRecordingCanvas::SetFont(font);
  }
  int setFontCount = 0;
};

TEST(FontSmoothing, QualityFollowsTheFlagAndTheFontIsSetOnlyOnChange) {
  TMemoryBitmap bitmap;
  TFontCountingCanvas canvas(bitmap);
  TFontSpec font;
  font.name = "Arial";
  font.bold = true;
  canvas.SetFont(font);
  canvas.setFontCount = 0;
  struct Row {
    bool smooth;
    TFontQuality expected;
    int setsExpected;
  };
  // Starts at the default quality, so the first row must not set the font again.
  const Row rows[] = {{true, TFontQuality::Default, 0},
                      {false, TFontQuality::NonAntialiased, 1},
                      {false, TFontQuality::NonAntialiased, 1},
                      {true, TFontQuality::Default, 2}};
  for (const Row& row : rows) {
    SetFontSmoothing(canvas, row.smooth);
    EXPECT_EQ(canvas.Font().quality, row.expected);
    EXPECT_EQ(canvas.setFontCount, row.setsExpected);
    // Only the quality changes; the rest of the font stays.
    EXPECT_EQ(canvas.Font().name, "Arial");
    EXPECT_TRUE(canvas.Font().bold);
  }
}

TEST(OutlinedText, DrawsThirteenCopiesPerRingAndTheTextLast) {
  for (int width : {0, 1, 2, 5}) {
    TMemoryBitmap bitmap;
    DrawOutlinedText(bitmap.Canvas(), "12:34", {0, 0, 80, 20}, true, false, TAlignment::Left,
                     0x00FF00, width);
    EXPECT_EQ(TextCalls(bitmap.Recorder()).size(), static_cast<std::size_t>(13 * width + 1))
        << "width " << width;
  }
}

TEST(OutlinedText, FormatFollowsTheAlignmentWithoutClippingOrPrefix) {
  const struct {
    TAlignment alignment;
    unsigned flag;
  } rows[] = {{TAlignment::Left, TextFormat::Left},
              {TAlignment::Right, TextFormat::Right},
              {TAlignment::Center, TextFormat::Center}};
  for (const auto& row : rows) {
    TMemoryBitmap bitmap;
    bitmap.Canvas().SetBrush(0x123456, TBrushStyle::Solid);
    DrawOutlinedText(bitmap.Canvas(), "A&B", {0, 0, 50, 20}, true, false, row.alignment, 0, 1);
    for (const TCanvasCall& call : TextCalls(bitmap.Recorder())) {
      EXPECT_EQ(call.format, row.flag | TextFormat::NoClip | TextFormat::NoPrefix);
      EXPECT_EQ(call.brushStyle, TBrushStyle::Clear);
      EXPECT_EQ(call.text, "A&B");
    }
  }
}

TEST(OutlinedText, RingOffsetsMatchAnIndependentComputation) {
  const TRect rect{10, 20, 110, 60};
  const int width = 4;
  TMemoryBitmap bitmap;
  DrawOutlinedText(bitmap.Canvas(), "x", rect, true, false, TAlignment::Left, 0, width);
  const auto texts = TextCalls(bitmap.Recorder());
  ASSERT_EQ(texts.size(), 13u * width + 1);
  // No offset of these rings lies near a half, so plain radians serve as the reference.
  for (int k = 1; k <= width; ++k)
    for (int i = 0; i <= 12; ++i) {
      const double theta = (30.0 * i + 2.0 * k) * std::numbers::pi / 180.0;
      const int dx = static_cast<int>(std::lround(std::cos(theta) * k));
      const int dy = static_cast<int>(std::lround(std::sin(theta) * k));
      EXPECT_EQ(texts[(k - 1) * 13 + i].rect, Shifted(rect, dx, dy)) << "ring " << k << " step " << i;
    }
  EXPECT_EQ(texts.back().rect, rect);
}

TEST(OutlinedText, ExactHalvesOfAWideRingRoundToEven) {
  // Ring 45 is turned by 90 degrees, so its copies lie at multiples of 30 degrees
  // where cos 60 x 45 is exactly 22.5.
  const TRect rect{0, 0, 10, 10};
  TMemoryBitmap bitmap;
  DrawOutlinedText(bitmap.Canvas(), "x", rect, true, false, TAlignment::Left, 0, 45);
  const auto texts = TextCalls(bitmap.Recorder());
  ASSERT_EQ(texts.size(), 13u * 45 + 1);
  const struct {
    int step;  // angle a = 30 x step, drawn at a + 90 degrees
    int dx, dy;
  } rows[] = {
      {0, 0, 45},     // 90 degrees
      {1, -22, 39},   // 120: -22.5 goes to -22
      {5, -22, -39},  // 240
      {3, -45, 0},    // 180
      {7, 22, -39},   // 300: 22.5 goes to 22
      {11, 22, 39},   // 420 = 60
      {12, 0, 45},    // 450 = 90
  };
  for (const auto& row : rows)
    EXPECT_EQ(texts[44 * 13 + row.step].rect, Shifted(rect, row.dx, row.dy)) << "step " << row.step;
}

TEST(OutlinedText, ShadedRingIsLighterTowardTheUpperLeft) {
  // A grey keeps its hue, so each copy's colour shows the brightness change alone:
  // V 128 plus trunc(sin(a - 135 degrees) x 48).
  const TColor grey = 0x808080;
  const int values[13] = {95, 82, 82, 95, 116, 140, 161, 174, 174, 161, 140, 116, 95};
  for (int width : {1, 2}) {
    TMemoryBitmap bitmap;
    bitmap.Canvas().SetFontColor(0x0000FF);
    DrawOutlinedText(bitmap.Canvas(), "x", {0, 0, 10, 10}, true, true, TAlignment::Left, grey,
                     width);
    const auto texts = TextCalls(bitmap.Recorder());
    ASSERT_EQ(texts.size(), 13u * width + 1);
    for (int k = 0; k < width; ++k)
      for (int i = 0; i < 13; ++i)
        EXPECT_EQ(texts[k * 13 + i].fontColor, RGBColor(values[i], values[i], values[i]))
            << "ring " << k + 1 << " step " << i;
    EXPECT_EQ(texts.back().fontColor, 0x0000FFu);
  }
}

TEST(OutlinedText, ShadedColoursFollowChangeBrightness) {
  const TColor colour = RGBColor(40, 160, 220);
  TMemoryBitmap bitmap;
  DrawOutlinedText(bitmap.Canvas(), "x", {0, 0, 10, 10}, true, true, TAlignment::Left, colour, 1);
  const auto texts = TextCalls(bitmap.Recorder());
  ASSERT_EQ(texts.size(), 14u);
  for (int i = 0; i < 13; ++i) {
    const double s = std::sin((30.0 * i - 135.0) * std::numbers::pi / 180.0);
    EXPECT_EQ(texts[i].fontColor, ChangeBrightness(colour, static_cast<int>(std::trunc(s * 48))))
        << "step " << i;
  }
}

TEST(OutlinedText, PlainOutlineUsesTheOutlineColourAndRestoresTheFontColour) {
  TMemoryBitmap bitmap;
  bitmap.Canvas().SetFontColor(0x112233);
  DrawOutlinedText(bitmap.Canvas(), "x", {0, 0, 10, 10}, false, false, TAlignment::Right, 0x445566,
                   3);
  const auto texts = TextCalls(bitmap.Recorder());
  ASSERT_EQ(texts.size(), 40u);
  for (std::size_t i = 0; i + 1 < texts.size(); ++i) EXPECT_EQ(texts[i].fontColor, 0x445566u);
  EXPECT_EQ(texts.back().fontColor, 0x112233u);
  EXPECT_EQ(bitmap.Canvas().FontColor(), 0x112233u);
}

TEST(OutlinedText, SmoothingOfRingsAndText) {
  const struct {
    bool smooth;
    int width;
    TFontQuality ring;
    TFontQuality text;
  } rows[] = {
      {false, 0, TFontQuality::NonAntialiased, TFontQuality::NonAntialiased},
      {true, 0, TFontQuality::Default, TFontQuality::Default},
      // Text over an outline is always smoothed, whatever the rings use.
      {false, 2, TFontQuality::NonAntialiased, TFontQuality::Default},
      {true, 2, TFontQuality::Default, TFontQuality::Default},
  };
  for (const auto& row : rows) {
    for (TFontQuality before : {TFontQuality::Default, TFontQuality::NonAntialiased}) {
      TMemoryBitmap bitmap;
      TFontSpec font;
      font.quality = before;
      bitmap.Canvas().SetFont(font);
      DrawOutlinedText(bitmap.Canvas(), "x", {0, 0, 10, 10}, row.smooth, false, TAlignment::Left,
                       0, row.width);
      const auto texts = TextCalls(bitmap.Recorder());
      ASSERT_EQ(texts.size(), 13u * row.width + 1);
      for (std::size_t i = 0; i + 1 < texts.size(); ++i) EXPECT_EQ(texts[i].fontQuality, row.ring);
      EXPECT_EQ(texts.back().fontQuality, row.text)
          << "smooth " << row.smooth << " width " << row.width;
    }
  }
}

TEST(FontStyle, CodeHoldsOnlyBoldAndItalic) {
  const struct {
    TFontStyles style;
    int code;
  } rows[] = {
      {{false, false, false, false}, 0},  {{true, false, false, false}, 1},
      {{false, true, false, false}, 16},  {{true, true, false, false}, 17},
      {{true, false, true, false}, 1},    {{false, false, true, true}, 0},
      {{false, true, false, true}, 16},
  };
  for (const auto& row : rows) EXPECT_EQ(FontStyleToCode(row.style), row.code);
}

TEST(FontStyle, CodeToStyleIgnoresOtherBits) {
  const TFontStyles none{}, bold{true}, italic{false, true}, both{true, true};
  const struct {
    int code;
    TFontStyles style;
  } rows[] = {{0, none},  {1, bold},  {16, italic}, {17, both},       {2 | 4 | 8, none},
              {32, none}, {19, both}, {-1, both},   {~(1 | 16), none}, {0x101, bold}};
  for (const auto& row : rows) EXPECT_EQ(CodeToFontStyle(row.code), row.style) << row.code;
}

TEST(FontStyle, RoundTripOfStoredStyles) {
  for (int code : {0, 1, 16, 17}) EXPECT_EQ(FontStyleToCode(CodeToFontStyle(code)), code);
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

TEST(BlendBitmap, KeepsMagentaAndBlendsTheRest) {
  const struct {
    std::uint32_t pixel;
    TColor colour;
    std::uint32_t expected;
  } rows[] = {
      {PixelOf(0xFF00FF), 0x000000, PixelOf(0xFF00FF)},
      {0xFF000000u | PixelOf(0xFF00FF), 0x000000, 0xFF000000u | PixelOf(0xFF00FF)},
      {PixelOf(0x000000), 0xFFFFFF, PixelOf(0xCCCCCC)},  // 255 x 0.8 = 204
      {PixelOf(0xFFFFFF), 0x000000, PixelOf(0x333333)},  // 255 x 0.2 = 51
      // Red 100 toward blue 200: a channel mix-up shows here.
      {PixelOf(RGBColor(100, 0, 0)), RGBColor(0, 0, 200), PixelOf(RGBColor(20, 0, 160))},
      // 3 x 0.2 = 0.6 rounds up; 2 x 0.2 = 0.4 rounds down.
      {PixelOf(RGBColor(3, 2, 1)), 0x000000, PixelOf(RGBColor(1, 0, 0))},
      // Almost magenta is blended like any other colour.
      {PixelOf(RGBColor(255, 0, 254)), 0x000000, PixelOf(RGBColor(51, 0, 51))},
      {PixelOf(RGBColor(254, 0, 255)), 0xFFFFFF, PixelOf(RGBColor(255, 204, 255))},
  };
  TMemoryBitmap bitmap;
  // Every row blends toward its own colour, so each gets its own call.
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    bitmap.SetSize(1, 1);
    bitmap.Pixel(0, 0) = rows[i].pixel;
    BlendBitmap(bitmap, rows[i].colour);
    EXPECT_EQ(bitmap.Pixel(0, 0), rows[i].expected) << "row " << i;
  }
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
        bitmap.Pixel(x, y) = rng() % 4 == 0 ? PixelOf(clGlyphMask) : (rng() & 0xFFFFFF);
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

TEST(HourPoint, QuarterHoursAndHalvesToEven) {
  const struct {
    int n, radius;
    TPoint centre, expected;
  } rows[] = {
      {0, 40, {100, 50}, {100, 10}},   // twelve o'clock is up
      {3, 40, {100, 50}, {140, 50}},   // three is right
      {6, 40, {100, 50}, {100, 90}},   // six is down
      {9, 40, {100, 50}, {60, 50}},    // nine is left
      {12, 40, {100, 50}, {100, 10}},  // a full turn
      {-3, 40, {100, 50}, {60, 50}},
      {1, 5, {0, 0}, {2, -4}},         // cos -60 x 5 = 2.5 goes to 2
      {2, 3, {0, 0}, {3, -2}},         // sin -30 x 3 = -1.5 goes to -2
      {7, 5, {0, 0}, {-2, 4}},         // cos 120 x 5 = -2.5 goes to -2
      {11, 1, {0, 0}, {0, -1}},        // -0.5 goes to 0
      // The centre is added before rounding: 2.5 + 101 = 103.5 goes to 104.
      {1, 5, {101, 0}, {104, -4}},
      {2, 3, {0, 7}, {3, 6}},          // -1.5 + 7 = 5.5 goes to 6
  };
  for (const auto& row : rows)
    EXPECT_EQ(HourPoint(row.n, row.radius, row.centre), row.expected)
        << "n " << row.n << " radius " << row.radius;
}

TEST(HourPoint, AgreesWithRadiansAwayFromHalves) {
  for (int n = 0; n < 12; ++n) {
    const double angle = (n * 30.0 - 90.0) * std::numbers::pi / 180.0;
    const TPoint p = HourPoint(n, 98, {300, 200});
    EXPECT_EQ(p.x, std::lround(std::cos(angle) * 98 + 300)) << n;
    EXPECT_EQ(p.y, std::lround(std::sin(angle) * 98 + 200)) << n;
  }
}

TEST(ElementSettings, ColoursByFlagWidthAlwaysFromTheRecord) {
  const TElementSettings record{0x112233, 0x445566, 3};
  const TElementSettings keyAlternative{0x010101, 0x010101, 7};
  const TElementSettings flatRecord{0x778899, 0xAABBCC, 0};
  const TElementSettings negativeRecord{0x778899, 0xAABBCC, -2};
  const TElementSettings wideAlternative{0x0000FF, 0x00FF00, 5};
  const struct {
    TElementSettings record, alternative;
    bool useAlternative;
    TColor brush;
    TPenStyle penStyle;
    TColor pen;
    int penWidth;
  } rows[] = {
      {record, keyAlternative, false, 0x112233, TPenStyle::InsideFrame, 0x445566, 3},
      // The key colour would cut holes: it is drawn black.
      {record, keyAlternative, true, 0x000000, TPenStyle::InsideFrame, 0x000000, 3},
      {flatRecord, wideAlternative, false, 0x778899, TPenStyle::Clear, 0, 0},
      {flatRecord, wideAlternative, true, 0x0000FF, TPenStyle::Clear, 0, 0},
      {negativeRecord, wideAlternative, true, 0x0000FF, TPenStyle::Clear, 0, 0},
      {TElementSettings{0x010102, 0x010101, 1}, record, false, 0x010102, TPenStyle::InsideFrame,
       0x000000, 1},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& row = rows[i];
    TMemoryBitmap bitmap;
    bitmap.Canvas().SetPen(0x999999, 9, TPenStyle::Solid);
    ApplyElementSettings(bitmap.Canvas(), row.record, row.alternative, row.useAlternative);
    bitmap.Canvas().Ellipse({0, 0, 10, 10});
    const TCanvasCall& call = bitmap.Recorder().calls.back();
    EXPECT_EQ(call.brushStyle, TBrushStyle::Solid) << "row " << i;
    EXPECT_EQ(call.brushColor, row.brush) << "row " << i;
    EXPECT_EQ(call.penStyle, row.penStyle) << "row " << i;
    // A clear pen draws nothing, so its colour and width do not matter.
    if (row.penStyle == TPenStyle::Clear) continue;
    EXPECT_EQ(call.penColor, row.pen) << "row " << i;
    EXPECT_EQ(call.penWidth, row.penWidth) << "row " << i;
  }
}

TEST(CustomColors, HexParsing) {
  const struct {
    const char* text;
    std::optional<TColor> expected;
  } rows[] = {
      {"FFFFFF", 0xFFFFFF}, {"0000FF", 0x0000FF}, {"c0ffee", 0xC0FFEE}, {"1", 0x1},
      {"00FF00", 0x00FF00}, {"", std::nullopt},   {"1234567", std::nullopt},
      {"12G456", std::nullopt}, {" 12345", std::nullopt}, {"-12345", std::nullopt},
      {"0x1234", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseCustomColorHex(row.text), row.expected) << row.text;
}

TEST(CustomColors, DefaultsOfTheOptionsAreWhite) {
  TOptions options;
  TCustomColors white;
  white.fill(0xFFFFFF);
  EXPECT_EQ(CustomColorsFromList(options.CustomColors), white);
  EXPECT_EQ(CustomColorsToList(white), options.CustomColors);
}

TEST(CustomColors, SlotsAreFoundByLetterAndDamageGivesWhite) {
  const std::vector<std::string> items{
      "ColorB=0000FF",   // red in the low byte
      "ColorA=123ABC",
      "ColorB=00FF00",   // a second B does not count
      "ColorC",          // no '='
      "ColorD=XYZ",      // not hex
      "ColorE=",         // nothing after '='
      "ColorQ=000000",   // not a slot
      "colorF=000000",   // the name is case-sensitive
      "ColorG=1234567",  // more than 24 bits
      "ColorP=00ff80",
      "",
      "=",
  };
  const TCustomColors colors = CustomColorsFromList(items);
  EXPECT_EQ(colors[0], 0x123ABCu);
  EXPECT_EQ(colors[1], RGBColor(255, 0, 0));
  for (int i = 2; i < 15; ++i) EXPECT_EQ(colors[i], clEmptyCustomColor) << "slot " << i;
  EXPECT_EQ(colors[15], 0x00FF80u);
  EXPECT_TRUE(CustomColorsFromList({}) == CustomColorsFromList({"junk", "Color", "Color="}));
}

TEST(CustomColors, ListRoundTripIsCanonical) {
  TCustomColors colors;
  for (int i = 0; i < CustomColorCount; ++i) colors[i] = static_cast<TColor>(i * 0x0F1E2D + 1);
  const std::vector<std::string> items = CustomColorsToList(colors);
  ASSERT_EQ(items.size(), 16u);
  EXPECT_EQ(items[0], "ColorA=000001");
  EXPECT_EQ(items[15], "ColorP=E2C4A4");  // 15 x 0x0F1E2D + 1
  EXPECT_EQ(CustomColorsFromList(items), colors);
  // The item order does not matter, only the letters.
  std::vector<std::string> reversed(items.rbegin(), items.rend());
  EXPECT_EQ(CustomColorsFromList(reversed), colors);
}

TEST(CustomColors, WrittenListServesTheRecentColours) {
  // The dialog's colours go back to the options and the choice then joins the
  // recent slots, which look items up in the same form.
  TOptions options;
  TCustomColors fromDialog = CustomColorsFromList(options.CustomColors);
  fromDialog[6] = RGBColor(1, 2, 3);  // G, the oldest recent slot
  options.CustomColors = CustomColorsToList(fromDialog);
  options.AddCustomColor(RGBColor(0x10, 0x20, 0x30));
  const TCustomColors after = CustomColorsFromList(options.CustomColors);
  EXPECT_EQ(after[15], RGBColor(0x10, 0x20, 0x30));  // P, the newest
  EXPECT_EQ(after[6], 0xFFFFFFu);                    // G took O's old value
  EXPECT_EQ(after[0], 0xFFFFFFu);
}

}  // namespace
