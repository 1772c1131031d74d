#pragma once

#include <cstdint>
#include <string>

#include "config/uVarnRegistry.h"
#include "display/uDisplay.h"
#include "display/uPainter.h"
#include "kinds/uFontOptions.h"

class TTimeZone;

// The dial styles of the hour marks.
enum TTickMarks : std::uint8_t {
  tmNone = 0,
  tmRectangles = 1,
  tmCircle = 2,
  tmClassic = 3,
  tmClassicII = 4,
  tmTriangles = 5,
  tmDiamonds = 6,
  tmStars = 7,
};

// A clock face drawn straight on the desktop: hour marks, three hands and a
// line of dial text, in local time or in a zone of the catalogue.
class TDisplayAnalogClock : public TDisplay {
 public:
  TDisplayAnalogClock() : TDisplay(dkAnalogClock) {}
  TPainterClass GetPainterClass() const override;
  void SetDefaults() override;
  void SetText(const std::string& text) override;
  void UpdateNeedsSeconds() override;
  void LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) override;
  void SaveToRegistry(TVarnRegistry& registry, bool presetOnly) override;

  bool SecondsHand() const { return FSecondsHand; }
  void SetSecondsHand(bool value);
  const std::string& TimeZoneID() const { return FTimeZoneID; }
  const TTimeZone* TimeZone() const { return FTimeZone; }
  // An id the catalogue does not know is kept (and stored) with local time shown.
  void SetTimeZoneID(const std::string& id);
  void SetTimeZone(const TTimeZone* zone);

  TAdvancedFontOptions TextFont{"TextFont"};
  std::int32_t DisplaySize = 40;  // percent; the face is five times this in pixels
  std::uint8_t TickMarks = tmTriangles;
  bool QuarterMarksOnly = false;
  TElementSettings TickMarkSettings;
  TElementSettings QuarterMarksSettings;
  TElementSettings HourHandSettings;
  TElementSettings MinuteHandSettings;
  TElementSettings SecondsHandSettings;
  // Lengths and mark positions in percent of the face radius; widths and sizes in pixels.
  std::int32_t HourHandLength = 60;
  std::int32_t HourHandWidth = 2;
  std::int32_t MinuteHandLength = 97;
  std::int32_t MinuteHandWidth = 2;
  std::int32_t SecondsHandLength = 100;
  std::int32_t SecondsHandWidth = 1;
  std::int32_t TickMarkSize = 4;
  std::int32_t QuarterTickMarkSize = 5;
  std::int32_t TickMarkPosition = 96;
  std::int32_t QuarterTickMarkPosition = 94;
  bool ShowText = true;
  TColor TextBackgroundColor = 0;
  std::uint8_t TextAlignment = 2;  // 0 left, 1 right, 2 centre
  // In percent of the face's width and height.
  std::int32_t TextOffsetX = 50;
  std::int32_t TextOffsetY = 74;
  bool TextBackground = true;
  bool ShowHourHand = true;
  bool ShowMinuteHand = true;
  bool TextOverHands = false;

 private:
  bool FSecondsHand = true;
  std::string FTimeZoneID;
  const TTimeZone* FTimeZone = nullptr;
};

class TPainterAnalogClock : public TPainter {
 public:
  using TPainter::TPainter;
  void GetSize(TBitmap32& bitmap, int& width, int& height) override;
  void Paint(TBitmap32& bitmap) override;
  std::string ShownText() const override { return FShownText; }

 private:
  TDisplayAnalogClock& Clock() const { return static_cast<TDisplayAnalogClock&>(Display()); }
  void PaintMarks(TCanvas& canvas, TPoint centre);
  void PaintHands(TCanvas& canvas, TPoint centre, const TSystemTime& time);
  void PaintText(TBitmap32& bitmap, TDateTime utc);
  void ApplyElement(TCanvas& canvas, const TElementSettings& settings) const;
  // A size of the face's rules (marks, hands, outlines) at the display's DPI.
  int Sized(std::int32_t pixels) const;

  // The time as the hands show it, then the text under them.
  std::string FShownText;
};
