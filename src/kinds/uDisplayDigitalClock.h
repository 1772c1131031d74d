#pragma once

#include "kinds/uDisplayDigital.h"

// The user's template of the display format language, evaluated every minute
// (or every second when it shows seconds).
class TDisplayDigitalClock : public TDisplayDigital {
 public:
  TDisplayDigitalClock() : TDisplayDigital(dkDigitalClock) {}
  TPainterClass GetPainterClass() const override;
  void SetDefaults() override;
  void SetText(const std::string& text) override;
  void UpdateNeedsSeconds() override;
};

class TPainterDigitalClock : public TPainterDigital {
 public:
  using TPainterDigital::TPainterDigital;
  void Prepare(TBitmap32& bitmap) override;
};
