#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/uMainMenuItems.h"
#include "support/uWinHandles.h"

// One popup menu while it is open: made from its entries, shown at the cursor,
// and drawing its own section headers. A chosen command reaches the owner as
// a menu command message; the menu itself never acts on it.
class TMainMenu {
 public:
  explicit TMainMenu(HWND owner) : FOwner(owner) {}
  TMainMenu(const TMainMenu&) = delete;
  TMainMenu& operator=(const TMainMenu&) = delete;

  // Builds the menu; Popup then runs it until it closes.
  void Build(const std::vector<TMenuEntry>& entries);
  void Popup();
  HMENU Handle() const { return FMenu.get(); }
  // For the owner's measure and draw messages: false when the item is not a header of this menu.
  bool MeasureItem(MEASUREITEMSTRUCT& request) const;
  bool DrawItem(const DRAWITEMSTRUCT& request) const;

 private:
  TUniqueMenu BuildLevel(const std::vector<TMenuEntry>& entries);
  const std::string* HeaderCaption(UINT id, ULONG_PTR data) const;

  HWND FOwner;
  // The DPI of the monitor the menu last opened on.
  int FDpi = 96;
  TUniqueMenu FMenu;
  std::map<UINT, std::string> FHeaders;
};
