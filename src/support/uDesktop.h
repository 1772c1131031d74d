#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/uTypes.h"

// One monitor of the desktop as the system names and places it.
struct TMonitor {
  std::string name;  // the device name, such as \\.\DISPLAY1
  TRect rect;
  TRect work;  // without task bars
  bool primary = false;
};

// Monitors, cursor and input state of the interactive desktop.
class TDesktop {
 public:
  virtual ~TDesktop() = default;
  // The full rectangle of the monitor the rectangle lies on; with nearest, the
  // closest monitor when it lies on none.
  virtual std::optional<TRect> MonitorFromRect(const TRect& r, bool nearest) = 0;
  // The work area (without task bars) of the monitor nearest to the point.
  virtual TRect WorkAreaNear(TPoint p) = 0;
  virtual std::vector<TMonitor> Monitors() = 0;
  // The dots per inch of the monitor nearest to the point, which a window shown there renders for.
  virtual int DpiAt(TPoint p) = 0;
  virtual TPoint CursorPos() = 0;
  // Asynchronous state, not the message queue's.
  virtual bool IsShiftDown() = 0;
  // The right button when the user has swapped the buttons.
  virtual bool IsPrimaryButtonDown() = 0;
};
