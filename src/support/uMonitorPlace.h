#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "support/uDesktop.h"
#include "support/uTypes.h"

// Where a window stands relative to a monitor, so that it finds its way back to that monitor
// however the desktop is laid out again.
struct TMonitorPlace {
  std::string monitor;  // the device name
  // The monitor's rectangle when the place was taken.
  int monitorLeft = 0, monitorTop = 0, monitorRight = 0, monitorBottom = 0;
  // The window's place within the work area: 0 flush left (top), 1 flush right (bottom).
  double x = std::numeric_limits<double>::quiet_NaN();
  double y = std::numeric_limits<double>::quiet_NaN();

  // Whether it can be used as it was read: a name, a rectangle a desktop can have, fractions.
  bool Usable() const;
  friend bool operator==(const TMonitorPlace&, const TMonitorPlace&) = default;
};

// The place of a window on the monitor it overlaps most (the primary one when it overlaps none);
// nothing without monitors.
std::optional<TMonitorPlace> MonitorPlaceOf(const TRect& window,
                                            const std::vector<TMonitor>& monitors);

// Where a window now at current goes for its place: it stays where it is while it stands on its own
// monitor and that monitor is as it was when the place was taken (also partly off it, as the user
// may leave it); otherwise onto its own monitor, or the primary one while that is gone, at the same
// relative place and fully visible. The place must be Usable.
TRect PlaceOnMonitors(const TMonitorPlace& place, const TRect& current,
                      const std::vector<TMonitor>& monitors);
