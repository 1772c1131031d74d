#include "kinds/uDisplayDigitalClock.h"

#include "config/uMultilanguage.h"
#include "support/uPlatform.h"

namespace {

std::unique_ptr<TPainter> NewClockPainter(TDisplay& display) {
  return std::make_unique<TPainterDigitalClock>(display);
}

bool IsBlank(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

}  // namespace

TPainterClass TDisplayDigitalClock::GetPainterClass() const { return &NewClockPainter; }

void TDisplayDigitalClock::SetDefaults() {
  TDisplayDigital::SetDefaults();
  SetText("&ldate;\r\n&time;");
}

void TDisplayDigitalClock::SetText(const std::string& text) {
  TDisplayDigital::SetText(IsBlank(text) ? GetText("NO_TEXT", "no text") : text);
  UpdateNeedsSeconds();
}

void TDisplayDigitalClock::UpdateNeedsSeconds() { SetNeedsSeconds(DisplayFormat().NeedsSeconds()); }

void TPainterDigitalClock::Prepare(TBitmap32&) {
  FText = Display().DisplayFormat().Evaluate(SystemTimeToDateTime(Platform().clock->UtcNow()));
}
