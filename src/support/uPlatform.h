#pragma once

#include <functional>
#include <memory>

#include "support/uCanvas.h"
#include "support/uClock.h"
#include "support/uDesktop.h"

class TDisplay;
class TDisplayWindow;

// The operating-system services the core reaches. The program installs the
// Win32 ones at start-up; tests install their doubles.
struct TPlatform {
  TClock* clock = nullptr;
  TDesktop* desktop = nullptr;
  std::function<std::unique_ptr<TBitmap32>()> newBitmap;
  std::function<std::unique_ptr<TDisplayWindow>(TDisplay&)> newDisplayWindow;
  // Opens the preferences window of a display's kind; empty until those windows exist.
  std::function<void(TDisplay&, void* owner)> openDisplayPreferences;
};

TPlatform& Platform();
