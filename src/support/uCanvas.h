#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "support/uTypes.h"

// Text format flags; the values are the platform's DT_ flags.
namespace TextFormat {
constexpr unsigned Left = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned VCenter = 0x4;
constexpr unsigned Bottom = 0x8;
constexpr unsigned WordBreak = 0x10;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned ExpandTabs = 0x40;
constexpr unsigned NoClip = 0x100;
constexpr unsigned CalcRect = 0x400;
constexpr unsigned NoPrefix = 0x800;
}  // namespace TextFormat

enum class TPenStyle { Solid, InsideFrame, Clear };
enum class TBrushStyle { Solid, Clear };

// Font output quality; the values are the platform's.
enum class TFontQuality : std::uint8_t { Default = 0, NonAntialiased = 3 };

struct TFontSpec {
  std::string name = "Tahoma";
  int height = -11;  // negative: character height in pixels, as the platform takes it
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charSet = 1;  // DEFAULT_CHARSET
  TFontQuality quality = TFontQuality::Default;
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

// Drawing on a 32-bit bitmap. Points and rectangles are in bitmap pixels.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetFont(const TFontSpec& font) = 0;
  virtual const TFontSpec& Font() const = 0;
  virtual void SetFontColor(TColor c) = 0;
  virtual TColor FontColor() const = 0;
  virtual void SetPen(TColor c, int width, TPenStyle style) = 0;
  virtual void SetBrush(TColor c, TBrushStyle style) = 0;

  // Fills with the brush colour, ignoring the pen.
  virtual void FillRect(const TRect& r) = 0;
  // The shapes are outlined with the pen and filled with the brush.
  virtual void Rectangle(const TRect& r) = 0;
  virtual void Ellipse(const TRect& r) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  virtual void Polyline(std::span<const TPoint> points) = 0;

  // Multi-line text in UTF-8. With TextFormat::CalcRect nothing is drawn and r
  // receives the extent. Returns the text height.
  virtual int DrawText(const std::string& text, TRect& r, unsigned format) = 0;
};

// A top-down 32-bit bitmap: each pixel is 0x00RRGGBB in memory order B, G, R, X.
class TBitmap32 {
 public:
  virtual ~TBitmap32() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Keeps nothing of the old picture.
  virtual void SetSize(int width, int height) = 0;
  virtual TCanvas& Canvas() = 0;
  // Drawing must be finished (the platform flushed) before rows are read.
  virtual const std::uint32_t* ScanLine(int y) const = 0;
  virtual std::uint32_t* ScanLine(int y) = 0;
};

// A colour as it appears in a 32-bit pixel (red and blue swapped).
constexpr std::uint32_t PixelOf(TColor c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
