#pragma once

#include <windows.h>

#include "support/uGraphicTools.h"
#include "support/uTypes.h"
#include "support/uWinHandles.h"

// A label that takes another colour and font style (and, for links, the hand
// cursor) while the mouse is over it. It works on a static control of a dialog, which must ask
// TextColor when it colours its statics.
class TVarnLabel {
 public:
  TVarnLabel() = default;
  ~TVarnLabel();
  TVarnLabel(const TVarnLabel&) = delete;
  TVarnLabel& operator=(const TVarnLabel&) = delete;

  void Attach(HWND label);
  bool IsHot() const { return FHot; }
  // The colour to draw the text in now.
  TColor TextColor() const { return FHot && ChangeWithMouse ? ActiveColor : Color; }

  bool ChangeWithMouse = false;
  bool HandCursor = false;
  TColor Color = 0;
  TColor ActiveColor = 0;
  TFontStyles ActiveStyle;

 private:
  static LRESULT SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self);
  void SetHot(bool hot);
  void ApplyStyle(bool hot);
  HWND FLabel = nullptr;
  bool FHot = false;
  HFONT FSavedFont = nullptr;  // the label's own font, not ours
  TUniqueFont FActiveFont;
};
