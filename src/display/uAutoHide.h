#pragma once

#include <cstdint>
#include <optional>

#include "support/uTypes.h"
#include "support/uWindowTimer.h"

class TDisplay;
class TDisplayHost;
class TDisplayList;
class TDisplayWindow;
class TDrag;
class TOptions;

// Automatic hiding of one display window: it hides when the cursor has rested
// on it for the options' interval and comes back when the cursor has been away
// long enough. State 0 waits to hide (timer on or off); state 1 is hidden and
// polls every 200 ms.
class TAutoHide {
 public:
  TAutoHide(TDisplay& display, TDisplayWindow& window, TWindowTimer& timer, TDrag& drag,
            const TOptions& options, TDisplayList& list, TDisplayHost& host);

  // The system asks what lies under the cursor at a screen point.
  void HitTest(TPoint point);
  void TimerFired();
  // The window is being moved.
  void Disarm() { SetAutoHideTimer(false, 0); }
  void AutoHide(bool all);
  void AutoShow(bool all);
  // Strictly inside the window's rectangle, also while it is hidden.
  bool IsCursorInside() const;
  std::uint8_t State() const { return FState; }

  static constexpr unsigned HiddenPollInterval = 200;

 private:
  void SetAutoHideTimer(bool enable, std::uint8_t state);

  TDisplay& FDisplay;
  TDisplayWindow& FWindow;
  TWindowTimer& FTimer;
  TDrag& FDrag;
  const TOptions& FOptions;
  TDisplayList& FList;
  TDisplayHost& FHost;
  std::uint8_t FState = 0;
  std::optional<TPoint> FLastHitPoint;
  std::uint32_t FLeaveTick = 0;
};
