#include "prefs/fFormatElements.h"

#include <commctrl.h>
#include <windowsx.h>

#include "support/uWin32Tools.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"
#include "support/uWindowBase.h"
#include "timezones/fSelectTimeZone.h"
#include "timezones/uTimeZones.h"

namespace {

using K = TFormatElement::TKind;

// Adds items to menu; each item that acts gets the command of its place in chosen (from 1).
void AddItems(HMENU menu, const std::vector<TFormatElement>& items,
              std::vector<const TFormatElement*>& chosen) {
  for (const TFormatElement& item : items) {
    const std::wstring caption = Utf8ToWide(item.caption);
    if (item.kind == K::Separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (item.kind == K::Submenu) {
      const HMENU sub = CreatePopupMenu();
      AddItems(sub, item.items, chosen);
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
    } else {
      chosen.push_back(&item);
      AppendMenuW(menu, MF_STRING, chosen.size(), caption.c_str());
    }
  }
}

void ReplaceSelection(HWND edit, const std::string& text) {
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
  SetFocus(edit);
}

LRESULT FormatTextProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR data) {
  const auto& zones = *reinterpret_cast<const TTimeZones*>(data);
  if (msg == WM_CONTEXTMENU) {
    if (lParam == -1)  // from the keyboard
      ShowFormatElements(edit, zones);
    else
      ShowFormatElements(edit, zones, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  }
  const bool insertKey = msg == WM_KEYUP && wParam == VK_INSERT && NoModifierHeld();
  const LRESULT result = DefSubclassProc(edit, msg, wParam, lParam);
  if (msg == WM_LBUTTONUP || insertKey) SelectFormatElement(edit);
  if (insertKey) ShowFormatElements(edit, zones);
  return result;
}

}  // namespace

void AttachFormatElementMenu(HWND edit, const TTimeZones& zones) {
  SetWindowSubclass(edit, &GuardedSubclassProc<&FormatTextProc>, 1,
                    reinterpret_cast<DWORD_PTR>(&zones));
}

void ShowFormatElements(HWND edit, const TTimeZones& zones, HWND under) {
  RECT r{};
  GetWindowRect(under ? under : edit, &r);
  ShowFormatElements(edit, zones, POINT{r.left, r.bottom});
}

void ShowFormatElements(HWND edit, const TTimeZones& zones, POINT at) {
  const std::vector<TFormatElement> items = FormatElementMenu();
  std::vector<const TFormatElement*> chosen;
  TUniqueMenu menu(CreatePopupMenu());
  AddItems(menu.get(), items, chosen);
  const auto command = static_cast<std::size_t>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                     at.y, 0, GetParent(edit), nullptr));
  if (command >= 1 && command <= chosen.size())
    InsertFormatElement(edit, *chosen[command - 1], zones);
}

void InsertFormatElement(HWND edit, const TFormatElement& element, const TTimeZones& zones) {
  if (element.kind == K::ZoneSwitch) {
    if (const TTimeZone* zone = SelectTimeZone(zones, nullptr, GetParent(edit)))
      ReplaceSelection(edit, ZoneSwitchElement(zone->KeyName));
    return;
  }
  const bool multiLine = (GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) != 0;
  if (element.kind == K::Insert && multiLine && !element.inserts.empty())
    ReplaceSelection(edit, element.inserts);
}
