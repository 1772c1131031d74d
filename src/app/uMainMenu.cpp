#include "app/uMainMenu.h"

#include "support/uGdiCanvas.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

TColor FromColorRef(COLORREF c) { return static_cast<TColor>(c); }

}  // namespace

void TMainMenu::Build(const std::vector<TMenuEntry>& entries) {
  FHeaders.clear();
  FMenu = BuildLevel(entries);
}

TUniqueMenu TMainMenu::BuildLevel(const std::vector<TMenuEntry>& entries) {
  TUniqueMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  UINT position = 0;
  for (const TMenuEntry& entry : entries) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    item.wID = static_cast<UINT>(entry.id);
    item.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    item.fState = (entry.enabled ? 0u : MFS_DISABLED | MFS_GRAYED) |
                  (entry.checked ? MFS_CHECKED : 0u) | (entry.isDefault ? MFS_DEFAULT : 0u);
    const std::wstring caption = Utf8ToWide(entry.caption);
    switch (entry.kind) {
      case TMenuEntryKind::Separator:
        item.fType = MFT_SEPARATOR;
        break;
      case TMenuEntryKind::Header:
        // Drawn by the owner, and like a separator never selectable.
        item.fType = MFT_OWNERDRAW | MFT_SEPARATOR;
        FHeaders[item.wID] = entry.caption;
        break;
      case TMenuEntryKind::Text:
        item.fType = MFT_STRING;
        item.fMask |= MIIM_STRING;
        item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
        break;
    }
    TUniqueMenu submenu;
    if (!entry.submenu.empty()) {
      submenu = BuildLevel(entry.submenu);
      item.fMask |= MIIM_SUBMENU;
      item.hSubMenu = submenu.get();
    }
    // Once inserted, a submenu goes with its menu.
    if (InsertMenuItemW(menu.get(), position, TRUE, &item)) {
      submenu.release();
      ++position;
    }
  }
  return menu;
}

void TMainMenu::Popup() {
  if (!FMenu) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  // The menu opens on the cursor's monitor and is drawn at its DPI.
  FDpi = DpiAtPoint(cursor);
  TrackPopupMenu(FMenu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, FOwner,
                 nullptr);
  // Without a message after it, a second popup may not close when the user clicks elsewhere.
  PostMessageW(FOwner, WM_NULL, 0, 0);
}

const std::string* TMainMenu::HeaderCaption(UINT id, ULONG_PTR data) const {
  if (data != reinterpret_cast<ULONG_PTR>(this)) return nullptr;
  const auto it = FHeaders.find(id);
  return it == FHeaders.end() ? nullptr : &it->second;
}

bool TMainMenu::MeasureItem(MEASUREITEMSTRUCT& request) const {
  if (request.CtlType != ODT_MENU || !HeaderCaption(request.itemID, request.itemData)) return false;
  request.itemWidth = 0;
  request.itemHeight = static_cast<UINT>(SystemMetricForDpi(SM_CYMENU, FDpi) + MulDiv(4, FDpi, 96));
  return true;
}

bool TMainMenu::DrawItem(const DRAWITEMSTRUCT& request) const {
  if (request.CtlType != ODT_MENU) return false;
  const std::string* caption = HeaderCaption(request.itemID, request.itemData);
  if (!caption) return false;
  const RECT& r = request.rcItem;
  TGdiCanvas canvas(request.hDC);
  DrawMenuHeader(canvas, {r.left, r.top, r.right, r.bottom}, *caption,
                 FromColorRef(GetSysColor(COLOR_MENU)), BoldMenuFontSpec(FDpi), FDpi);
  return true;
}
