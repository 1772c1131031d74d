#pragma once

#include <windows.h>

#include <cstdint>

#include "display/aDisplayWindow.h"
#include "display/uAutoHide.h"
#include "display/uDisplay.h"
#include "display/uDrag.h"
#include "support/uWindowBase.h"

class TDisplayHost;
class TDisplayList;
class TOptions;

// The borderless window of one active display. It turns messages into calls on
// the display's model, its drag and its automatic hiding.
class TfrmDisplay : public TWindowBase, public TDisplayWindow {
 public:
  TfrmDisplay(TDisplay& display, TDisplayHost& host, const TOptions& options, TDisplayList& list);
  ~TfrmDisplay() override;

  void ShowDisplay() override;
  void HideWindow() override;
  bool IsVisible() const override;
  void ApplyZOrder() override;
  void SetTopmost(bool topmost) override;
  int Dpi() const override { return FDpi; }
  TRect Bounds() const override;
  void SetBounds(const TRect& r) override;
  void MoveTo(int left, int top) override;
  void SetClientSize(int width, int height) override;
  void SetSizeUpdateGuard(bool on) override { FSizeUpdateGuard = on; }
  void SetAlphaBlend(bool on) override;
  void SetAlphaBlendValue(int value) override;
  bool SetRegion(const std::vector<TRect>& runs) override;
  void RemoveRegion() override;
  void DrawBitmap(const TBitmap32& bitmap) override;
  void SetShownText(const std::string& text) override;
  void AutoHide(bool all) override { FAutoHide.AutoHide(all); }
  void AutoShow(bool all) override { FAutoHide.AutoShow(all); }
  bool IsCursorInside() const override { return FAutoHide.IsCursorInside(); }

  // The hit-test answer for a point in window coordinates of a window of the
  // given size: resize zones, zone pixels wide, only for displays with a background.
  static LRESULT ResizeZone(bool hasBackground, int x, int y, int width, int height,
                            int zone = ResizeZoneWidth);

  // At 96 dpi; each grows with the window's DPI.
  static constexpr int MinWidth = MinDisplaySize, MaxWidth = MaxDisplayWidth;
  static constexpr int MinHeight = MinDisplaySize, MaxHeight = MaxDisplayHeight;
  static constexpr int ResizeZoneWidth = 6;
  static constexpr UINT_PTR AutoHideTimerId = 1;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT WMNCHitTest(WPARAM wParam, LPARAM lParam);
  void FormMouseDown();
  void FormMouseMove();
  void FormMouseUp();
  void EndDrag();
  void FormKeyUp(WPARAM key);
  void FormResize();
  void FormPaint();
  // Moved onto a monitor of another DPI (or the monitor's DPI changed): render for the new DPI
  // and take the rectangle the system suggests for it.
  void FormDpiChanged(int dpi, const RECT& suggested);
  // The window's size limits at its DPI.
  TPoint MinSize() const;
  TPoint MaxSize() const;
  void PaintBitmapTo(HDC dc);
  TPoint TopLeft() const;

  TDisplayHost& FHost;
  TDisplay* FDisplay = nullptr;
  TWin32Timer FAutoHideTimer{*this, AutoHideTimerId};
  TDrag FDrag;
  TAutoHide FAutoHide;
  bool FSizeUpdateGuard = false;
  bool FVisible = false;
  bool FInResize = false;
  bool FAlphaBlend = false;
  int FAlphaValue = 255;
  int FDpi = 96;
  // The window's text as last set: a reader is told of a change only when there is one.
  std::string FShownText;
};
