#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "display/aDisplayWindow.h"
#include "display/uDisplay.h"
#include "support/uCanvas.h"
#include "support/uTypes.h"

// Draws a display into its own off-screen bitmap and gives the window its
// size, shape and picture.
class TPainter {
 public:
  explicit TPainter(TDisplay& display);
  virtual ~TPainter();
  TPainter(const TPainter&) = delete;
  TPainter& operator=(const TPainter&) = delete;

  virtual void Prepare(TBitmap32& bitmap);
  virtual void AfterPaint(TBitmap32& bitmap);
  virtual void GetSize(TBitmap32& bitmap, int& width, int& height);
  virtual void Paint(TBitmap32& bitmap);
  virtual void ApplySize(int width, int height);
  // What the last picture shows, as one line of text.
  virtual std::string ShownText() const { return {}; }

  void Render(TBitmap32& bitmap);
  void Update();
  void ApplyRegion();
  void Draw();

  TBitmap32& Bitmap() const { return *FBitmap; }
  // The bevel width as drawn on a bitmap of this size.
  int DrawnBevelWidth(const TBitmap32& bitmap) const;
  TDisplay& Display() const { return FDisplay; }

 protected:
  TDisplayWindow* Window() const { return FDisplay.Window(); }

 private:
  std::unique_ptr<TBitmap32> FBitmap;
  TDisplay& FDisplay;
  // What the window was last given, so an unchanged shape is not handed over again.
  enum class TAppliedRegion { Unknown, None, Runs } FAppliedRegion = TAppliedRegion::Unknown;
  std::vector<TRect> FAppliedRuns;
  std::vector<TRect> FRuns;
};

// The lines of a text joined with ", ", blank ones left out, as a screen reader reads one line.
std::string JoinedLines(std::string_view text);

// The colours of the selection frame drawn around a highlighted display.
constexpr TColor clHighlightDark = 0x705030;
constexpr TColor clHighlightLight = 0xFFFFFF;
