#include <gtest/gtest.h>

#include <array>

#include "support/uGdiCanvas.h"
#include "support/uGraphicTools.h"

namespace {

std::uint32_t At(TGdiBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFF; }

class GdiCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bitmap.SetSize(40, 30);
    bitmap.Canvas().SetBrush(clColorKey, TBrushStyle::Solid);
    bitmap.Canvas().FillRect({0, 0, 40, 30});
  }
  TGdiBitmap bitmap;
};

TEST_F(GdiCanvasTest, FillAndRowsUseThePixelOrder) {
  bitmap.Canvas().SetBrush(RGBColor(255, 0, 0), TBrushStyle::Solid);
  bitmap.Canvas().FillRect({2, 3, 5, 4});
  EXPECT_EQ(At(bitmap, 2, 3), 0xFF0000u);  // red is the high byte of a pixel
  EXPECT_EQ(At(bitmap, 4, 3), 0xFF0000u);
  EXPECT_EQ(At(bitmap, 5, 3), PixelOf(clColorKey));
  EXPECT_EQ(At(bitmap, 2, 4), PixelOf(clColorKey));
}

TEST_F(GdiCanvasTest, InsideFramePenStaysWithinTheRectangle) {
  TCanvas& c = bitmap.Canvas();
  c.SetBrush(0, TBrushStyle::Clear);
  c.SetPen(RGBColor(0, 255, 0), 3, TPenStyle::InsideFrame);
  c.Rectangle({0, 0, 40, 30});
  const std::uint32_t green = PixelOf(RGBColor(0, 255, 0));
  EXPECT_EQ(At(bitmap, 0, 15), green);
  EXPECT_EQ(At(bitmap, 2, 15), green);
  EXPECT_EQ(At(bitmap, 3, 15), PixelOf(clColorKey));  // hollow brush: the inside is untouched
  EXPECT_EQ(At(bitmap, 39, 15), green);
  EXPECT_EQ(At(bitmap, 37, 15), green);
  EXPECT_EQ(At(bitmap, 36, 15), PixelOf(clColorKey));
  EXPECT_EQ(At(bitmap, 20, 29), green);
  EXPECT_EQ(At(bitmap, 20, 26), PixelOf(clColorKey));
}

TEST_F(GdiCanvasTest, TextIsMeasuredAndDrawn) {
  TCanvas& c = bitmap.Canvas();
  c.SetFont({"Tahoma", -12, true});
  c.SetFontColor(RGBColor(255, 255, 0));
  c.SetBrush(0, TBrushStyle::Clear);
  TRect one{0, 0, 0, 0}, two{0, 0, 0, 0};
  c.DrawText("Wx", one, TextFormat::CalcRect | TextFormat::NoPrefix);
  c.DrawText("Wx\r\nWx", two, TextFormat::CalcRect | TextFormat::NoPrefix);
  EXPECT_GT(one.Width(), 0);
  EXPECT_GT(one.Height(), 0);
  EXPECT_EQ(two.Width(), one.Width());
  EXPECT_GT(two.Height(), one.Height());

  TRect where{0, 0, 40, 30};
  c.DrawText("Wx", where, TextFormat::NoPrefix | TextFormat::NoClip);
  int yellow = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) yellow += At(bitmap, x, y) == PixelOf(RGBColor(255, 255, 0));
  EXPECT_GT(yellow, 5);
}

TEST_F(GdiCanvasTest, RegionFromDrawnShapeContainsExactlyTheDrawnPixels) {
  TCanvas& c = bitmap.Canvas();
  c.SetPen(0, 1, TPenStyle::Clear);
  c.SetBrush(RGBColor(10, 20, 30), TBrushStyle::Solid);
  c.Ellipse({3, 2, 33, 28});
  std::vector<TRect> runs;
  RegionRunsFromBitmap(bitmap, clColorKey, runs);
  ASSERT_FALSE(runs.empty());
  TUniqueRegion region = CreateRegionFromRuns(runs);
  ASSERT_TRUE(region);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      EXPECT_EQ(PtInRegion(region.get(), x, y) != 0, At(bitmap, x, y) != PixelOf(clColorKey))
          << x << "," << y;
  TUniqueRegion none = CreateRegionFromRuns({});  // cuts a window to nothing
  RECT box{};
  EXPECT_EQ(GetRgnBox(none.get(), &box), NULLREGION);
}

TEST_F(GdiCanvasTest, AKeptFontIsSelectedAgainWhenItIsAskedForAgain) {
  TCanvas& c = bitmap.Canvas();
  const auto selectedHeight = [&] {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(bitmap.DC(), OBJ_FONT), sizeof(font), &font);
    return font.lfHeight;
  };
  for (const int height : {-12, -30, -12, -30}) {
    c.SetFont({"Tahoma", height});
    EXPECT_EQ(selectedHeight(), height);
  }
}

TEST_F(GdiCanvasTest, ChangingToolsAndSizeLeaksNoObject) {
  TCanvas& c = bitmap.Canvas();
  const long before = LiveGdiObjects();
  const auto rounds = [&] {
    for (int i = 0; i < 500; ++i) {
      c.SetPen(RGBColor(i, 0, 0), 1 + i % 3, i % 2 ? TPenStyle::Solid : TPenStyle::InsideFrame);
      c.SetBrush(RGBColor(0, i, 0), i % 5 ? TBrushStyle::Solid : TBrushStyle::Clear);
      c.SetFont({"Tahoma", -10 - i % 7});
      bitmap.SetSize(20 + i % 4, 20);
    }
    return LiveGdiObjects();
  };
  // A pen, a solid brush, a bitmap and at most the four fonts kept, as before; and no more later.
  const long after = rounds();
  EXPECT_LE(after, before + 3);
  EXPECT_EQ(rounds(), after);
}

}  // namespace
