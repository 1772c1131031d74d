#include "app/uTooltip.h"

#include <algorithm>

#include "config/uMultilanguage.h"
#include "kinds/uFontOptions.h"
#include "support/uDpi.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

constexpr unsigned kTextFormat = TextFormat::Left | TextFormat::NoPrefix;

void SetTahoma(TCanvas& canvas, int points, bool bold, int dpi) {
  TFontOptions font("");
  font.FontName = "Tahoma";
  font.Size = points;
  font.Style.bold = bold;
  font.AssignToFont(canvas, dpi);
}

TPoint CursorPos() { return Platform().desktop ? Platform().desktop->CursorPos() : TPoint{}; }

}  // namespace

void TTooltip::HandleTrayMouse(bool isMove) {
  if (!Enabled) return;
  FHover = CursorPos();
  if (!isMove) {
    // A click closes the tip, and it does not come back at the same spot.
    FClick = FHover;
    FTimer.Stop();
    FWindow.HideWindow();
    return;
  }
  if (!FWindow.IsVisible()) {
    FShown = false;
    FTimer.Start(Interval);
  }
}

void TTooltip::TimerTick() {
  const TPoint p = CursorPos();
  if (FShown) {
    if (p == FHover) return;
    FTimer.Stop();
    FWindow.HideWindow();
    return;
  }
  FTimer.Stop();
  if (p != FHover || p == FClick) return;
  ShowAt(p);
  FShown = true;
  FTimer.Start(Interval);
}

std::string TTooltip::EvaluatedText() {
  FFormat.Zones = Zones;
  FFormat.Parse(Template);
  const std::string text = FFormat.Evaluate(SystemTimeToDateTime(ReadUtcTime()));
  return text.empty() ? GetText("NO_TEXT", "no text") : text;
}

void TTooltip::ShowAt(TPoint p) {
  FText = EvaluatedText();
  // Sized for the monitor it shows on, as the window there renders it.
  const int dpi = Platform().desktop ? Platform().desktop->DpiAt(p) : BaseDpi;
  const auto scaled = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
  const auto bitmap = Platform().newBitmap();
  TCanvas& canvas = bitmap->Canvas();
  SetTahoma(canvas, 10, false, dpi);
  TRect measured{0, 0, 0, 0};
  canvas.DrawText(FText, measured, kTextFormat | TextFormat::CalcRect);
  const TPoint size{std::max(measured.Width(), scaled(160)) + scaled(20),
                    measured.Height() + scaled(30)};
  // Its bottom-right corner at the cursor, kept inside the work area.
  const TPoint at = FitOnMonitor({p.x - size.x, p.y - size.y}, size, p);
  FWindow.ShowAt({at.x, at.y, at.x + size.x, at.y + size.y});
}

void PaintTooltip(TCanvas& canvas, const TRect& client, const std::string& text, TColor background,
                  TColor foreground, int dpi) {
  const auto scaled = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
  canvas.SetBrush(0, TBrushStyle::Clear);
  canvas.SetPen(foreground, 1, TPenStyle::InsideFrame);
  canvas.Rectangle(client);
  canvas.SetBrush(foreground, TBrushStyle::Solid);
  canvas.FillRect({0, 0, client.right, scaled(18)});
  SetTahoma(canvas, 8, true, dpi);
  canvas.SetFontColor(background);
  TRect title{scaled(4), scaled(2), client.right, scaled(18)};
  canvas.DrawText("Quorvel", title, TextFormat::SingleLine | TextFormat::NoPrefix);
  SetTahoma(canvas, 10, false, dpi);
  canvas.SetFontColor(foreground);
  // Clear, or each line is drawn on a bar of the title strip's colour.
  canvas.SetBrush(0, TBrushStyle::Clear);
  TRect body{client.left + scaled(10), client.top + scaled(21), client.right - scaled(10),
             client.bottom - scaled(9)};
  canvas.DrawText(text, body, kTextFormat);
}
