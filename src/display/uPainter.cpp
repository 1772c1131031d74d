#include "display/uPainter.h"

#include <algorithm>
#include <array>

#include "support/HSVLibrary.h"
#include "support/uGraphicTools.h"
#include "support/uPlatform.h"

TPainter::TPainter(TDisplay& display) : FBitmap(Platform().newBitmap()), FDisplay(display) {}

TPainter::~TPainter() = default;

void TPainter::Prepare(TBitmap32&) {}

void TPainter::AfterPaint(TBitmap32&) {}

void TPainter::GetSize(TBitmap32&, int& width, int& height) {
  width = FDisplay.Scaled(MinDisplaySize);
  height = FDisplay.Scaled(MinDisplaySize);
}

void TPainter::Paint(TBitmap32& bitmap) {
  TCanvas& canvas = bitmap.Canvas();
  const TRect r{0, 0, bitmap.Width(), bitmap.Height()};
  const bool flashPhase = FDisplay.FlashPhase();
  if (FDisplay.HasBackground) {
    canvas.SetBrush(flashPhase ? FDisplay.FlashOutlineColor : FDisplay.BackgroundColor,
                    TBrushStyle::Solid);
    canvas.FillRect(r);
    const int bevel = DrawnBevelWidth(bitmap);
    if (bevel > 0) {
      canvas.SetBrush(0, TBrushStyle::Clear);
      if (FDisplay.Bevel3D) {
        const TColor c = flashPhase ? FDisplay.FlashOutlineColor : FDisplay.BevelColor;
        canvas.SetPen(Lighten(c), 1, TPenStyle::Solid);
        for (int i = 0; i < bevel; ++i) {
          const std::array<TPoint, 3> lit{{{i, r.bottom}, {i, i}, {r.right, i}}};
          canvas.Polyline(lit);
        }
        canvas.SetPen(Darken(c), 1, TPenStyle::Solid);
        for (int i = 0; i < bevel; ++i) {
          const std::array<TPoint, 3> shaded{
              {{i, r.bottom - i - 1}, {r.right - i - 1, r.bottom - i - 1}, {r.right - i - 1, i}}};
          canvas.Polyline(shaded);
        }
      } else {
        canvas.SetPen(FDisplay.BevelColor, bevel, TPenStyle::InsideFrame);
        canvas.Rectangle(r);
      }
    }
  } else {
    canvas.SetBrush(clColorKey, TBrushStyle::Solid);
    canvas.FillRect(r);
  }
  if (FDisplay.Highlighted()) {
    const int line = FDisplay.Scaled(2);
    canvas.SetBrush(0, TBrushStyle::Clear);
    canvas.SetPen(clHighlightDark, line, TPenStyle::InsideFrame);
    canvas.Rectangle(r);
    canvas.SetPen(clHighlightLight, line, TPenStyle::InsideFrame);
    canvas.Rectangle(r.Inflated(-line));
    canvas.SetPen(clHighlightDark, line, TPenStyle::InsideFrame);
    canvas.Rectangle(r.Inflated(-2 * line));
  }
}

int TPainter::DrawnBevelWidth(const TBitmap32& bitmap) const {
  // At half the shorter side the bevel already covers the whole display; a
  // wider one is drawn at that width.
  const int wanted = FDisplay.Scaled(std::clamp(FDisplay.BevelWidth, 0, MaxDisplayHeight));
  return std::clamp(wanted, 0, (std::min(bitmap.Width(), bitmap.Height()) + 1) / 2);
}

void TPainter::ApplySize(int width, int height) {
  if (Window()) Window()->SetClientSize(width, height);
}

void TPainter::Render(TBitmap32& bitmap) {
  Prepare(bitmap);
  int width = bitmap.Width(), height = bitmap.Height();
  GetSize(bitmap, width, height);
  // Never larger than a window can be: the rest could not be seen anyway.
  width = std::clamp(width, FDisplay.Scaled(MinDisplaySize), FDisplay.Scaled(MaxDisplayWidth));
  height = std::clamp(height, FDisplay.Scaled(MinDisplaySize), FDisplay.Scaled(MaxDisplayHeight));
  if (width != bitmap.Width() || height != bitmap.Height()) bitmap.SetSize(width, height);
  Paint(bitmap);
  AfterPaint(bitmap);
}

void TPainter::Update() {
  Render(*FBitmap);
  ApplySize(FBitmap->Width(), FBitmap->Height());
  ApplyRegion();
  Draw();
}

void TPainter::ApplyRegion() {
  TDisplayWindow* window = Window();
  if (!window) return;
  if (FDisplay.HasBackground) {
    if (FAppliedRegion != TAppliedRegion::None) window->RemoveRegion();
    FAppliedRegion = TAppliedRegion::None;
    return;
  }
  // No runs give an empty shape: a display that draws nothing shows nothing, where without a
  // region it would show a rectangle of the colour key.
  RegionRunsFromBitmap(*FBitmap, clColorKey, FRuns);
  // Building a window region is the costliest step of a repaint; skip it when
  // the shape is the one the window already has.
  if (FAppliedRegion == TAppliedRegion::Runs && FRuns == FAppliedRuns) return;
  if (!window->SetRegion(FRuns)) {
    // Refused: the window's shape is unknown now, so the next repaint tries again.
    FAppliedRegion = TAppliedRegion::Unknown;
    return;
  }
  FAppliedRuns.swap(FRuns);
  FAppliedRegion = TAppliedRegion::Runs;
}

void TPainter::Draw() {
  if (!Window()) return;
  Window()->SetShownText(ShownText());
  Window()->DrawBitmap(*FBitmap);
}

std::string JoinedLines(std::string_view text) {
  std::string joined;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) continue;
    line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    joined += (joined.empty() ? "" : ", ") + std::string(line);
  }
  return joined;
}
