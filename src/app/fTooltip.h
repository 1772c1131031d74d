#pragma once

#include <windows.h>

#include "app/uTooltip.h"
#include "support/uWindowBase.h"

// The tray icon's tip window; what it shows and when comes from TTooltip.
class TfrmTooltip : public TWindowBase, private TTooltipWindow {
 public:
  TfrmTooltip();
  ~TfrmTooltip() override;
  TTooltip& Tooltip() { return FTooltip; }

  static constexpr wchar_t ClassName[] = L"TfrmTooltip";

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  bool IsVisible() const override { return IsWindowVisible(Handle()) != FALSE; }
  void ShowAt(const TRect& bounds) override;
  void HideWindow() override { ShowWindow(Handle(), SW_HIDE); }
  void FormPaint();

  static constexpr UINT_PTR TimerId = 1;
  TWin32Timer FTimer{*this, TimerId};
  TTooltip FTooltip{*this, FTimer};
};
