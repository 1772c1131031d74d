#include <gtest/gtest.h>

#include "config/uVarnRegistry.h"
#include "display/uDisplay.h"
#include "display/uPainter.h"
#include "support/HSVLibrary.h"
#include "support/uDisplayDisc.h"
#include "support/uTestPlatform.h"

namespace {

class TSizedPainter : public TPainter {
 public:
  using TPainter::TPainter;
  void GetSize(TBitmap32&, int& width, int& height) override {
    width = wantWidth;
    height = wantHeight;
  }
  static inline int wantWidth = 20;
  static inline int wantHeight = 20;
};

// The base model with a painter whose size the test chooses.
class TTestDisplay : public TDisplay {
 public:
  TTestDisplay() : TDisplay(dkDigitalClock) {}
  TPainterClass GetPainterClass() const override {
    return
        [](TDisplay& d) -> std::unique_ptr<TPainter> { return std::make_unique<TSizedPainter>(d); };
  }
  void ActiveChanged() override { ++activeChanges; }
  void UpdateNeedsSeconds() override { SetNeedsSeconds(movesEverySecond); }
  bool NeedsRepaint() override { return pictureChanges; }
  bool movesEverySecond = false;
  bool pictureChanges = true;
  int activeChanges = 0;
};

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSizedPainter::wantWidth = 100;
    TSizedPainter::wantHeight = 60;
  }
  std::unique_ptr<TTestDisplay> ShownDisplay() {
    auto d = TDisplay::Create<TTestDisplay>();
    d->SetActive(true);
    d->Show();
    return d;
  }
  int Draws(const TDisplay& d) { return TTestPlatform::WindowOf(d).drawCount; }
  // The colour a pixel of the display's bitmap shows.
  static TColor At(const TDisplay& d, int x, int y) {
    return PixelOf(TTestPlatform::BitmapOf(d).Pixel(x, y));
  }
  TVarnRegistry& Key() {
    if (!reg.HasCurrentKey()) reg.OpenKey("Software\\Quorvel II\\Displays\\000", true);
    return reg;
  }
  TTestPlatform platform;
  TVarnRegistry reg;
};

TEST_F(DisplayTest, ActivationPlacesTheWindowUnderTheGuardAndDeactivationKeepsItsBounds) {
  auto d = TDisplay::Create<TTestDisplay>();
  d->Left = 300;
  d->SetTransparent(true);
  d->SetAlphaBlendValue(128);
  d->SetActive(true);
  auto& w = TTestPlatform::WindowOf(*d);
  EXPECT_TRUE(w.guardSeenOnSetBounds);
  EXPECT_FALSE(w.guard);
  EXPECT_EQ(w.bounds, (TRect{300, 100, 320, 120}));
  EXPECT_TRUE(w.alphaBlend);
  EXPECT_EQ(w.alphaValue, 128);
  EXPECT_FALSE(d->IsVisible());  // activating does not show
  d->SetActive(true);
  EXPECT_EQ(d->activeChanges, 1);

  const int draws = w.drawCount;
  w.MoveTo(400, 40);
  d->BoundsChanged();  // the window was resized: stored and repainted
  EXPECT_EQ(d->Left, 400);
  EXPECT_EQ(w.drawCount, draws + 1);
  w.MoveTo(500, 40);
  d->SetActive(false);
  EXPECT_EQ(d->activeChanges, 2);
  EXPECT_EQ(d->Left, 500);
  EXPECT_EQ(d->Top, 40);
  EXPECT_EQ(d->Painter(), nullptr);
}

TEST_F(DisplayTest, RenderRaisesTheSizeToTheMinimum) {
  TSizedPainter::wantWidth = 5;
  TSizedPainter::wantHeight = 300;
  auto d = ShownDisplay();
  auto& bitmap = TTestPlatform::BitmapOf(*d);
  EXPECT_EQ(bitmap.Width(), 20);
  EXPECT_EQ(bitmap.Height(), 300);
  EXPECT_EQ(TTestPlatform::WindowOf(*d).bounds.Height(), 300);
  const int resizes = bitmap.resizeCount;
  d->Repaint();
  EXPECT_EQ(bitmap.resizeCount, resizes);  // same size: the bitmap is kept
}

TEST_F(DisplayTest, TickRepaintsOnANewMinuteWhenDirtyOrEverySecondWhileThePictureMoves) {
  struct Case {
    bool shown, moves, changes, dirty, minute, second, drawn;
  };
  const Case cases[] = {
      {false, true, true, true, true, true, false},    // hidden: nothing, and still dirty
      {true, false, true, false, false, true, false},  // a still picture ignores seconds
      {true, false, true, true, false, false, true},   // dirty
      {true, false, true, false, true, true, true},    // a new minute
      {true, true, true, false, false, true, true},    // a moving picture, a new second
      {true, true, true, false, false, false, false},  // the same second again
      {true, true, false, false, false, true, false},  // the kind says nothing changed
  };
  for (const Case& c : cases) {
    auto d = c.shown ? ShownDisplay() : TDisplay::Create<TTestDisplay>();
    d->SetActive(true);
    d->movesEverySecond = c.moves;
    d->UpdateNeedsSeconds();
    d->pictureChanges = c.changes;
    if (c.dirty) d->SetDirty();
    const int before = Draws(*d);
    d->Tick(c.minute, c.minute, c.second, 5);
    EXPECT_EQ(Draws(*d) > before, c.drawn) << &c - cases;
    EXPECT_EQ(d->Dirty(), c.dirty && !c.drawn) << &c - cases;
  }
}

TEST_F(DisplayTest, Bevel3DIsLitAtTheTopAndLeftAndShadedAtTheBottomAndRight) {
  auto d = ShownDisplay();  // 100 x 60
  d->HasBackground = true;
  d->BevelWidth = 2;
  d->Repaint();
  const TColor lit = Lighten(d->BevelColor), shaded = Darken(d->BevelColor);
  // L lit, S shaded, B the background inside.
  std::string seen;
  const TPoint points[] = {{0, 0},  {1, 30},  {50, 1},  {99, 0}, {98, 1}, {0, 59},
                           {1, 58}, {50, 58}, {98, 30}, {99, 1}, {2, 2},  {97, 57}};
  for (const auto& [x, y] : points) {
    const TColor c = At(*d, x, y);
    seen += c == lit ? 'L' : c == shaded ? 'S' : c == d->BackgroundColor ? 'B' : '?';
  }
  EXPECT_EQ(seen, "LLLLLSSSSSBB");
  // Half the shorter side already covers the display, lit above its middle and shaded below.
  d->BevelWidth = INT32_MAX;
  d->Repaint();
  EXPECT_EQ(At(*d, 50, 29), lit);
  EXPECT_EQ(At(*d, 50, 30), shaded);
}

TEST_F(DisplayTest, FlashingFillsOnOddSecondsAndAFlatBevelKeepsItsColour) {
  auto d = ShownDisplay();
  d->HasBackground = true;
  d->Bevel3D = false;
  d->BevelWidth = 3;
  d->BevelColor = RGBColor(0, 128, 0);
  d->Flash(0, RGBColor(255, 0, 0));
  for (const int second : {7, 8}) {
    d->Tick(false, false, true, second);
    EXPECT_EQ(d->FlashPhase(), second == 7);
    EXPECT_EQ(At(*d, 3, 30), second == 7 ? RGBColor(255, 0, 0) : d->BackgroundColor);
    for (const TPoint p : {TPoint{0, 0}, TPoint{2, 30}, TPoint{97, 30}, TPoint{50, 57}})
      EXPECT_EQ(At(*d, p.x, p.y), RGBColor(0, 128, 0)) << second << ": " << p.x << "," << p.y;
  }
  d->StopFlashing();
  EXPECT_TRUE(d->Dirty());
  d->Tick(false, false, true, 9);
  EXPECT_FALSE(d->FlashPhase());
  d->BevelWidth = 1;  // one pixel is drawn too
  d->Repaint();
  EXPECT_EQ(At(*d, 0, 30), RGBColor(0, 128, 0));
  EXPECT_EQ(At(*d, 1, 30), d->BackgroundColor);
}

TEST_F(DisplayTest, HighlightFrameIsThreeNestedRings) {
  auto d = ShownDisplay();
  d->SetHighlighted(true);
  d->Repaint();
  d->SetHighlighted(true);  // again after a repaint: dirty again
  EXPECT_TRUE(d->Dirty());
  d->Repaint();
  // Inwards from every edge: two pixels dark, two white, two dark, then the colour key.
  const TColor rings[] = {0x705030, 0x705030, 0xFFFFFF, 0xFFFFFF, 0x705030, 0x705030, clColorKey};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(At(*d, i, 30), rings[i]) << i;
    EXPECT_EQ(At(*d, 99 - i, 30), rings[i]) << i;
    EXPECT_EQ(At(*d, 50, i), rings[i]) << i;
    EXPECT_EQ(At(*d, 50, 59 - i), rings[i]) << i;
  }
}

TEST_F(DisplayTest, RegionIsGivenOnlyWhenTheShapeChanges) {
  auto disc = TDisplay::Create<TDisplayDisc>();
  disc->SetActive(true);
  disc->Show();
  auto& w = TTestPlatform::WindowOf(*disc);
  // The recording canvas fills no ellipse: nothing is drawn, so nothing may show.
  EXPECT_EQ(w.region, std::vector<TRect>{});
  EXPECT_EQ(w.regionSetCount, 1);

  auto& bitmap = TTestPlatform::BitmapOf(*disc);
  bitmap.Pixel(10, 10) = 0x00FFFFFF;
  disc->Painter()->ApplyRegion();
  EXPECT_EQ(w.regionSetCount, 2);
  EXPECT_EQ(w.region, (std::vector<TRect>{{10, 10, 11, 11}}));
  disc->Painter()->ApplyRegion();
  EXPECT_EQ(w.regionSetCount, 2);  // same shape: not handed over again
  bitmap.Pixel(11, 10) = 0x00FFFFFF;
  disc->Painter()->ApplyRegion();
  EXPECT_EQ(w.regionSetCount, 3);
  EXPECT_EQ(w.region, (std::vector<TRect>{{10, 10, 12, 11}}));
  w.refuseRegion = true;  // the system refuses the next shape: tried again at the next repaint
  bitmap.Pixel(12, 10) = 0x00FFFFFF;
  disc->Painter()->ApplyRegion();
  w.refuseRegion = false;
  disc->Painter()->ApplyRegion();
  EXPECT_EQ(w.regionSetCount, 5);
  EXPECT_EQ(w.region, (std::vector<TRect>{{10, 10, 13, 11}}));

  disc->HasBackground = true;
  disc->Painter()->ApplyRegion();
  EXPECT_EQ(w.regionRemoveCount, 1);
  EXPECT_FALSE(w.region);
}

TEST_F(DisplayTest, OffScreenDisplayComesBackHalfInsideTheNearestMonitor) {
  auto d = TDisplay::Create<TTestDisplay>();
  d->Left = 1000;  // partly on a monitor: left alone
  d->Width = 200;
  d->KeepOnScreen();
  EXPECT_EQ(d->Left, 1000);

  // The nearest of two monitors is chosen, and an active window moves with it.
  platform.desktop.monitors = {{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
  d->Left = 5000;
  d->Top = -900;
  d->SetActive(true);
  d->KeepOnScreen();
  EXPECT_EQ(d->Left, 1948);
  EXPECT_EQ(d->Top, -10);
  EXPECT_EQ(TTestPlatform::WindowOf(*d).bounds.left, 1948);
}

// Always on top and deactivation are checked through the kinds that pass them on.
TEST_F(DisplayTest, MenuCommandsReachTheDisplay) {
  auto d = ShownDisplay();
  d->MenuCommand(1099);  // not a base item: ignored
  EXPECT_TRUE(d->IsVisible());
  d->MenuCommand(cmdHideDisplay);
  EXPECT_FALSE(d->IsVisible());
  EXPECT_TRUE(d->IsActive());
}

TEST_F(DisplayTest, ConfigureActivatesAndOpensThePreferencesOfItsKind) {
  std::vector<TDisplay*> opened;
  DisplayWindows().openPreferences = [&](TDisplay& display, void*) {
    opened.push_back(&display);
    return true;
  };
  auto d = TDisplay::Create<TTestDisplay>();
  d->SetHighlighted(true);
  d->MenuCommand(1002);  // "Configure display..."
  EXPECT_TRUE(d->IsActive());
  EXPECT_FALSE(d->Highlighted());
  EXPECT_EQ(opened, std::vector<TDisplay*>{d.get()});
  auto disc = TDisplay::Create<TDisplayDisc>();  // a kind without a preferences window
  EXPECT_FALSE(disc->Configure(nullptr));
  EXPECT_FALSE(disc->IsActive());
  // "Reset position" brings an inactive display back, shown, at (100, 100).
  disc->Left = 900;
  disc->ResetPosition();
  ASSERT_TRUE(disc->IsVisible());
  EXPECT_EQ(TTestPlatform::WindowOf(*disc).bounds.left, 100);
  // An inactive display going away makes no window of its own.
  auto idle = TDisplay::Create<TTestDisplay>();
  int made = 0;
  const auto factory = DisplayWindows().make;
  DisplayWindows().make = [&](TDisplay& display) {
    ++made;
    return factory(display);
  };
  idle.reset();
  EXPECT_EQ(made, 0);
  EXPECT_EQ(opened.size(), 1u);
  // A kind whose window refuses the display leaves it as it was.
  DisplayWindows().openPreferences = [](TDisplay&, void*) { return false; };
  auto refused = TDisplay::Create<TTestDisplay>();
  EXPECT_FALSE(refused->Configure(nullptr));
  EXPECT_FALSE(refused->IsActive());
}

TEST_F(DisplayTest, PresetFormKeepsPlaceButStillComesBackOnScreen) {
  auto d = TDisplay::Create<TDisplayDisc>();
  d->Description = "Saved";
  d->SaveToRegistry(Key(), true);
  EXPECT_FALSE(Key().ValueExists("Left"));
  EXPECT_FALSE(Key().ValueExists("Active"));
  EXPECT_EQ(Key().ReadString(""), "0");

  Key().WriteInteger("Left", 9999);
  auto loaded = TDisplay::Create<TDisplayDisc>();
  loaded->Left = 5000;
  loaded->Width = 200;
  loaded->Description = "Mine";
  loaded->LoadFromRegistry(Key(), true);
  EXPECT_EQ(loaded->Description, "Mine");
  EXPECT_EQ(loaded->Left, 924);  // moved back half onto the only monitor
  EXPECT_FALSE(loaded->IsActive());
}

TEST_F(DisplayTest, LoadingActivatesAndTransparencyNeedsLayeredWindows) {
  Key().WriteBool("Transparent", true);
  Key().WriteInteger("Left", 5000);
  Platform().layeredWindows = false;
  auto d = TDisplay::Create<TDisplayDisc>();
  d->LoadFromRegistry(Key(), false);
  EXPECT_FALSE(d->Transparent());
  EXPECT_TRUE(d->IsActive());  // Active defaults to true
  EXPECT_EQ(TTestPlatform::WindowOf(*d).bounds.left, 1024 - 10);
}

}  // namespace
