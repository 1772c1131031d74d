#pragma once

#include <string>
#include <vector>

#include "support/uCanvas.h"
#include "support/uTypes.h"

// The window of one active display, as the model and painter drive it.
class TDisplayWindow {
 public:
  virtual ~TDisplayWindow() = default;

  virtual void ShowDisplay() = 0;
  virtual void HideWindow() = 0;
  virtual bool IsVisible() const = 0;
  virtual void ApplyZOrder() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // The dots per inch of the monitor the window stands on, which the display renders for.
  virtual int Dpi() const = 0;

  // Screen bounds of the window.
  virtual TRect Bounds() const = 0;
  virtual void SetBounds(const TRect& r) = 0;
  virtual void MoveTo(int left, int top) = 0;
  virtual void SetClientSize(int width, int height) = 0;
  // While set, a resize does not write back into the model.
  virtual void SetSizeUpdateGuard(bool on) = 0;

  virtual void SetAlphaBlend(bool on) = 0;
  virtual void SetAlphaBlendValue(int value) = 0;

  // Cut the window to the given one-row rectangles, to nothing when there are
  // none; false when the system refused the shape.
  virtual bool SetRegion(const std::vector<TRect>& runs) = 0;
  virtual void RemoveRegion() = 0;
  // Copy the finished bitmap onto the window at (0, 0).
  virtual void DrawBitmap(const TBitmap32& bitmap) = 0;
  // What the picture shows, as text for screen readers.
  virtual void SetShownText(const std::string& text) = 0;

  // Automatic hiding, driven by the display list for the other displays.
  virtual void AutoHide(bool all) = 0;
  virtual void AutoShow(bool all) = 0;
  virtual bool IsCursorInside() const = 0;
};
