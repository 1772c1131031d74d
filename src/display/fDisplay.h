#pragma once

#include <windows.h>

#include <cstdint>

#include "display/aDisplayWindow.h"
#include "display/uDisplay.h"
#include "support/uWindowBase.h"

// Whether the system offers layered windows (looked up once at start-up).
bool LayeredWindowsSupported();

// The borderless window of one active display.
class TfrmDisplay : public TWindowBase, public TDisplayWindow {
 public:
  explicit TfrmDisplay(TDisplay& display);
  ~TfrmDisplay() override;

  void ShowDisplay() override;
  void HideWindow() override;
  bool IsVisible() const override;
  void ApplyZOrder() override;
  void SetTopmost(bool topmost) override;
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
  void AutoHide(bool all) override;
  void AutoShow(bool all) override;
  bool IsCursorInside() const override;
  void SetAutoHideTimer(bool enable, std::uint8_t state);

  // The hit-test answer for a point in window coordinates of a window of the
  // given size: resize zones only for displays with a background.
  static LRESULT ResizeZone(bool hasBackground, int x, int y, int width, int height);

  // Size limits of a display window.
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
  void FormKeyUp(WPARAM key);
  void FormResize();
  void FormPaint();
  void tmrAutoHideTimer();
  void PaintBitmapTo(HDC dc);
  void ArmAutoHide(TPoint hitPoint);

  std::uint8_t FAutoHideState = 0;
  TPoint FLastHitPoint{-1, -1};
  std::uint32_t FLeaveTick = 0;
  TDisplay* FDisplay = nullptr;
  bool FDragging = false;
  TPoint FLastCursor;
  int FStartLeft = 0;
  int FStartTop = 0;
  bool FSizeUpdateGuard = false;
  bool FVisible = false;
  bool FInResize = false;
  bool FAlphaBlend = false;
  int FAlphaValue = 255;
};
