#include "kinds/uDisplayAnalogClock.h"

#include <algorithm>
#include <array>
#include <span>

#include "config/uStoredValues.h"
#include "support/uGraphicTools.h"
#include "support/uPlatform.h"
#include "support/uTools.h"
#include "timezones/uTimeZones.h"

namespace {

std::unique_ptr<TPainter> NewAnalogPainter(TDisplay& display) {
  return std::make_unique<TPainterAnalogClock>(display);
}

using TClockValue = TStoredValue<TDisplayAnalogClock>;
using C = TDisplayAnalogClock;

// Stored after the display base's values, before the text font.
const TClockValue kFaceValues[] = {
    {"SecondsHand", TAccessor<C, bool>{[](const C& c) { return c.SecondsHand(); },
                                       [](C& c, bool v) { c.SetSecondsHand(v); }}},
    {"DisplaySize", &C::DisplaySize},
    {"TickMarks", &C::TickMarks},
    {"QuarterMarksOnly", &C::QuarterMarksOnly},
    {"TickMarkSettings", &C::TickMarkSettings},
    {"QuarterMarksSettings", &C::QuarterMarksSettings},
    {"HourHandSettings", &C::HourHandSettings},
    {"MinuteHandSettings", &C::MinuteHandSettings},
    {"SecondsHandSettings", &C::SecondsHandSettings},
    {"HourHandLength", &C::HourHandLength},
    {"HourHandWidth", &C::HourHandWidth},
    {"MinuteHandLength", &C::MinuteHandLength},
    {"MinuteHandWidth", &C::MinuteHandWidth},
    {"SecondsHandLength", &C::SecondsHandLength},
    {"SecondsHandWidth", &C::SecondsHandWidth},
    {"TickMarkSize", &C::TickMarkSize},
    {"QuarterTickMarkSize", &C::QuarterTickMarkSize},
    {"TickMarkPosition", &C::TickMarkPosition},
    {"QuarterTickMarkPosition", &C::QuarterTickMarkPosition},
    {"ShowText", &C::ShowText},
    {"TextBackgroundColor", &C::TextBackgroundColor},
    {"TextAlignment", &C::TextAlignment},
    {"TextOffsetX", &C::TextOffsetX},
    {"TextOffsetY", &C::TextOffsetY},
    {"TextBackground", &C::TextBackground},
    {"ShowHourHand", &C::ShowHourHand},
    {"ShowMinuteHand", &C::ShowMinuteHand},
};

// After the text font.
const TClockValue kTextOrderValues[] = {{"TextOverHands", &C::TextOverHands}};

// Not part of a preset: a look does not carry a place on earth.
const TClockValue kZoneValues[] = {
    {"TimeZoneID", TAccessor<C, std::string>{[](const C& c) { return c.TimeZoneID(); },
                                             [](C& c, std::string v) { c.SetTimeZoneID(v); }}},
};

const TElementSettings kDefaultTickMarks{RGBColor(0xE0, 0xE0, 0xE0), RGBColor(0x30, 0x50, 0x70), 1};
const TElementSettings kDefaultQuarterMarks{RGBColor(0xFF, 0xFF, 0xFF), RGBColor(0x30, 0x50, 0x70),
                                            2};
const TElementSettings kDefaultHand = kDefaultQuarterMarks;
const TElementSettings kDefaultSecondsHand{RGBColor(0xFF, 0x00, 0x00), 0x000000, 0};

// Sizes, widths and percentages beyond this draw nothing more that a display
// could show; bounding them keeps every coordinate far inside int range.
constexpr int kMaxDrawnValue = 10000;
int Bounded(std::int32_t value) { return std::clamp(value, -kMaxDrawnValue, kMaxDrawnValue); }

// percent of a radius, rounded.
int PercentOf(int radius, std::int32_t percent) {
  return RoundHalfEven(radius * static_cast<double>(Bounded(percent)) / 100.0);
}

using TTemplate = std::span<const TPoint>;
constexpr TPoint kClassic[] = {{5, 1}, {5, -1}, {0, -1}, {0, 1}};
constexpr TPoint kClassicII[] = {{4, 1}, {4, -1}, {0, -1}, {0, 1}};
constexpr TPoint kTriangle[] = {{3, 0}, {-1, 1}, {-1, -1}};
constexpr TPoint kDiamond[] = {{4, 0}, {0, -1}, {-4, 0}, {0, 1}};
constexpr TPoint kStar[] = {{4, 0}, {1, 1}, {0, 4}, {-1, 1}, {-4, 0}, {-1, -1}, {0, -4}, {1, -1}};
constexpr TPoint kHand[] = {{11, 0}, {10, 1}, {-2, 1}, {-2, -1}, {10, -1}};

TTemplate MarkTemplate(std::uint8_t style) {
  switch (style) {
    case tmClassic:
      return kClassic;
    case tmClassicII:
      return kClassicII;
    case tmTriangles:
      return kTriangle;
    case tmDiamonds:
      return kDiamond;
    case tmStars:
      return kStar;
    default:
      return {};
  }
}

// A template point turned by alpha degrees about the anchor: with alpha 0 the
// template's +x points down the screen, and growing alpha turns it clockwise.
// This is the polar rotation (r sin(phi - alpha), r cos(phi - alpha)) expanded,
// so that a point on an axis at a multiple of 30 degrees lands exactly.
TPoint Rotated(double x, double y, double alpha, TPoint anchor) {
  const TSinCos a = SinCosDegrees(alpha);
  return {RoundHalfEven(anchor.x + y * a.cos - x * a.sin),
          RoundHalfEven(anchor.y + x * a.cos + y * a.sin)};
}

void DrawMarkShape(TCanvas& canvas, TTemplate shape, double alpha, int size, TPoint anchor) {
  std::array<TPoint, std::size(kStar)> points;
  const auto end = std::ranges::transform(shape, points.begin(), [&](TPoint p) {
                     return Rotated(p.x * size, p.y * size, alpha, anchor);
                   }).out;
  canvas.Polygon(std::span(points.begin(), end));
}

// The hand template's 10 is where the hand's length ends; everything else is
// in units of its width.
double HandScaled(int c, int length, int width) {
  return c >= 10 ? static_cast<double>(c - 10) * width + length : static_cast<double>(c) * width;
}

void DrawHandShape(TCanvas& canvas, double alpha, int length, int width, TPoint anchor) {
  std::array<TPoint, std::size(kHand)> points;
  std::ranges::transform(kHand, points.begin(), [&](TPoint p) {
    return Rotated(HandScaled(p.x, length, width), HandScaled(p.y, length, width), alpha, anchor);
  });
  canvas.Polygon(points);
}

}  // namespace

TPainterClass TDisplayAnalogClock::GetPainterClass() const { return &NewAnalogPainter; }

void TDisplayAnalogClock::SetDefaults() {
  TDisplay::SetDefaults();
  SetSecondsHand(true);
  TickMarks = tmTriangles;
  QuarterMarksOnly = false;
  DisplaySize = 40;
  TickMarkSize = 4;
  QuarterTickMarkSize = 5;
  TickMarkPosition = 96;
  QuarterTickMarkPosition = 94;
  HourHandLength = 60;
  HourHandWidth = 2;
  MinuteHandLength = 97;
  MinuteHandWidth = 2;
  SecondsHandLength = 100;
  SecondsHandWidth = 1;
  TickMarkSettings = kDefaultTickMarks;
  QuarterMarksSettings = kDefaultQuarterMarks;
  HourHandSettings = kDefaultHand;
  MinuteHandSettings = kDefaultHand;
  SecondsHandSettings = kDefaultSecondsHand;
  SetText(" &sdate; \r\n &time -s; ");
  ShowText = true;
  TextBackgroundColor = RGBColor(0x30, 0x50, 0x70);
  TextAlignment = 2;
  TextOffsetX = 50;
  TextOffsetY = 74;
  TextFont.Color = RGBColor(0xFF, 0xFF, 0xFF);
  TextFont.FontName = "Arial";
  TextFont.Size = 8;
  TextFont.Style = {};
  TextFont.CharSet = 1;
  TextFont.OutlineColor = RGBColor(0x80, 0x80, 0x80);
  TextFont.OutlineWidth = 0;
  TextFont.ThreeD = false;
  TextBackground = true;
  ShowHourHand = true;
  ShowMinuteHand = true;
  TextOverHands = false;
}

void TDisplayAnalogClock::SetText(const std::string& text) {
  TDisplay::SetText(text);
  UpdateNeedsSeconds();
}

void TDisplayAnalogClock::UpdateNeedsSeconds() {
  SetNeedsSeconds(FSecondsHand || DisplayFormat().NeedsSeconds());
}

void TDisplayAnalogClock::SetSecondsHand(bool value) {
  FSecondsHand = value;
  UpdateNeedsSeconds();
}

void TDisplayAnalogClock::SetTimeZoneID(const std::string& id) {
  if (id == FTimeZoneID) return;
  FTimeZoneID = id;
  const TTimeZones* zones = DisplayFormat().Zones;
  FTimeZone = id.empty() || !zones ? nullptr : zones->FindZone(id);
  DisplayFormat().DefaultZone = FTimeZone;
}

void TDisplayAnalogClock::SetTimeZone(const TTimeZone* zone) {
  if (zone == FTimeZone) return;
  FTimeZone = zone;
  DisplayFormat().DefaultZone = zone;
  FTimeZoneID = zone ? zone->KeyName : std::string();
}

void TDisplayAnalogClock::LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplay::LoadFromRegistry(registry, presetOnly);
  LoadValues<C>(registry, *this, kFaceValues);
  TextFont.LoadFromRegistry(registry);
  LoadValues<C>(registry, *this, kTextOrderValues);
  if (!presetOnly) LoadValues<C>(registry, *this, kZoneValues);
  SetDirty();
}

void TDisplayAnalogClock::SaveToRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplay::SaveToRegistry(registry, presetOnly);
  SaveValues<C>(registry, *this, kFaceValues);
  TextFont.SaveToRegistry(registry);
  SaveValues<C>(registry, *this, kTextOrderValues);
  if (!presetOnly) SaveValues<C>(registry, *this, kZoneValues);
}

void TPainterAnalogClock::GetSize(TBitmap32&, int& width, int& height) {
  // The face stays square: beyond the height limit it is drawn at that size.
  const std::int64_t side = std::int64_t{Clock().DisplaySize} * 5;
  width = height =
      Display().Scaled(static_cast<int>(std::clamp<std::int64_t>(side, 0, MaxDisplayHeight)));
}

int TPainterAnalogClock::Sized(std::int32_t pixels) const {
  return Display().Scaled(Bounded(pixels));
}

void TPainterAnalogClock::ApplyElement(TCanvas& canvas, const TElementSettings& settings) const {
  const TDisplay& d = Display();
  TElementSettings scaled = settings;
  scaled.OutlineWidth = d.Scaled(Bounded(settings.OutlineWidth));
  ApplyElementSettings(canvas, scaled, {d.FlashFillColor, d.FlashOutlineColor, 0}, d.FlashPhase());
}

void TPainterAnalogClock::Paint(TBitmap32& bitmap) {
  TPainter::Paint(bitmap);
  TDisplayAnalogClock& clock = Clock();
  const TSystemTime utc = Platform().clock->UtcNow();
  const TTimeZones* zones = clock.DisplayFormat().Zones;
  const TSystemTime local = clock.TimeZone() && zones
                                ? zones->ZoneSystemTime(*clock.TimeZone(), utc)
                                : Platform().clock->LocalNow();
  TLocale* locale = Platform().locale;
  FShownText =
      locale ? locale->FormatTime(local, clock.SecondsHand() ? 0 : TimeFlags::NoSeconds) : "";
  const TPoint centre{bitmap.Width() / 2, bitmap.Height() / 2};
  TCanvas& canvas = bitmap.Canvas();
  if (clock.TickMarks != tmNone) PaintMarks(canvas, centre);
  if (clock.ShowText && !clock.TextOverHands) PaintText(bitmap, SystemTimeToDateTime(utc));
  PaintHands(canvas, centre, local);
  if (clock.ShowText && clock.TextOverHands) PaintText(bitmap, SystemTimeToDateTime(utc));
}

void TPainterAnalogClock::PaintMarks(TCanvas& canvas, TPoint centre) {
  const TDisplayAnalogClock& clock = Clock();
  const int radius = centre.x;
  const bool circle = clock.TickMarks == tmCircle;
  if (circle) {
    ApplyElement(canvas, clock.TickMarkSettings);
    // A filled disc with a key-coloured one inside leaves a ring of the mark size.
    const int r0 = PercentOf(radius, clock.TickMarkPosition);
    const int s = Sized(clock.TickMarkSize);
    canvas.Ellipse({centre.x - r0, centre.y - r0, centre.x + r0, centre.y + r0});
    canvas.SetBrush(clColorKey, TBrushStyle::Solid);
    canvas.Ellipse({centre.x - r0 + s, centre.y - r0 + s, centre.x + r0 - s, centre.y + r0 - s});
  }
  for (int i = 1; i <= 12; ++i) {
    int size = Sized(clock.TickMarkSize);
    std::int32_t position = clock.TickMarkPosition;
    if (i % 3 == 0 && !circle) {
      size = Sized(clock.QuarterTickMarkSize);
      position = clock.QuarterTickMarkPosition;
      ApplyElement(canvas, clock.QuarterMarksSettings);
    } else if (clock.QuarterMarksOnly) {
      continue;
    } else {
      ApplyElement(canvas, clock.TickMarkSettings);
    }
    const TPoint p = HourPoint(i, PercentOf(radius, position), centre);
    if (clock.TickMarks == tmRectangles) {
      canvas.Rectangle({p.x - size, p.y - size, p.x + size, p.y + size});
    } else if (circle) {
      const int r = PercentOf(radius, clock.TickMarkPosition) - 1;
      const TSinCos a = SinCosDegrees(i * 30 - 90);
      const std::array<TPoint, 2> divider{
          {{RoundHalfEven(centre.x + r * a.cos), RoundHalfEven(centre.y + r * a.sin)},
           {RoundHalfEven(centre.x + (r - size) * a.cos),
            RoundHalfEven(centre.y + (r - size) * a.sin)}}};
      canvas.Polyline(divider);
    } else if (const TTemplate shape = MarkTemplate(clock.TickMarks); !shape.empty()) {
      DrawMarkShape(canvas, shape, i * 30, size, p);
    }
  }
}

void TPainterAnalogClock::PaintHands(TCanvas& canvas, TPoint centre, const TSystemTime& time) {
  const TDisplayAnalogClock& clock = Clock();
  const int radius = centre.x;
  // 180 degrees turns a template's +x from straight down to straight up, twelve o'clock.
  const auto hand = [&](const TElementSettings& settings, double angle, std::int32_t length,
                        std::int32_t width) {
    ApplyElement(canvas, settings);
    DrawHandShape(canvas, 180.0 + angle, PercentOf(radius, length), Sized(width), centre);
  };
  if (clock.ShowHourHand)
    hand(clock.HourHandSettings, time.wHour * 30 + time.wMinute * 0.5, clock.HourHandLength,
         clock.HourHandWidth);
  if (clock.ShowMinuteHand)
    hand(clock.MinuteHandSettings, time.wMinute * 6, clock.MinuteHandLength, clock.MinuteHandWidth);
  if (clock.SecondsHand())
    hand(clock.SecondsHandSettings, time.wSecond * 6, clock.SecondsHandLength,
         clock.SecondsHandWidth);
}

void TPainterAnalogClock::PaintText(TBitmap32& bitmap, TDateTime utc) {
  TDisplayAnalogClock& clock = Clock();
  TCanvas& canvas = bitmap.Canvas();
  clock.TextFont.AssignToFont(canvas, clock.Dpi());
  TColor outline = clock.TextFont.OutlineColor;
  TColor background = clock.TextBackgroundColor;
  if (clock.FlashPhase()) {
    canvas.SetFontColor(clock.FlashFillColor);
    outline = background = clock.FlashOutlineColor;
  }
  canvas.SetFontColor(FixColor(canvas.FontColor()));
  const std::string text = clock.DisplayFormat().Evaluate(utc);
  if (const std::string lines = JoinedLines(text); !lines.empty()) FShownText += ", " + lines;
  const TAlignment alignment = AlignmentFromCode(clock.TextAlignment);
  TRect measured{0, 0, bitmap.Width(), bitmap.Height()};
  canvas.DrawText(text, measured,
                  TextFormat::CalcRect | TextFormat::NoPrefix | AlignmentFlag(alignment));
  const int tw = measured.right, th = measured.bottom;
  // The block's vertical centre at the Y offset; its left edge, right edge or
  // centre at the X offset, as aligned.
  const int x0 = static_cast<int>(std::int64_t{bitmap.Width()} * Bounded(clock.TextOffsetX) / 100);
  const int y0 = static_cast<int>(std::int64_t{bitmap.Height()} * Bounded(clock.TextOffsetY) / 100);
  int left = x0;
  if (alignment == TAlignment::Right) left -= tw;
  if (alignment == TAlignment::Center) left -= tw / 2;
  const TRect block{left, y0 - th / 2, left + tw, y0 - th / 2 + th};
  if (clock.TextBackground) {
    canvas.SetBrush(FixColor(background), TBrushStyle::Solid);
    canvas.FillRect(block);
  }
  DrawOutlinedText(canvas, text, block, clock.HasBackground, false, alignment, FixColor(outline),
                   Sized(clock.TextFont.OutlineWidth));
}
