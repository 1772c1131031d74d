#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "support/uCanvas.h"
#include "support/uWinHandles.h"

// A canvas on a memory DC. Pen, brush and font are created when they change
// and selected into the DC; the DC's own objects are put back on destruction.
// The last few fonts are kept: a text display switches between a smoothed and
// a sharp copy of its font several times in every repaint.
class TGdiCanvas : public TCanvas {
 public:
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return FFontSpec; }
  void SetFontColor(TColor c) override { FFontColor = c; }
  TColor FontColor() const override { return FFontColor; }
  void SetPen(TColor c, int width, TPenStyle style) override;
  void SetBrush(TColor c, TBrushStyle style) override;
  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void Ellipse(const TRect& r) override;
  void Polygon(std::span<const TPoint> points) override;
  void Polyline(std::span<const TPoint> points) override;
  int DrawText(const std::string& text, TRect& r, unsigned format) override;

 private:
  HDC FDC;
  HGDIOBJ FOriginalPen;
  HGDIOBJ FOriginalBrush;
  HGDIOBJ FOriginalFont;
  TUniquePen FPen;
  TUniqueBrush FBrush;
  // Most recently selected first; the first is the one in the DC.
  std::vector<std::pair<TFontSpec, TUniqueFont>> FFonts;
  TFontSpec FFontSpec;
  TColor FFontColor = 0;
  TColor FPenColor = 0;
  int FPenWidth = 1;
  TPenStyle FPenStyle = TPenStyle::Solid;
  TColor FBrushColor = 0xFFFFFF;
  TBrushStyle FBrushStyle = TBrushStyle::Solid;
};

// A top-down 32-bit DIB section with its memory DC and canvas.
class TGdiBitmap : public TBitmap32 {
 public:
  TGdiBitmap();
  ~TGdiBitmap() override;
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetSize(int width, int height) override;
  TCanvas& Canvas() override { return *FCanvas; }
  const std::uint32_t* ScanLine(int y) const override;
  std::uint32_t* ScanLine(int y) override;
  HDC DC() const { return FDC.get(); }

 private:
  TUniqueMemoryDC FDC;
  TUniqueBitmap FBitmap;
  HGDIOBJ FOriginalBitmap = nullptr;
  std::uint32_t* FBits = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  std::unique_ptr<TGdiCanvas> FCanvas;
};

// One region from one-row rectangles, built in a single call; an empty one from none.
TUniqueRegion CreateRegionFromRuns(const std::vector<TRect>& runs);
