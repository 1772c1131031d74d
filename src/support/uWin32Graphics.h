#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "support/uCanvas.h"
#include "support/uTypes.h"
#include "support/uWinHandles.h"

// A font that is either ours or the system's stock font; only ours is deleted.
class TFontRef {
 public:
  explicit TFontRef(TUniqueFont owned) : FOwned(std::move(owned)) {}
  explicit TFontRef(HFONT stock) : FStock(stock) {}
  HFONT get() const { return FOwned ? FOwned.get() : FStock; }
  bool IsOwned() const { return static_cast<bool>(FOwned); }

 private:
  TUniqueFont FOwned;
  HFONT FStock = nullptr;
};

// The system's variable-pitch stock font made bold; the stock font itself when
// it cannot be described or copied.
TFontRef CreateBoldFont();
// The system's menu font made bold, as a description a canvas takes: at the DPI of the monitor
// the menu shows on, as the menu's items are. The stock font's when the system does not name it.
TFontSpec BoldMenuFontSpec(int dpi);

// The program's icon among its resources: the program file's, its windows' and the tray's.
constexpr wchar_t ProgramIconName[] = L"TRAYICON001";
// The program's icon at the system's size of big or small icons, from the image drawn for it.
TUniqueIcon LoadProgramIcon(bool small);

// The screen's device capability index (GetDeviceCaps).
int ScreenCaps(int index);

// Adds the bitmap resource name of the program's own module to list, masked by
// magenta; with disabledList, also a copy blended with the button face colour.
// Returns whether every image asked for was added.
bool AddGlyph(HIMAGELIST list, const wchar_t* resourceName, HIMAGELIST disabledList = nullptr);

// The tool bar glyphs in the screen's colour depth, at 16, 24 or 32 pixels as its DPI asks
// (never larger than the text around them has grown); empty when they cannot be read.
TUniqueImageList LoadToolGlyphs();

// What the colour dialog needs of a button that shows a colour.
class TColorButtonValue {
 public:
  virtual ~TColorButtonValue() = default;
  virtual TColor ColorValue() const = 0;
  virtual void SetColorValue(TColor c) = 0;
};

// The system colour dialog with the custom colours (the stored "ColorA=..." items), starting at
// colour. The custom colours go back to the list however it closes; on OK colour becomes the
// choice, which also joins the recently used custom colours.
bool PickColor(HWND owner, std::vector<std::string>& customColors, TColor& colour);

// PickColor for a colour button; a chosen colour key is shown as black.
bool PickButtonColor(HWND owner, std::vector<std::string>& customColors, TColorButtonValue& button);
