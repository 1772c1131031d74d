#pragma once

#include <cstdint>
#include <string>

#include "support/uCanvas.h"
#include "support/uGraphicTools.h"

class TVarnRegistry;

// A display's font as settings, stored under a value-name prefix.
class TFontOptions {
 public:
  explicit TFontOptions(const std::string& prefix);
  virtual ~TFontOptions() = default;
  virtual void SaveToRegistry(TVarnRegistry& registry) const;
  virtual void LoadFromRegistry(TVarnRegistry& registry);
  // Name, character set, size (points to pixels at the DPI), style and colour onto the canvas font.
  void AssignToFont(TCanvas& canvas, int dpi) const;
  // "28pt Arial".
  std::string Describe() const;
  const std::string& Prefix() const { return FPrefix; }

  std::string FontName = "Arial";
  std::int32_t CharSet = 1;
  TColor Color = 0xFFFFFF;
  TFontStyles Style;
  std::int32_t Size = 14;

 private:
  std::string FPrefix;
};

// With the outline and relief that the text painter draws.
class TAdvancedFontOptions : public TFontOptions {
 public:
  using TFontOptions::TFontOptions;
  void SaveToRegistry(TVarnRegistry& registry) const override;
  void LoadFromRegistry(TVarnRegistry& registry) override;

  TColor OutlineColor = 0x000000;
  std::int32_t OutlineWidth = 2;
  bool ThreeD = false;
};
