#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "config/uOptions.h"
#include "support/uCustomColors.h"
#include "support/uGdiCanvas.h"
#include "support/uGraphicTools.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Tools.h"
#include "win/uModalSteps.h"

namespace {

TEST(Win32Graphics, BoldFontsAreTheStockAndTheMenuFontMadeBoldAndLeakNothing) {
  LOGFONTW stock{};
  ASSERT_NE(GetObjectW(GetStockObject(ANSI_VAR_FONT), sizeof(stock), &stock), 0);
  const long before = LiveGdiObjects();
  for (int i = 0; i < 20; ++i) {
    const TFontRef font = CreateBoldFont();
    ASSERT_TRUE(font.IsOwned());
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    LOGFONTW bold{};
    ASSERT_NE(GetObjectW(font.get(), sizeof(bold), &bold), 0);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_EQ(bold.lfHeight, stock.lfHeight);
    EXPECT_STREQ(bold.lfFaceName, stock.lfFaceName);
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  // What the menu headers draw with: the menu's font at the system's DPI, grown at a larger one.
  const TFontSpec spec = BoldMenuFontSpec(ScreenDpi());
  EXPECT_TRUE(spec.bold);
  EXPECT_EQ(spec.height, metrics.lfMenuFont.lfHeight);
  EXPECT_NEAR(BoldMenuFontSpec(ScreenDpi() * 2).height, metrics.lfMenuFont.lfHeight * 2, 1);
  EXPECT_EQ(LiveGdiObjects(), before);
}

constexpr int GlyphSize = 8;
constexpr std::uint32_t Background = 0x123456;  // in pixel order; nothing in the glyph has it

// The glyph's pixels read straight from the resource data (a packed 32-bit
// bitmap, rows bottom-up), top row first, without the platform's loader.
std::vector<std::uint32_t> ResourcePixels() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, L"TEST_GLYPH", MAKEINTRESOURCEW(2));
  if (!found) return {};
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof(header));
  if (header.biWidth != GlyphSize || header.biHeight != GlyphSize || header.biBitCount != 32)
    return {};
  std::vector<std::uint32_t> pixels(GlyphSize * GlyphSize);
  for (int y = 0; y < GlyphSize; ++y)
    std::memcpy(&pixels[y * GlyphSize], data + header.biSize + (GlyphSize - 1 - y) * GlyphSize * 4,
                GlyphSize * 4);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

std::uint32_t ReferenceBlend(std::uint32_t pixel, TColor colour) {
  const std::uint32_t target = PixelOf(colour);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double v = ((pixel >> shift) & 0xFF) * 0.2 + ((target >> shift) & 0xFF) * 0.8;
    out |= static_cast<std::uint32_t>(std::lround(v)) << shift;
  }
  return out;
}

// What image 0 of list looks like drawn transparently over the background.
std::vector<std::uint32_t> DrawnImage(HIMAGELIST list) {
  TGdiBitmap target;
  target.SetSize(GlyphSize, GlyphSize);
  for (int y = 0; y < GlyphSize; ++y)
    for (int x = 0; x < GlyphSize; ++x) target.ScanLine(y)[x] = Background;
  EXPECT_TRUE(ImageList_Draw(list, 0, target.DC(), 0, 0, ILD_TRANSPARENT));
  GdiFlush();
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < GlyphSize; ++y)
    for (int x = 0; x < GlyphSize; ++x) pixels.push_back(target.ScanLine(y)[x] & 0xFFFFFF);
  return pixels;
}

class ImageLists : public ::testing::Test {
 protected:
  void SetUp() override {
    enabled = ImageList_Create(GlyphSize, GlyphSize, ILC_COLOR24 | ILC_MASK, 1, 1);
    disabled = ImageList_Create(GlyphSize, GlyphSize, ILC_COLOR24 | ILC_MASK, 1, 1);
    ASSERT_TRUE(enabled && disabled);
    pixels = ResourcePixels();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(GlyphSize * GlyphSize));
  }
  void TearDown() override {
    if (enabled) ImageList_Destroy(enabled);
    if (disabled) ImageList_Destroy(disabled);
  }
  HIMAGELIST enabled = nullptr;
  HIMAGELIST disabled = nullptr;
  std::vector<std::uint32_t> pixels;
};

TEST_F(ImageLists, GlyphAndItsGreyedCopyKeepTheMask) {
  const long before = LiveGdiObjects();
  ASSERT_TRUE(AddGlyph(enabled, L"TEST_GLYPH", disabled));
  EXPECT_EQ(LiveGdiObjects(), before);
  EXPECT_EQ(ImageList_GetImageCount(enabled), 1);
  EXPECT_EQ(ImageList_GetImageCount(disabled), 1);

  const std::uint32_t mask = PixelOf(clGlyphMask);
  const TColor face = GetSysColor(COLOR_BTNFACE);
  const auto shown = DrawnImage(enabled);
  const auto greyed = DrawnImage(disabled);
  int masked = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const bool transparent = pixels[i] == mask;
    masked += transparent;
    EXPECT_EQ(shown[i], transparent ? Background : pixels[i]) << "pixel " << i;
    EXPECT_EQ(greyed[i], transparent ? Background : ReferenceBlend(pixels[i], face))
        << "pixel " << i;
  }
  // The picture has a frame and inner holes to be cut out, and colours to blend.
  EXPECT_GT(masked, 4 * GlyphSize - 4);
  EXPECT_LT(masked, GlyphSize * GlyphSize);
}

class ColorDialog : public ::testing::Test {
 protected:
  TOptions options;
};

TEST_F(ColorDialog, OkGivesTheColourAndRecordsItAsRecent) {
  options.CustomColors[0] = "ColorA=0000FF";
  options.CustomColors[1] = "ColorB=not hex";
  TColor colour = RGBColor(10, 20, 30);
  AnswerModalWindows({Press(IDOK)});
  EXPECT_TRUE(PickColor(nullptr, options.CustomColors, colour));
  ASSERT_TRUE(ModalSteps().empty());
  EXPECT_EQ(colour, RGBColor(10, 20, 30));
  TCustomColors expected;
  expected.fill(clEmptyCustomColor);
  expected[0] = RGBColor(255, 0, 0);
  expected[15] = RGBColor(10, 20, 30);  // ColorP, the newest recent colour
  EXPECT_EQ(options.CustomColors, CustomColorsToList(expected));
}

class TFakeColorButton : public TColorButtonValue {
 public:
  TColor ColorValue() const override { return value; }
  void SetColorValue(TColor c) override {
    value = c;
    ++setCount;
  }
  TColor value = clColorKey;
  int setCount = 0;
};

TEST_F(ColorDialog, ButtonShowsAChosenColourKeyAsBlack) {
  const struct {
    int button;
    TColor start;
    bool chosen;
    TColor shown;
    int sets;
  } rows[] = {
      {IDOK, clColorKey, true, 0x000000, 1},
      {IDOK, RGBColor(1, 1, 2), true, RGBColor(1, 1, 2), 1},
      {IDCANCEL, clColorKey, false, clColorKey, 0},
  };
  for (const auto& row : rows) {
    TFakeColorButton button;
    button.value = row.start;
    AnswerModalWindows({Press(row.button)});
    EXPECT_EQ(PickButtonColor(nullptr, options.CustomColors, button), row.chosen);
    ASSERT_TRUE(ModalSteps().empty());
    EXPECT_EQ(button.value, row.shown);
    EXPECT_EQ(button.setCount, row.sets);
  }
}

}  // namespace
