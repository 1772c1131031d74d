#include "kinds/uDisplayDigital.h"

#include <algorithm>
#include <cstdio>

#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"

namespace {

std::unique_ptr<TPainter> NewDigitalPainter(TDisplay& display) {
  return std::make_unique<TPainterDigital>(display);
}

const TStoredValue<TDisplayDigital> kTextDisplayValues[] = {
    {"Alignment", &TDisplayDigital::Alignment},
    {"Shadow", &TDisplayDigital::Shadow},
    {"ShadowColor", &TDisplayDigital::ShadowColor},
    {"HasBackground", &TDisplayDigital::HasBackground},
    {"BackgroundColor", &TDisplayDigital::BackgroundColor},
    {"BevelWidth", &TDisplayDigital::BevelWidth},
    {"BevelColor", &TDisplayDigital::BevelColor},
    {"Bevel3D", &TDisplayDigital::Bevel3D},
};

}  // namespace

std::string InsertCounter(const std::string& text, const std::string& counter) {
  const std::size_t bar = text.find('|');
  if (bar == std::string::npos) return text + counter;
  const auto visible = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  const auto first = std::find_if(counter.begin(), counter.end(), visible);
  const auto last = std::find_if(counter.rbegin(), counter.rend(), visible).base();
  const std::string trimmed = first < last ? std::string(first, last) : std::string();
  return text.substr(0, bar) + trimmed + text.substr(bar + 1);
}

std::string TwoDigits(std::int64_t value) {
  char digits[24];
  std::snprintf(digits, sizeof(digits), "%.2lld", static_cast<long long>(value));
  return digits;
}

TPainterClass TDisplayDigital::GetPainterClass() const { return &NewDigitalPainter; }

void TDisplayDigital::SetDefaults() {
  TDisplay::SetDefaults();
  Font.FontName = "Arial";
  Font.Size = 28;
  Font.Color = RGBColor(0xFF, 0xCF, 0x3F);
  Font.Style = {true, false, false, false};
  Alignment = 0;
  Shadow = 6;
  ShadowColor = RGBColor(0x60, 0x60, 0x60);
  Font.OutlineWidth = 2;
  Font.OutlineColor = RGBColor(0x40, 0x40, 0x40);
  Font.ThreeD = true;
}

void TDisplayDigital::LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplay::LoadFromRegistry(registry, presetOnly);
  Font.LoadFromRegistry(registry);
  LoadValues<TDisplayDigital>(registry, *this, kTextDisplayValues);
  SetDirty();
}

void TDisplayDigital::SaveToRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplay::SaveToRegistry(registry, presetOnly);
  Font.SaveToRegistry(registry);
  SaveValues<TDisplayDigital>(registry, *this, kTextDisplayValues);
}

unsigned TPainterDigital::TextFormatFlags() const {
  return AlignmentFlag(AlignmentFromCode(Digital().Alignment)) | TextFormat::NoClip |
         TextFormat::NoPrefix;
}

void TPainterDigital::GetSize(TBitmap32& bitmap, int& width, int& height) {
  const TDisplayDigital& d = Digital();
  if (d.HasBackground) {
    width = d.Scaled(std::clamp(d.Width, 0, MaxDisplayWidth));
    height = d.Scaled(std::clamp(d.Height, 0, MaxDisplayHeight));
    FTextRect = {0, 0, width, height};
    return;
  }
  TCanvas& canvas = bitmap.Canvas();
  d.Font.AssignToFont(canvas, d.Dpi());
  TRect measured{0, 0, 0, 0};
  canvas.DrawText(FText, measured, TextFormatFlags() | TextFormat::CalcRect);
  FTextRect = {0, 0, measured.Width(), measured.Height()};
  if (FTextRect.right % 2 != 0) ++FTextRect.right;
  TRect w{0, 0, 0, 0};
  canvas.DrawText("W", w, TextFormatFlags() | TextFormat::CalcRect);
  // Grow only when the text no longer fits; shrink only when more than two
  // "W" widths are left over, so the window does not twitch every second.
  const int base = FTextRect.right + d.Scaled(20), slack = 2 * w.Width();
  if (base > width || base + slack < width) width = base + slack;
  height = FTextRect.bottom + d.Scaled(16);
}

void TPainterDigital::Paint(TBitmap32& bitmap) {
  TPainter::Paint(bitmap);
  const TDisplayDigital& d = Digital();
  TCanvas& canvas = bitmap.Canvas();
  TRect r = FTextRect;
  if (d.HasBackground) {
    r = r.Inflated(-(DrawnBevelWidth(bitmap) + d.Scaled(4)));
  } else {
    const int margin = d.Scaled(10);
    int dx = margin;
    if (d.Alignment == 1) dx = bitmap.Width() - r.right - 2 * margin;
    if (d.Alignment == 2) dx = (bitmap.Width() - r.right) / 2 - margin;
    const int dy = d.Scaled(5);
    r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  }
  canvas.SetBrush(0, TBrushStyle::Clear);
  if (d.Shadow > 0 && !d.HasBackground) {
    // The display's font is on the canvas since the text was measured.
    canvas.SetFontColor(d.ShadowColor);
    SetFontSmoothing(canvas, false);
    // Any further and the shadow has left the largest bitmap.
    const int offset = d.Scaled(std::min(d.Shadow, MaxDisplayWidth + MaxDisplayHeight));
    TRect shadow{r.left + offset, r.top + offset, r.right + offset, r.bottom + offset};
    canvas.DrawText(FText, shadow, TextFormatFlags());
  }
  d.Font.AssignToFont(canvas, d.Dpi());
  TColor outline = d.Font.OutlineColor;
  if (d.FlashPhase()) {
    canvas.SetFontColor(d.FlashFillColor);
    outline = d.FlashOutlineColor;
  }
  DrawOutlinedText(canvas, FText, r, d.HasBackground, d.Font.ThreeD, AlignmentFromCode(d.Alignment),
                   outline, d.Scaled(std::clamp(d.Font.OutlineWidth, 0, MaxDisplayHeight)));
}

void TPainterDigital::ApplySize(int width, int height) {
  TDisplayWindow* window = Window();
  if (!window) return;
  const TRect bounds = window->Bounds();
  window->SetClientSize(bounds.Width(), height);
  if (width == bounds.Width()) return;
  const int shrink = bounds.Width() - width;
  // The aligned edge stays where it is.
  if (Digital().Alignment == 1) window->MoveTo(bounds.left + shrink, bounds.top);
  if (Digital().Alignment == 2) window->MoveTo(bounds.left + shrink / 2, bounds.top);
  window->SetClientSize(width, height);
}
