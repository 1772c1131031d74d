#include "config/uWin32Translate.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "config/uMultilanguage.h"
#include "support/uReport.h"
#include "support/uWinText.h"

namespace {

std::string WindowText(HWND w) {
  const int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(w, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return WideToUtf8(text);
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

std::optional<TComponentKind> KindOf(HWND control) {
  const std::wstring cls = ClassOf(control);
  if (lstrcmpiW(cls.c_str(), L"Static") == 0) return TComponentKind::Label;
  if (lstrcmpiW(cls.c_str(), WC_LISTVIEWW) == 0) return TComponentKind::ListView;
  if (lstrcmpiW(cls.c_str(), WC_HEADERW) == 0) return TComponentKind::Header;
  if (lstrcmpiW(cls.c_str(), WC_TABCONTROLW) == 0) return TComponentKind::TabPage;
  if (lstrcmpiW(cls.c_str(), L"Button") != 0) return std::nullopt;
  switch (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return TComponentKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return TComponentKind::RadioButton;
    case BS_GROUPBOX:
      return std::nullopt;
    default:
      return TComponentKind::Button;
  }
}

// Reads the column texts of a list view or header, or writes them back.
void ColumnTexts(HWND control, TComponentKind kind, std::vector<std::string>& texts, bool write) {
  wchar_t buffer[256];
  if (kind == TComponentKind::ListView) {
    const HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT;
      if (write) {
        std::wstring text = Utf8ToWide(texts[static_cast<std::size_t>(i)]);
        column.pszText = text.data();
        SendMessageW(control, LVM_SETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
      } else {
        column.pszText = buffer;
        column.cchTextMax = 256;
        buffer[0] = 0;
        SendMessageW(control, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        texts.push_back(WideToUtf8(buffer));
      }
    }
    return;
  }
  const int count = static_cast<int>(SendMessageW(control, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    if (write) {
      std::wstring text = Utf8ToWide(texts[static_cast<std::size_t>(i)]);
      item.pszText = text.data();
      SendMessageW(control, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    } else {
      item.pszText = buffer;
      item.cchTextMax = 256;
      buffer[0] = 0;
      SendMessageW(control, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      texts.push_back(WideToUtf8(buffer));
    }
  }
}

// The pages of a tab control are translated like header sections: by the
// control's tag and the page index.
void TranslateTabs(HWND tabs, int tag) {
  const int count = TabCtrl_GetItemCount(tabs);
  TTranslatable pages{TComponentKind::Header, tag, {}, {}, {}};
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    pages.columns.push_back(WideToUtf8(buffer));
  }
  MultiLanguage().TranslateComponent(pages);
  for (int i = 0; i < count; ++i) {
    std::wstring text = Utf8ToWide(pages.columns[static_cast<std::size_t>(i)]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tabs, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void TranslateMenu(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = buffer;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (info.hSubMenu) TranslateMenu(info.hSubMenu);
    TTranslatable item{
        TComponentKind::MenuItem, static_cast<int>(info.wID), WideToUtf8(buffer), {}, {}};
    MultiLanguage().TranslateComponent(item);
    std::wstring text = Utf8ToWide(item.caption);
    MENUITEMINFOW set{};
    set.cbSize = sizeof(set);
    set.fMask = MIIM_STRING;
    set.dwTypeData = text.data();
    SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
  }
}

BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
  // Without room for another window the walk stops; what was collected is translated.
  return RunReported("window enumeration",
                     [&] { reinterpret_cast<std::vector<HWND>*>(list)->push_back(child); });
}

}  // namespace

void TranslateForm(HWND window, int windowTag) {
  if (!MultiLanguage().HasTranslations()) return;
  std::string caption = WindowText(window);
  MultiLanguage().TranslateCaption(windowTag, caption);
  SetWindowTextW(window, Utf8ToWide(caption).c_str());
  std::vector<HWND> controls;
  EnumChildWindows(window, &CollectWindow, reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) {
    const int tag = GetDlgCtrlID(control);
    const std::optional<TComponentKind> kind = KindOf(control);
    if (!kind || tag <= 0 || tag > 9999) continue;
    if (*kind == TComponentKind::TabPage) {
      TranslateTabs(control, tag);
      continue;
    }
    TTranslatable c{*kind, tag, {}, {}, {}};
    const bool columns = *kind == TComponentKind::ListView || *kind == TComponentKind::Header;
    if (columns)
      ColumnTexts(control, *kind, c.columns, false);
    else
      c.caption = WindowText(control);
    MultiLanguage().TranslateComponent(c);
    if (columns)
      ColumnTexts(control, *kind, c.columns, true);
    else
      SetWindowTextW(control, Utf8ToWide(c.caption).c_str());
  }
  if (const HMENU menu = GetMenu(window)) TranslateMenu(menu);
}

void TranslateGroupBoxes(HWND window) {
  if (!MultiLanguage().HasTranslations()) return;
  std::vector<HWND> controls;
  EnumChildWindows(window, &CollectWindow, reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) {
    const int tag = GetDlgCtrlID(control);
    if (lstrcmpiW(ClassOf(control).c_str(), L"Button") != 0 ||
        (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX || tag <= 0 ||
        tag > 9999)
      continue;
    TTranslatable group{TComponentKind::Label, tag, WindowText(control), {}, {}};
    MultiLanguage().TranslateComponent(group);
    SetWindowTextW(control, Utf8ToWide(group.caption).c_str());
  }
}
