#include "display/uAutoHide.h"

#include <algorithm>

#include "config/uOptions.h"
#include "display/uDisplayHost.h"
#include "display/uDisplayList.h"
#include "display/uDrag.h"
#include "support/uPlatform.h"

namespace {

std::uint32_t Now() { return Platform().clock->TickCount(); }

bool ShiftDown() { return Platform().desktop->IsShiftDown(); }

}  // namespace

TAutoHide::TAutoHide(TDisplay& display, TDisplayWindow& window, TWindowTimer& timer, TDrag& drag,
                     const TOptions& options, TDisplayList& list, TDisplayHost& host)
    : FDisplay(display),
      FWindow(window),
      FTimer(timer),
      FDrag(drag),
      FOptions(options),
      FList(list),
      FHost(host) {}

void TAutoHide::HitTest(TPoint point) {
  if (!FOptions.AutoHide || FDrag.Dragging()) return;
  if (point == FLastHitPoint || FHost.MenuOpen()) return;
  if (!FList.CanAutoHide(FDisplay, FOptions.AutoHideAllDisplays)) return;
  FLastHitPoint = point;
  SetAutoHideTimer(false, 0);
  if (FHost.DisplayPreferencesOpen()) return;
  // Every move restarts the delay: the display hides once the cursor rests on it.
  if (FOptions.AutoHideInterval != 0)
    SetAutoHideTimer(true, 0);
  else if (!ShiftDown())
    AutoHide(true);
}

void TAutoHide::TimerFired() {
  if (FState == 0) {
    if (IsCursorInside() && !ShiftDown() && !FHost.MenuOpen())
      AutoHide(true);
    else
      SetAutoHideTimer(false, 0);
    return;
  }
  const bool away = FOptions.AutoHideAllDisplays ? !FList.IsCursorOverAny() : !IsCursorInside();
  if (!away) {
    FLeaveTick = Now();
    return;
  }
  // A negative stored interval counts as none; unsigned, it would keep the display hidden for
  // weeks.
  if (Now() - FLeaveTick > static_cast<std::uint32_t>(std::max(FOptions.AutoShowInterval, 0)))
    AutoShow(true);
}

void TAutoHide::AutoHide(bool all) {
  if (FOptions.AutoHideAllDisplays && all) FList.AutoHideOthers(FDisplay);
  FHost.ActivateApplication();
  FWindow.HideWindow();
  if (all) SetAutoHideTimer(true, 1);
  FDrag.End();
}

void TAutoHide::AutoShow(bool all) {
  if (FOptions.AutoHideAllDisplays && all) FList.AutoShowAll();
  FWindow.ShowDisplay();
  SetAutoHideTimer(false, 0);
}

bool TAutoHide::IsCursorInside() const {
  const TRect r = FWindow.Bounds();
  const TPoint p = Platform().desktop->CursorPos();
  return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom;
}

void TAutoHide::SetAutoHideTimer(bool enable, std::uint8_t state) {
  FState = state;
  FTimer.Stop();
  unsigned interval = HiddenPollInterval;
  if (state == 1)
    FLeaveTick = Now();
  else
    interval = static_cast<unsigned>(std::max(FOptions.AutoHideInterval, 1));
  if (enable) FTimer.Start(interval);
}
