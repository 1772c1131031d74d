#pragma once

#include <windows.h>

#include "support/uTypes.h"
#include "support/uWin32Graphics.h"

// A push button that shows a colour in a swatch at its right end (or over its
// whole face without a caption). It draws itself when its dialog passes it the
// draw message; choosing the colour is the dialog's business.
class TVarnColorButton : public TColorButtonValue {
 public:
  TVarnColorButton() = default;
  ~TVarnColorButton() override;
  TVarnColorButton(const TVarnColorButton&) = delete;
  TVarnColorButton& operator=(const TVarnColorButton&) = delete;

  // Makes the dialog's button owner-drawn.
  void Attach(HWND button);
  TColor ColorValue() const override { return FColor; }
  // Repaints only when the colour changes.
  void SetColorValue(TColor color) override;
  bool IsDefault() const { return FDefault; }
  // The dialog's WM_DRAWITEM; false when it is not for this button.
  bool DrawItem(const DRAWITEMSTRUCT& request) const;

 private:
  static LRESULT SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self);
  HWND FButton = nullptr;
  TColor FColor = 0;
  bool FDefault = false;
};
