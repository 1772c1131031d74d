#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/uVarnRegistry.h"
#include "display/uPainter.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayDigitalClock.h"
#include "support/uDpi.h"
#include "support/uTestPlatform.h"

namespace {

// The lengths a picture is made of, as one case reads them off a render.
using TMeasures = std::vector<int>;

const TCanvasCall* FirstCall(const TRecordingCanvas& canvas,
                             const std::function<bool(const TCanvasCall&)>& wanted) {
  for (const TCanvasCall& call : canvas.calls)
    if (wanted(call)) return &call;
  return nullptr;
}

struct TDpiCase {
  const char* name;
  std::function<std::unique_ptr<TDisplay>()> make;
  std::function<TMeasures(TDisplay&, const TRecordingCanvas&)> measure;
  TMeasures at96;  // as every display was drawn before it knew of DPIs
};

// Renders the display in a window at the DPI; the fake text metrics grow with the DPI as a
// real font's do.
TMeasures RenderAt(TDisplay& display, int dpi, const TDpiCase& c) {
  TTestPlatform::WindowOf(display).dpi = dpi;
  TMemoryBitmap& bitmap = TTestPlatform::BitmapOf(display);
  TRecordingCanvas& canvas = bitmap.Recorder();
  canvas.charWidth = ScaleToDpi(8, dpi);
  canvas.lineHeight = ScaleToDpi(16, dpi);
  canvas.calls.clear();
  display.DpiChanged();
  return c.measure(display, canvas);
}

TEST(DisplayDpi, EveryPixelSizeAndFontGrowsWithTheWindowsDpiAndStoredSizesStayAt96) {
  TTestPlatform platform;
  platform.clock.local = {2026, 12, 0, 6, 12, 0, 0};
  const auto digital = [](bool background) {
    auto d = TDisplay::Create<TDisplayDigitalClock>();
    d->SetText("12:34");
    d->HasBackground = background;
    d->Width = 150;
    d->Height = 60;
    d->BevelWidth = 4;
    d->Font.OutlineWidth = 2;
    return std::unique_ptr<TDisplay>(std::move(d));
  };
  const auto textFont = [](const TRecordingCanvas& canvas) {
    const TCanvasCall* text =
        FirstCall(canvas, [](const TCanvasCall& c) { return c.op == "DrawText"; });
    return text ? -text->font.height : 0;
  };
  const TDpiCase cases[] = {
      {"digital clock without background",
       [&] { return digital(false); },
       [&](TDisplay& d, const TRecordingCanvas& canvas) {
         // The shadow is the first text drawn, the text itself the last.
         const TCanvasCall* shadow =
             FirstCall(canvas, [](const TCanvasCall& c) { return c.op == "DrawText"; });
         const TCanvasCall& text = canvas.calls.back();
         const TBitmap32& b = d.Painter()->Bitmap();
         return TMeasures{b.Width(),        b.Height(),
                          textFont(canvas), shadow ? shadow->rect.left - text.rect.left : 0,
                          text.rect.top,    d.Window()->Bounds().Width()};
       },
       // 5 characters of 8 + 20 + 2 "W"; 16 + 16; 28 pt; a shadow of 6; 5 from the top.
       {76, 32, 37, 6, 5, 76}},
      {"digital clock with a bevelled, highlighted background",
       [&] {
         auto d = digital(true);
         d->SetHighlighted(true);
         return d;
       },
       [&](TDisplay& d, const TRecordingCanvas& canvas) {
         int bevelLines = 0;
         for (const TCanvasCall& c : canvas.calls) bevelLines += c.op == "Polyline";
         const TCanvasCall* frame = FirstCall(canvas, [](const TCanvasCall& c) {
           return c.op == "Rectangle" && c.penColor == clHighlightLight;
         });
         const TBitmap32& b = d.Painter()->Bitmap();
         return TMeasures{b.Width(), b.Height(), textFont(canvas), bevelLines / 2,
                          frame ? frame->penWidth : 0};
       },
       {150, 60, 37, 4, 2}},
      {"analog clock with square marks and text",
       [] {
         auto d = TDisplay::Create<TDisplayAnalogClock>();
         d->TickMarks = tmRectangles;
         d->ShowText = true;
         d->SetText("ab");
         return std::unique_ptr<TDisplay>(std::move(d));
       },
       [&](TDisplay& d, const TRecordingCanvas& canvas) {
         const TCanvasCall* mark =
             FirstCall(canvas, [](const TCanvasCall& c) { return c.op == "Rectangle"; });
         const TCanvasCall* hand = FirstCall(canvas, [](const TCanvasCall& c) {
           return c.op == "Polygon" && c.points.size() == 5;
         });
         // At twelve the hour hand stands upright: its width across, from side to side.
         int left = INT_MAX, right = INT_MIN;
         for (const TPoint p : hand ? hand->points : std::vector<TPoint>{}) {
           left = std::min(left, p.x);
           right = std::max(right, p.x);
         }
         const TBitmap32& b = d.Painter()->Bitmap();
         return TMeasures{b.Width(),
                          b.Height(),
                          textFont(canvas),
                          mark ? mark->rect.Width() : 0,
                          hand ? hand->penWidth : 0,
                          mark ? mark->penWidth : 0,
                          hand ? right - left : 0};
       },
       // 40 * 5 pixels; 8 pt; marks of 4 each way; hands outlined 2 wide, marks 1; an hour hand
       // 2 wide each way.
       {200, 200, 11, 8, 2, 1, 4}},
  };
  for (const TDpiCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<TDisplay> display = c.make();
    display->SetActive(true);
    const TMeasures at96 = RenderAt(*display, 96, c);
    EXPECT_EQ(at96, c.at96);
    display->StoreBounds();
    const int storedWidth = display->Width, storedHeight = display->Height;
    for (const int dpi : {144, 192}) {
      SCOPED_TRACE(dpi);
      const TMeasures scaled = RenderAt(*display, dpi, c);
      ASSERT_EQ(scaled.size(), at96.size());
      for (std::size_t i = 0; i < at96.size(); ++i)
        EXPECT_NEAR(scaled[i], at96[i] * dpi / 96.0, 1.0) << "measure " << i;
      // What is stored is the size at 96 dpi, whatever monitor the display stands on.
      display->StoreBounds();
      EXPECT_EQ(std::pair(display->Width, display->Height), std::pair(storedWidth, storedHeight));
    }
  }
}

TEST(DisplayDpi, AWindowIsMadeAtTheStoredSizeGrownToItsDpi) {
  TTestPlatform platform;
  auto d = TDisplay::Create<TDisplayDigitalClock>();
  d->Left = 10;
  d->Top = 20;
  d->Width = 150;
  d->Height = 61;
  EXPECT_EQ(d->StoredBounds(), (TRect{10, 20, 160, 81}));  // no window: 96 dpi
  d->SetActive(true);
  TTestPlatform::WindowOf(*d).dpi = 144;
  // The position is the monitor's own; the size is grown, rounded to the nearest pixel.
  EXPECT_EQ(d->StoredBounds(), (TRect{10, 20, 10 + 225, 20 + 92}));
  TTestPlatform::WindowOf(*d).dpi = 120;
  EXPECT_EQ(d->StoredBounds(), (TRect{10, 20, 10 + 188, 20 + 76}));
}

TEST(DisplayDpi, LengthsScaleAndComeBackRoundedToTheNearestPixel) {
  const struct {
    int pixels, dpi, scaled;
  } rows[] = {{20, 96, 20}, {20, 144, 30}, {7, 144, 11},     {5, 120, 6}, {-7, 144, -11},
              {1, 72, 1},   {2, 72, 2},    {640, 192, 1280}, {0, 144, 0}, {3, 168, 5}};
  for (const auto& r : rows) {
    EXPECT_EQ(ScaleToDpi(r.pixels, r.dpi), r.scaled) << r.pixels << " at " << r.dpi;
    if (r.dpi >= 96) {
      EXPECT_EQ(ScaleFromDpi(r.scaled, r.dpi), r.pixels) << r.pixels;
    }
  }
  EXPECT_EQ(ScaleFromDpi(30, 0), 30);
}

}  // namespace
