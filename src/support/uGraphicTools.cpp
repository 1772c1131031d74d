#include "support/uGraphicTools.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "support/HSVLibrary.h"
#include "support/uTools.h"

namespace {

// Sine and cosine of whole degrees, exact at the multiples of 30 degrees: there
// cos 60 is exactly one half, so the halves that must round to even really are
// halves instead of falling a rounding error to either side.
TSinCos SinCosWholeDegrees(int degrees) {
  const int d = ((degrees % 360) + 360) % 360;  // [0, 359]
  const int rest = d % 90;                      // [0, 89]
  TSinCos base;
  if (rest == 0) {
    base = {0.0, 1.0};
  } else if (rest == 30) {
    base = {0.5, std::sqrt(3.0) / 2.0};
  } else if (rest == 60) {
    base = {std::sqrt(3.0) / 2.0, 0.5};
  } else {
    const double radians = rest * std::numbers::pi / 180.0;
    base = {std::sin(radians), std::cos(radians)};
  }
  switch (d / 90) {
    case 0:
      return base;
    case 1:
      return {base.cos, -base.sin};
    case 2:
      return {-base.sin, -base.cos};
    default:
      return {-base.cos, base.sin};
  }
}

}  // namespace

TSinCos SinCosDegrees(double degrees) {
  if (std::abs(degrees) < 1e9 && degrees == std::trunc(degrees))
    return SinCosWholeDegrees(static_cast<int>(degrees));
  const double radians = degrees * std::numbers::pi / 180.0;
  return {std::sin(radians), std::cos(radians)};
}

unsigned AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::Right:
      return TextFormat::Right;
    case TAlignment::Center:
      return TextFormat::Center;
    case TAlignment::Left:
      break;
  }
  return TextFormat::Left;
}

TAlignment AlignmentFromCode(std::uint8_t code) {
  return code == 1 ? TAlignment::Right : code == 2 ? TAlignment::Center : TAlignment::Left;
}

namespace {

// Four fifths of the way from channel to target, rounded to nearest. A fifth is
// never a half, so (sum + 2) / 5 is the exact rounding.
std::uint32_t BlendChannel(std::uint32_t channel, std::uint32_t target) {
  return (channel + 4 * target + 2) / 5;
}

constexpr int FontStyleBold = 1;
constexpr int FontStyleItalic = 16;

}  // namespace

std::vector<TRect> MergeIdenticalRows(const std::vector<TRect>& runs) {
  std::vector<TRect> merged;
  merged.reserve(runs.size());
  std::size_t bandStart = 0;  // first rectangle of the band that the next row may join
  std::size_t i = 0;
  while (i < runs.size()) {
    std::size_t rowEnd = i;
    while (rowEnd < runs.size() && runs[rowEnd].top == runs[i].top) ++rowEnd;
    const std::size_t count = rowEnd - i;
    const std::size_t bandCount = merged.size() - bandStart;
    bool joins = bandCount == count && bandCount > 0 && merged[bandStart].bottom == runs[i].top;
    for (std::size_t k = 0; joins && k < count; ++k)
      joins = merged[bandStart + k].left == runs[i + k].left &&
              merged[bandStart + k].right == runs[i + k].right;
    if (joins) {
      for (std::size_t k = 0; k < count; ++k) merged[bandStart + k].bottom = runs[i + k].bottom;
    } else {
      bandStart = merged.size();
      merged.insert(merged.end(), runs.begin() + static_cast<std::ptrdiff_t>(i),
                    runs.begin() + static_cast<std::ptrdiff_t>(rowEnd));
    }
    i = rowEnd;
  }
  return merged;
}

void RegionRunsFromBitmap(const TBitmap32& bitmap, TColor key, std::vector<TRect>& runs) {
  runs.clear();
  const std::uint32_t keyPixel = PixelOf(key);
  const int width = bitmap.Width();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* row = bitmap.ScanLine(y);
    int x = 0;
    while (x < width) {
      // The unused high byte of a pixel is not part of its colour.
      while (x < width && (row[x] & 0xFFFFFF) == keyPixel) ++x;
      if (x == width) break;
      const int start = x;
      while (x < width && (row[x] & 0xFFFFFF) != keyPixel) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
}

void SetFontSmoothing(TCanvas& canvas, bool smooth) {
  const TFontQuality quality = smooth ? TFontQuality::Default : TFontQuality::NonAntialiased;
  if (canvas.Font().quality == quality) return;
  TFontSpec font = canvas.Font();
  font.quality = quality;
  canvas.SetFont(font);
}

void DrawOutlinedText(TCanvas& canvas, const std::string& text, const TRect& rect, bool smooth,
                      bool shaded, TAlignment alignment, TColor outlineColor, int outlineWidth) {
  const unsigned format = AlignmentFlag(alignment) | TextFormat::NoClip | TextFormat::NoPrefix;
  canvas.SetBrush(0, TBrushStyle::Clear);
  const TColor textColor = canvas.FontColor();
  if (outlineWidth > 0) {
    SetFontSmoothing(canvas, smooth);
    for (int k = 1; k <= std::min(outlineWidth, MaxOutlineWidth); ++k) {
      canvas.SetFontColor(outlineColor);
      // 0 and 360 degrees are both drawn: 13 copies per ring.
      for (int a = 0; a <= 360; a += 30) {
        if (shaded) {
          // Light from the upper left: sin(a - 135) is -1 there and +1 at the lower right.
          const int delta = static_cast<int>(std::trunc(SinCosDegrees(a - 135).sin * 48.0));
          canvas.SetFontColor(ChangeBrightness(outlineColor, delta));
        }
        // Each ring is turned a little further so the copies fill the gaps of the previous one.
        const TSinCos turn = SinCosDegrees(a + 2 * k);
        TRect shifted = rect;
        const int dx = RoundHalfEven(turn.cos * k), dy = RoundHalfEven(turn.sin * k);
        shifted.left += dx;
        shifted.right += dx;
        shifted.top += dy;
        shifted.bottom += dy;
        canvas.DrawText(text, shifted, format);
      }
    }
  }
  // Non-antialiased text over an outline would show the outline's colour through its edges.
  SetFontSmoothing(canvas, smooth || outlineWidth > 0);
  canvas.SetFontColor(textColor);
  TRect r = rect;
  canvas.DrawText(text, r, format);
}

int FontStyleToCode(const TFontStyles& style) {
  return (style.bold ? FontStyleBold : 0) | (style.italic ? FontStyleItalic : 0);
}

TFontStyles CodeToFontStyle(int code) {
  TFontStyles style;
  style.bold = (code & FontStyleBold) != 0;
  style.italic = (code & FontStyleItalic) != 0;
  return style;
}

void BlendBitmap(TBitmap32& bitmap, TColor colour) {
  const std::uint32_t target = PixelOf(colour);
  const std::uint32_t mask = PixelOf(clGlyphMask);
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint32_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t p = row[x];
      if ((p & 0xFFFFFF) == mask) continue;
      std::uint32_t blended = p & 0xFF000000u;  // the unused byte is not ours to change
      for (int shift = 0; shift < 24; shift += 8)
        blended |= BlendChannel((p >> shift) & 0xFF, (target >> shift) & 0xFF) << shift;
      row[x] = blended;
    }
  }
}

TPoint HourPoint(int n, int radius, TPoint centre) {
  // Twelve o'clock is straight up; y grows downward, so growing angles go clockwise.
  const TSinCos angle = SinCosDegrees(n * 30 - 90);
  return {RoundHalfEven(angle.cos * radius + centre.x),
          RoundHalfEven(angle.sin * radius + centre.y)};
}

void ApplyElementSettings(TCanvas& canvas, const TElementSettings& record,
                          const TElementSettings& alternative, bool useAlternative) {
  const TElementSettings& colours = useAlternative ? alternative : record;
  canvas.SetBrush(FixColor(colours.FillColor), TBrushStyle::Solid);
  if (record.OutlineWidth >= 1)
    canvas.SetPen(FixColor(colours.OutlineColor), std::min(record.OutlineWidth, MaxPenWidth),
                  TPenStyle::InsideFrame);
  else
    canvas.SetPen(FixColor(colours.OutlineColor), 1, TPenStyle::Clear);
}

namespace {

double RelativeLuminance(TColor c) {
  const auto linear = [](int channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
}

}  // namespace

double ContrastRatio(TColor a, TColor b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor SecondaryTextColor(TColor text, TColor background) {
  constexpr double kReadable = 4.5;
  constexpr int kSteps = 64;
  const auto mix = [&](int step, int of) {
    return RGBColor(RedOf(text) + (RedOf(background) - RedOf(text)) * step / of,
                    GreenOf(text) + (GreenOf(background) - GreenOf(text)) * step / of,
                    BlueOf(text) + (BlueOf(background) - BlueOf(text)) * step / of);
  };
  // From the text towards the background, as long as it stays readable.
  TColor result = text;
  for (int step = 1; step < kSteps; ++step) {
    const TColor next = mix(step, kSteps);
    if (ContrastRatio(next, background) < kReadable) break;
    result = next;
  }
  return result;
}
