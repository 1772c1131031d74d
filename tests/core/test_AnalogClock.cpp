#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

#include "config/uVarnRegistry.h"
#include "kinds/uDisplayAnalogClock.h"
#include "support/uTestPlatform.h"
#include "timezones/uTimeZones.h"

namespace {

class AnalogClockTest : public ::testing::Test {
 protected:
  void SetUp() override { clock->SetActive(true); }
  TRecordingCanvas& PaintAt(int hour, int minute, int second) {
    const auto w = [](int v) { return static_cast<std::uint16_t>(v); };
    platform.clock.local = {2026, 12, 0, 6, w(hour), w(minute), w(second)};
    TRecordingCanvas& canvas = TTestPlatform::BitmapOf(*clock).Recorder();
    canvas.calls.clear();
    clock->Painter()->Render(clock->Painter()->Bitmap());
    return canvas;
  }
  static std::vector<TCanvasCall> Polygons(const TRecordingCanvas& canvas, std::size_t corners) {
    std::vector<TCanvasCall> found;
    for (const TCanvasCall& call : canvas.calls)
      if (call.op == "Polygon" && call.points.size() == corners) found.push_back(call);
    return found;
  }
  // The hour, minute and second hands, in the order they are drawn.
  static std::vector<TCanvasCall> Hands(const TRecordingCanvas& c) { return Polygons(c, 5); }

  TTestPlatform platform;
  std::unique_ptr<TDisplayAnalogClock> clock = TDisplay::Create<TDisplayAnalogClock>();
};

TEST_F(AnalogClockTest, HandsAreTheTemplateScaledAndTurnedToTheTime) {
  const TRecordingCanvas& canvas = PaintAt(12, 0, 0);
  EXPECT_EQ(TTestPlatform::BitmapOf(*clock).Width(), 200);
  const auto hands = Hands(canvas);
  ASSERT_EQ(hands.size(), 3u);
  // Hour hand: 60 % of the radius plus its width to the tip, twice its width behind the centre.
  EXPECT_EQ(hands[0].points,
            (std::vector<TPoint>{{100, 38}, {98, 40}, {98, 104}, {102, 104}, {102, 40}}));
  EXPECT_EQ(std::tuple(hands[0].brushColor, hands[0].penColor, hands[0].penWidth),
            std::tuple(0xFFFFFFu, RGBColor(0x30, 0x50, 0x70), 2));
  // The second hand: red without an outline.
  EXPECT_EQ(std::tuple(hands[2].brushColor, hands[2].penStyle),
            std::tuple(RGBColor(0xFF, 0, 0), TPenStyle::Clear));
  // Minute hand 97 % + 2, second hand 100 % + 1. Tips between pixels round to the nearest:
  // 195 degrees from the top is 62 px at 15 degrees past straight down.
  EXPECT_EQ(std::tuple(hands[1].points[0], hands[2].points[0]),
            std::tuple(TPoint{100, 1}, TPoint{100, -1}));
  EXPECT_EQ(Hands(PaintAt(6, 30, 15))[0].points[0], (TPoint{84, 160}));
  EXPECT_EQ(Hands(PaintAt(21, 15, 30))[0].points[0], (TPoint{39, 92}));

  clock->ShowHourHand = false;
  clock->SetSecondsHand(false);
  const auto minuteOnly = Hands(PaintAt(12, 0, 0));
  ASSERT_EQ(minuteOnly.size(), 1u);
  EXPECT_EQ(minuteOnly[0].points[0], (TPoint{100, 1}));
}

// Against the clock-face angle of each hand for every second of a day.
TEST_F(AnalogClockTest, EverySecondOfADayTheHandsPointWhereTheTimeSays) {
  clock->DisplaySize = 100;  // 500 px: one pixel is a fraction of a degree at the tips
  clock->TickMarks = tmNone;
  clock->ShowText = false;
  TTestPlatform::BitmapOf(*clock).Recorder().fillPixels = false;
  const double tips[] = {150 + 2, 242 + 2, 250 + 1};  // percent of 250 (242.5 to even), plus width
  for (int s = 0; s < 86400; ++s) {
    const auto hands = Hands(PaintAt(s / 3600, s / 60 % 60, s % 60));
    ASSERT_EQ(hands.size(), 3u);
    const double degrees[] = {(s / 60 % 720) * 0.5, (s / 60 % 60) * 6.0, (s % 60) * 6.0};
    for (int h = 0; h < 3; ++h) {
      const double a = degrees[h] * std::numbers::pi / 180.0;
      const double length = tips[h];
      const TPoint tip = hands[static_cast<std::size_t>(h)].points[0];
      ASSERT_LE(std::abs(tip.x - (250 + length * std::sin(a))), 1.0) << s << " hand " << h;
      ASSERT_LE(std::abs(tip.y - (250 - length * std::cos(a))), 1.0) << s << " hand " << h;
    }
  }
}

TEST_F(AnalogClockTest, DialStylesDrawTheirMarksAtTheHours) {
  clock->ShowText = false;
  auto triangles = Polygons(PaintAt(9, 0, 0), 3);  // the default style
  ASSERT_EQ(triangles.size(), 12u);
  EXPECT_EQ(triangles[2].penWidth, 2);  // hour 3: a quarter mark
  EXPECT_EQ(triangles[0].penWidth, 1);  // hour 1: a normal mark
  EXPECT_EQ(triangles[0].brushColor, RGBColor(0xE0, 0xE0, 0xE0));
  clock->QuarterMarksOnly = true;
  triangles = Polygons(PaintAt(9, 0, 0), 3);
  ASSERT_EQ(triangles.size(), 4u);
  for (const TCanvasCall& t : triangles) EXPECT_EQ(t.penWidth, 2);
  clock->QuarterMarksOnly = false;

  // One mark's corners (a rectangle's two), the quarter size 5, the normal 4.
  const std::tuple<std::uint8_t, std::size_t, std::vector<TPoint>> cases[] = {
      // Hour 3: anchor at 94 % (194, 100); (3, 0) * 5 turned by 90 degrees points left.
      {tmTriangles, 2, {{179, 100}, {199, 105}, {199, 95}}},
      {tmClassic, 11, {{105, 31}, {95, 31}, {95, 6}, {105, 6}}},  // hour 12: anchor (100, 6)
      {tmClassicII, 11, {{105, 26}, {95, 26}, {95, 6}, {105, 6}}},
      {tmDiamonds, 11, {{100, 26}, {95, 6}, {100, -14}, {105, 6}}},
      {tmStars,
       11,
       {{100, 26}, {105, 11}, {120, 6}, {105, 1}, {100, -14}, {95, 1}, {80, 6}, {95, 11}}},
      {tmRectangles, 11, {{95, 1}, {105, 11}}},
      {tmRectangles, 0, {{144, 13}, {152, 21}}},  // hour 1 at 96 px
  };
  for (const auto& [style, hour, corners] : cases) {
    clock->TickMarks = style;
    std::vector<std::vector<TPoint>> marks;
    for (const TCanvasCall& call : PaintAt(9, 0, 0).calls) {
      if (call.op == "Polygon" && call.points.size() != 5) marks.push_back(call.points);
      if (call.op == "Rectangle")
        marks.push_back({{call.rect.left, call.rect.top}, {call.rect.right, call.rect.bottom}});
    }
    ASSERT_EQ(marks.size(), 12u) << int{style};
    EXPECT_EQ(marks[hour], corners) << int{style};
  }

  // Circle: a ring of the mark size and twelve dividers with the normal settings.
  clock->TickMarks = tmCircle;
  std::vector<TCanvasCall> ellipses, dividers;
  for (const TCanvasCall& call : PaintAt(9, 0, 0).calls) {
    if (call.op == "Ellipse") ellipses.push_back(call);
    if (call.op == "Polyline") dividers.push_back(call);
  }
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[0].rect, (TRect{4, 4, 196, 196}));
  EXPECT_EQ(ellipses[1].rect, (TRect{8, 8, 192, 192}));
  EXPECT_EQ(ellipses[1].brushColor, clColorKey);
  ASSERT_EQ(dividers.size(), 12u);
  EXPECT_EQ(dividers[2].points, (std::vector<TPoint>{{195, 100}, {191, 100}}));
  EXPECT_EQ(dividers[2].penWidth, 1);
  clock->QuarterMarksOnly = true;  // the ring has no quarter marks: no dividers at all
  for (const TCanvasCall& call : PaintAt(9, 0, 0).calls) EXPECT_NE(call.op, "Polyline");
}

TEST_F(AnalogClockTest, FlashColoursAndTheColourKeyInElementsAndText) {
  clock->HourHandSettings.FillColor = clColorKey;
  clock->TextFont.Color = clColorKey;
  const TRecordingCanvas& canvas = PaintAt(9, 0, 0);
  EXPECT_EQ(Hands(canvas)[0].brushColor, 0x000000u);  // black, not a hole
  for (const TCanvasCall& call : canvas.calls) {
    if (call.op == "DrawText") {
      EXPECT_EQ(call.fontColor, 0x000000u);
    }
  }
  clock->Flash(RGBColor(0, 0xFF, 0), RGBColor(0, 0, 0xFF));
  TTestPlatform::BitmapOf(*clock).Recorder().calls.clear();
  clock->Tick(false, false, true, 1);  // an odd second: the flash colours
  for (const TCanvasCall& call : TTestPlatform::BitmapOf(*clock).Recorder().calls) {
    if (call.op == "Polygon") {
      EXPECT_EQ(call.brushColor, RGBColor(0, 0xFF, 0));
    } else if (call.op == "FillRect" && call.rect.top > 0) {
      EXPECT_EQ(call.brushColor, RGBColor(0, 0, 0xFF));
    } else if (call.op == "DrawText") {
      EXPECT_EQ(call.fontColor, RGBColor(0, 0xFF, 0));
    }
  }
}

TEST_F(AnalogClockTest, DialTextBlockIsPlacedByItsOffsetsAndAlignment) {
  EXPECT_FALSE(clock->TextOverHands);
  clock->SetText("ab\r\nabcd");  // 32 px wide, two 16 px lines
  struct Case {
    std::uint8_t alignment;
    bool overHands;
    TRect block;
  };
  const Case cases[] = {
      {2, false, {84, 132, 116, 164}},  // centred on (100, 148)
      {0, false, {100, 132, 132, 164}},
      {1, true, {68, 132, 100, 164}},
  };
  for (const Case& c : cases) {
    clock->TextAlignment = c.alignment;
    clock->TextOverHands = c.overHands;
    const TRecordingCanvas& canvas = PaintAt(9, 0, 0);
    std::size_t background = 0, text = 0, lastHand = 0;
    for (std::size_t i = 0; i < canvas.calls.size(); ++i) {
      const TCanvasCall& call = canvas.calls[i];
      if (call.op == "FillRect" && call.rect == c.block) background = i;
      if (call.op == "DrawText" && call.rect == c.block) text = i;
      if (call.op == "Polygon" && call.points.size() == 5) lastHand = i;
    }
    ASSERT_GT(background, 0u) << int{c.alignment};
    EXPECT_EQ(canvas.calls[background].brushColor, RGBColor(0x30, 0x50, 0x70));
    EXPECT_GT(text, background);
    EXPECT_EQ(text > lastHand, c.overHands) << int{c.alignment};
  }
  // The dial text's default font: Arial, 8 points, plain, the default character set.
  TFontSpec measured = TTestPlatform::BitmapOf(*clock).Recorder().measureFonts.back();
  measured.quality = TFontQuality::Default;
  EXPECT_EQ(measured, (TFontSpec{"Arial", -11, false, false, false, false, 1}));
  clock->TextBackground = false;
  clock->TextOffsetY = 10;
  int fills = 0;
  for (const TCanvasCall& call : PaintAt(9, 0, 0).calls) {
    fills += call.op == "FillRect";
    if (call.op == "DrawText") {
      EXPECT_EQ(call.rect.top, 20 - 16);
    }
  }
  EXPECT_EQ(fills, 1);  // the bitmap only
  clock->ShowText = false;
  clock->TextOverHands = false;
  for (const TCanvasCall& call : PaintAt(9, 0, 0).calls) EXPECT_NE(call.op, "DrawText");
}

TEST_F(AnalogClockTest, RepaintsEverySecondOnlyWithASecondHandOrSecondsInTheText) {
  EXPECT_TRUE(clock->NeedsSeconds());
  clock->SetSecondsHand(false);
  EXPECT_TRUE(clock->NeedsSeconds());  // the default text shows the time with seconds
  clock->SetText("&sdate;");
  EXPECT_FALSE(clock->NeedsSeconds());
  clock->SetText("");
  EXPECT_EQ(clock->Text(), "");  // an empty text stays empty
  clock->SetSecondsHand(true);
  EXPECT_TRUE(clock->NeedsSeconds());
}

TEST_F(AnalogClockTest, ShowsTheTimeOfItsZoneAndKeepsAnIdItCannotFind) {
  WriteTimeZone("Tokyo Standard Time", -540, std::nullopt);  // and one minute in winter
  TTimeZones zones;
  zones.Load();
  clock->DisplayFormat().Zones = &zones;
  clock->SetTimeZoneID("Tokyo Standard Time");
  ASSERT_EQ(clock->TimeZone(), zones.FindZone("Tokyo Standard Time"));
  EXPECT_EQ(clock->DisplayFormat().DefaultZone, clock->TimeZone());
  platform.clock.utc = {2026, 12, 0, 6, 8, 0, 0, 0};  // 16:59 in Tokyo
  EXPECT_EQ(Hands(PaintAt(12, 0, 0))[0].points[0], (TPoint{131, 153}));

  clock->SetTimeZoneID("Atlantis Standard Time");
  EXPECT_EQ(clock->TimeZone(), nullptr);
  EXPECT_EQ(clock->DisplayFormat().DefaultZone, nullptr);
  EXPECT_EQ(clock->TimeZoneID(), "Atlantis Standard Time");
  EXPECT_EQ(Hands(PaintAt(12, 0, 0))[0].points[0], (TPoint{100, 38}));  // local time

  clock->SetTimeZone(zones.FindZone("Tokyo Standard Time"));
  EXPECT_EQ(clock->TimeZoneID(), "Tokyo Standard Time");
  clock->SetTimeZone(nullptr);
  EXPECT_EQ(clock->TimeZoneID(), "");
}

// Sizes, widths and positions far outside what the preferences offer still
// give a bounded picture quickly.
TEST_F(AnalogClockTest, ExtremeStoredNumbersDrawABoundedPicture) {
  struct Case {
    std::int32_t size, handWidth, handLength, markSize, markPosition, outline, offset;
  };
  const Case cases[] = {
      {1000000, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {-5, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
      {0, 0, 0, 0, 0, 0, 0},
      {3, 1000000, -1000000, 1000000, -1000000, 1000000, 1000000},
  };
  for (const std::uint8_t style : {std::uint8_t{tmCircle}, std::uint8_t{tmStars},
                                   std::uint8_t{tmRectangles}, std::uint8_t{200}}) {
    for (const Case& c : cases) {
      clock->DisplaySize = c.size;
      clock->HourHandWidth = clock->SecondsHandWidth = c.handWidth;
      clock->MinuteHandLength = c.handLength;
      clock->TickMarkSize = clock->QuarterTickMarkSize = c.markSize;
      clock->TickMarkPosition = c.markPosition;
      clock->TickMarkSettings.OutlineWidth = c.outline;
      clock->TextFont.OutlineWidth = c.outline;
      clock->TextOffsetX = clock->TextOffsetY = c.offset;
      clock->TickMarks = style;
      const TRecordingCanvas& canvas = PaintAt(9, 0, 0);
      const TMemoryBitmap& bitmap = TTestPlatform::BitmapOf(*clock);
      EXPECT_EQ(bitmap.Width(), bitmap.Height());
      EXPECT_GE(bitmap.Width(), MinDisplaySize);
      EXPECT_LE(bitmap.Width(), MaxDisplayHeight);
      EXPECT_LT(canvas.calls.size(), 200u);
      for (const TCanvasCall& call : canvas.calls) {
        EXPECT_LE(call.penWidth, MaxPenWidth);
        for (const TPoint p : call.points)
          EXPECT_LT(std::max(std::abs(p.x), std::abs(p.y)), 1 << 24);
      }
    }
  }
}

}  // namespace

namespace {

TEST_F(AnalogClockTest, TheWindowReadsTheTimeTheHandsShowThenTheTextLineByLine) {
  clock->SetText("Tea\r\n  \r\n break ");
  platform.clock.local = {2026, 12, 0, 6, 10, 8, 30};
  clock->Painter()->Update();
  EXPECT_EQ(TTestPlatform::WindowOf(*clock).shownText, "10:08:30 AM, Tea, break");
  clock->SetSecondsHand(false);
  clock->ShowText = false;
  clock->Painter()->Update();
  EXPECT_EQ(TTestPlatform::WindowOf(*clock).shownText, "10:08 AM");
}

}  // namespace
