#include "kinds/uDisplayKinds.h"

#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uDisplayStopwatch.h"

std::unique_ptr<TDisplay> CreateDisplay(std::uint8_t kind) {
  switch (kind) {
    case dkAnalogClock:
      return TDisplay::Create<TDisplayAnalogClock>();
    case dkDigitalClock:
      return TDisplay::Create<TDisplayDigitalClock>();
    case dkCountdown:
      return TDisplay::Create<TDisplayCountdown>();
    case dkStopwatch:
      return TDisplay::Create<TDisplayStopwatch>();
    default:
      return nullptr;
  }
}
