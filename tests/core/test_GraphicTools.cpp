#include <gtest/gtest.h>

#include <random>

#include "support/HSVLibrary.h"
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

}  // namespace
