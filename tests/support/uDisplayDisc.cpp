#include "support/uDisplayDisc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "support/uPlatform.h"

namespace {

std::unique_ptr<TPainter> NewDiscPainter(TDisplay& display) {
  return std::make_unique<TPainterDisc>(display);
}

}  // namespace

TDisplayDisc::TDisplayDisc() : TDisplay(TDisplayKind{0}) { UpdateNeedsSeconds(); }

TPainterClass TDisplayDisc::GetPainterClass() const { return &NewDiscPainter; }

void TDisplayDisc::UpdateNeedsSeconds() { SetNeedsSeconds(true); }

void TPainterDisc::GetSize(TBitmap32&, int& width, int& height) {
  const auto& d = static_cast<const TDisplayDisc&>(Display());
  width = d.HasBackground ? d.Width : d.Size;
  height = d.HasBackground ? d.Height : d.Size;
}

void TPainterDisc::Paint(TBitmap32& bitmap) {
  TPainter::Paint(bitmap);
  const auto& d = static_cast<const TDisplayDisc&>(Display());
  TCanvas& canvas = bitmap.Canvas();
  const int size = std::min(bitmap.Width(), bitmap.Height()) - 8;
  const TPoint centre{bitmap.Width() / 2, bitmap.Height() / 2};
  const TRect disc{centre.x - size / 2, centre.y - size / 2, centre.x + size / 2,
                   centre.y + size / 2};
  canvas.SetPen(0, 1, TPenStyle::Clear);
  canvas.SetBrush(d.FlashPhase() ? d.FlashFillColor : d.DiscColor, TBrushStyle::Solid);
  canvas.Ellipse(disc);

  const int second = Platform().clock ? Platform().clock->LocalNow().wSecond : 0;
  const double angle = (second * 6 - 90) * std::numbers::pi / 180.0;
  const double radius = size / 2.0 - size / 8.0;
  const TPoint dot{centre.x + static_cast<int>(std::lround(std::cos(angle) * radius)),
                   centre.y + static_cast<int>(std::lround(std::sin(angle) * radius))};
  const int r = std::max(size / 16, 2);
  canvas.SetBrush(d.DotColor, TBrushStyle::Solid);
  canvas.Ellipse({dot.x - r, dot.y - r, dot.x + r, dot.y + r});
}
