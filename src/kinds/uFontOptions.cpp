#include "kinds/uFontOptions.h"

#include <algorithm>
#include <cmath>

#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplay.h"
#include "support/uDpi.h"

namespace {

const TStoredValue<TFontOptions> kFontValues[] = {
    {"FontName", &TFontOptions::FontName},
    {"FontCharSet", &TFontOptions::CharSet},
    {"FontColor", &TFontOptions::Color},
    {"FontStyle",
     TAccessor<TFontOptions, std::int32_t>{
         [](const TFontOptions& f) { return static_cast<std::int32_t>(FontStyleToCode(f.Style)); },
         [](TFontOptions& f, std::int32_t code) { f.Style = CodeToFontStyle(code); }}},
    {"FontSize", &TFontOptions::Size},
};

const TStoredValue<TAdvancedFontOptions> kOutlineValues[] = {
    {"OutlineColor", &TAdvancedFontOptions::OutlineColor},
    {"OutlineWidth", &TAdvancedFontOptions::OutlineWidth},
    {"3D", &TAdvancedFontOptions::ThreeD},
};

}  // namespace

TFontOptions::TFontOptions(const std::string& prefix)
    : FPrefix(prefix.empty() ? std::string() : prefix + "_") {}

void TFontOptions::SaveToRegistry(TVarnRegistry& registry) const {
  SaveValues<TFontOptions>(registry, *this, kFontValues, FPrefix);
}

void TFontOptions::LoadFromRegistry(TVarnRegistry& registry) {
  LoadValues<TFontOptions>(registry, *this, kFontValues, FPrefix);
}

void TFontOptions::AssignToFont(TCanvas& canvas, int dpi) const {
  TFontSpec font = canvas.Font();
  font.name = FontName;
  font.charSet = CharSet & 0xFF;
  // Points to pixels, rounded as the platform's MulDiv does; negative asks for the
  // character height. No character is taller than the tallest display.
  const double pixels = Size * static_cast<double>(dpi) / 72.0;
  const double tallest = ScaleToDpi(MaxDisplayHeight, dpi);
  font.height = -static_cast<int>(std::lround(std::clamp(pixels, -tallest, tallest)));
  font.bold = Style.bold;
  font.italic = Style.italic;
  font.underline = Style.underline;
  font.strikeOut = Style.strikeOut;
  canvas.SetFont(font);
  canvas.SetFontColor(Color);
}

std::string TFontOptions::Describe() const { return std::to_string(Size) + "pt " + FontName; }

void TAdvancedFontOptions::SaveToRegistry(TVarnRegistry& registry) const {
  TFontOptions::SaveToRegistry(registry);
  SaveValues<TAdvancedFontOptions>(registry, *this, kOutlineValues, Prefix());
}

void TAdvancedFontOptions::LoadFromRegistry(TVarnRegistry& registry) {
  TFontOptions::LoadFromRegistry(registry);
  LoadValues<TAdvancedFontOptions>(registry, *this, kOutlineValues, Prefix());
}
