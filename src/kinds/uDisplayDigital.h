#pragma once

#include <cstdint>
#include <string>

#include "display/uDisplay.h"
#include "display/uPainter.h"
#include "kinds/uFontOptions.h"

// What the text displays share: one block of text in a font with shadow,
// outline and relief, on the desktop or on a bevelled background.
class TDisplayDigital : public TDisplay {
 public:
  TPainterClass GetPainterClass() const override;
  void SetDefaults() override;
  void LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) override;
  void SaveToRegistry(TVarnRegistry& registry, bool presetOnly) override;

  TAdvancedFontOptions Font{"Font"};
  std::uint8_t Alignment = 0;  // 0 left, 1 right, 2 centre
  std::int32_t Shadow = 6;
  TColor ShadowColor = RGBColor(0x60, 0x60, 0x60);

 protected:
  using TDisplay::TDisplay;
};

// A counter inside a user's text: at its first "|" (trimmed of blanks and
// control characters), or after the text when it has none.
std::string InsertCounter(const std::string& text, const std::string& counter);

// A number with at least two digits, as "%.2d" gives it.
std::string TwoDigits(std::int64_t value);

class TPainterDigital : public TPainter {
 public:
  using TPainter::TPainter;
  void GetSize(TBitmap32& bitmap, int& width, int& height) override;
  void Paint(TBitmap32& bitmap) override;
  void ApplySize(int width, int height) override;
  std::string ShownText() const override { return JoinedLines(FText); }

  const TRect& TextRect() const { return FTextRect; }

 protected:
  TDisplayDigital& Digital() const { return static_cast<TDisplayDigital&>(Display()); }
  unsigned TextFormatFlags() const;

  TRect FTextRect;
  std::string FText;
};
