#pragma once

#include <string>

#include "display/uDisplayFormat.h"
#include "support/uCanvas.h"
#include "support/uTypes.h"
#include "support/uWindowTimer.h"

class TTimeZones;

// What the tooltip needs of its window.
class TTooltipWindow {
 public:
  virtual ~TTooltipWindow() = default;
  virtual bool IsVisible() const = 0;
  // Shows the window at these bounds, topmost and without taking the focus.
  virtual void ShowAt(const TRect& bounds) = 0;
  virtual void HideWindow() = 0;
};

// The program's own tip for the tray icon: it appears when the cursor has
// rested on the icon for one timer interval, shows the evaluated template, and
// goes when the cursor leaves or the icon is clicked.
class TTooltip {
 public:
  static constexpr unsigned Interval = 500;

  TTooltip(TTooltipWindow& window, TWindowTimer& timer) : FWindow(window), FTimer(timer) {}

  // Every mouse message of the tray icon; isMove for (non-client) mouse moves.
  void HandleTrayMouse(bool isMove);
  void TimerTick();
  const std::string& Text() const { return FText; }
  // The template evaluated now, as the tip shows it.
  std::string EvaluatedText();

  // False while a popup menu is open and before start-up has finished.
  bool Enabled = false;
  // The template shown, in the display format language, and where its zone switches find their
  // zones.
  std::string Template;
  const TTimeZones* Zones = nullptr;

 private:
  void ShowAt(TPoint p);

  TTooltipWindow& FWindow;
  TWindowTimer& FTimer;
  TPoint FHover{-1, -1};
  TPoint FClick{-1, -1};
  bool FShown = false;
  TDisplayFormat FFormat;
  std::string FText;
};

// Its title strip and text, on the client rectangle, for a window at the DPI.
void PaintTooltip(TCanvas& canvas, const TRect& client, const std::string& text, TColor background,
                  TColor foreground, int dpi);
