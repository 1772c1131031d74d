#pragma once

#include <windows.h>

#include "support/uClock.h"
#include "support/uDesktop.h"

// The core's time record and the platform's are the same fields in the same order.
TSystemTime FromSYSTEMTIME(const SYSTEMTIME& st);
SYSTEMTIME ToSYSTEMTIME(const TSystemTime& t);

class TWin32Clock : public TClock {
 public:
  TSystemTime UtcNow() override;
  TSystemTime LocalNow() override;
  std::uint32_t TickCount() override;
};

class TWin32Desktop : public TDesktop {
 public:
  std::optional<TRect> MonitorFromRect(const TRect& r, bool nearest) override;
  TRect WorkAreaNear(TPoint p) override;
  TPoint CursorPos() override;
  bool IsShiftDown() override;
  bool IsPrimaryButtonDown() override;
};

// Installs the Win32 clock, desktop, bitmaps and display windows as the core's platform.
void InstallWin32Platform();
