#include "kinds/uFontOptions.h"

#include <algorithm>
#include <cmath>

#include "config/uVarnRegistry.h"
#include "display/uDisplay.h"
#include "support/uPlatform.h"

TFontOptions::TFontOptions(const std::string& prefix)
    : FPrefix(prefix.empty() ? std::string() : prefix + "_") {}

void TFontOptions::SaveToRegistry(TVarnRegistry& registry) const {
  registry.WriteString(Name("FontName"), FontName);
  registry.WriteInteger(Name("FontCharSet"), CharSet);
  registry.WriteInteger(Name("FontColor"), static_cast<std::int32_t>(Color));
  registry.WriteInteger(Name("FontStyle"), FontStyleToCode(Style));
  registry.WriteInteger(Name("FontSize"), Size);
}

void TFontOptions::LoadFromRegistry(TVarnRegistry& registry) {
  FontName = registry.ReadStringOr(Name("FontName"), FontName);
  CharSet = registry.ReadIntegerOr(Name("FontCharSet"), CharSet);
  Color = static_cast<TColor>(registry.ReadIntegerOr(Name("FontColor"), static_cast<std::int32_t>(Color)));
  Style = CodeToFontStyle(registry.ReadIntegerOr(Name("FontStyle"), FontStyleToCode(Style)));
  Size = registry.ReadIntegerOr(Name("FontSize"), Size);
}

void TFontOptions::AssignToFont(TCanvas& canvas) const {
  TFontSpec font = canvas.Font();
  font.name = FontName;
  font.charSet = CharSet & 0xFF;
  // Points to pixels, rounded as the platform's MulDiv does; negative asks for the
  // character height. No character is taller than the tallest display.
  const double pixels = Size * static_cast<double>(Platform().pixelsPerInch) / 72.0;
  font.height = -static_cast<int>(std::lround(std::clamp(pixels, -1.0 * MaxDisplayHeight, 1.0 * MaxDisplayHeight)));
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
  registry.WriteInteger(Name("OutlineColor"), static_cast<std::int32_t>(OutlineColor));
  registry.WriteInteger(Name("OutlineWidth"), OutlineWidth);
  registry.WriteBool(Name("3D"), ThreeD);
}

void TAdvancedFontOptions::LoadFromRegistry(TVarnRegistry& registry) {
  TFontOptions::LoadFromRegistry(registry);
  OutlineColor = static_cast<TColor>(
      registry.ReadIntegerOr(Name("OutlineColor"), static_cast<std::int32_t>(OutlineColor)));
  OutlineWidth = registry.ReadIntegerOr(Name("OutlineWidth"), OutlineWidth);
  ThreeD = registry.ReadBoolOr(Name("3D"), ThreeD);
}
