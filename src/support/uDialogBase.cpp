#include "support/uDialogBase.h"

#include <algorithm>
#include <vector>

#include "support/uDialogControls.h"
#include "support/uSystemLibrary.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Tools.h"
#include "support/uWindowBase.h"

namespace {

TDialogBase::TTranslate gTranslate = nullptr;
TDialogBase::THelp gHelp = nullptr;

// The open modeless dialogs, for the message loop.
std::vector<HWND>& ModelessDialogs() {
  static std::vector<HWND> dialogs;
  return dialogs;
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t text[32] = {};
  GetClassNameW(window, text, 32);
  return lstrcmpiW(text, name) == 0;
}

// Controls that place the windows inside them themselves (a list's header, a combo box's edit).
bool PlacesItsOwnChildren(HWND window) {
  for (const wchar_t* name : {L"SysListView32", L"ComboBox", L"ComboBoxEx32", L"SysTreeView32",
                              L"ToolbarWindow32", L"msctls_trackbar32", L"SysDateTimePick32"})
    if (IsClass(window, name)) return true;
  return false;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// Windows 10 re-lays dialogs on a DPI change by itself unless told not to; the dialog base does
// it for every Windows that sends the message, so the system's own is turned off.
void TurnOffSystemDialogScaling(HWND dialog) {
  using TSetBehavior = BOOL WINAPI(HWND, int, int);
  static TSetBehavior* const set =
      SystemFunction<TSetBehavior>(L"user32.dll", "SetDialogDpiChangeBehavior");
  constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
  if (set) set(dialog, kDisableAll, kDisableAll);
}

}  // namespace

TDialogBase::~TDialogBase() {
  const HWND dialog = Handle();
  if (!dialog) return;
  // The window's last messages must not reach a half-destroyed object.
  SetWindowLongPtrW(dialog, DWLP_USER, 0);
  std::erase(ModelessDialogs(), dialog);
  if (FModal)
    FHandle.release();
  else
    FHandle.reset();
}

INT_PTR TDialogBase::ShowModal(HWND owner) {
  FModal = true;
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FTemplateId), owner,
                         &StaticDlgProc, reinterpret_cast<LPARAM>(this));
}

void TDialogBase::CreateModeless(HWND owner) {
  FModal = false;
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(FTemplateId), owner,
                     &StaticDlgProc, reinterpret_cast<LPARAM>(this));
}

void TDialogBase::CreateChild(HWND parent) {
  FChild = true;
  CreateModeless(parent);
}

void TDialogBase::Show() const {
  if (FHandle) ShowWindow(Handle(), SW_SHOW);
}

namespace {

// +1 or -1 for a keystroke that steps through a window's tabs, 0 for any other message.
int TabStep(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return 0;
  if (msg.wParam == VK_TAB) return GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  if (msg.wParam == VK_NEXT) return 1;
  return msg.wParam == VK_PRIOR ? -1 : 0;
}

}  // namespace

void TDialogBase::SetTranslation(TTranslate translate) { gTranslate = translate; }

void TDialogBase::SetHelp(THelp help) { gHelp = help; }

void TDialogBase::OpenHelp(int templateId) {
  if (gHelp) gHelp(templateId);
}

bool TDialogBase::IsDialogMessageForAny(MSG& msg) {
  const int step = TabStep(msg);
  for (const HWND dialog : ModelessDialogs()) {
    if (step && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd))) {
      const auto* self = reinterpret_cast<const TDialogBase*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (const HWND tabs = self ? self->TabControl() : nullptr) {
        SelectNextTab(tabs, step);
        return true;
      }
    }
    if (IsDialogMessageW(dialog, &msg)) return true;
  }
  return false;
}

INT_PTR TDialogBase::DlgProc(UINT msg, WPARAM wParam, LPARAM) {
  if (msg != WM_COMMAND) return FALSE;
  OnCommand(LOWORD(wParam), HIWORD(wParam));
  return TRUE;
}

void TDialogBase::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) End(id);
}

void TDialogBase::End(INT_PTR result) {
  if (FModal)
    EndDialog(Handle(), result);
  else
    DestroyWindow(Handle());
}

void TDialogBase::SetProgramIcons() {
  FBigIcon = LoadProgramIcon(false);
  FSmallIcon = LoadProgramIcon(true);
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FBigIcon.get()));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FSmallIcon.get()));
}

void TDialogBase::DpiChanged(int dpi, const RECT& suggested) {
  const HWND dialog = Handle();
  if (dpi <= 0) return;
  const int old = FDpi > 0 ? FDpi : 96;
  FDpi = dpi;
  const auto scale = [&](int value) { return MulDiv(value, dpi, old); };
  // Every place is read before any window moves; a place is relative to the parent's client
  // area, so each scales alike whatever its parent does.
  struct TPlaced {
    HWND window;
    RECT r;
  };
  std::vector<TPlaced> placed;
  std::vector<HWND> all;
  EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&all));
  // What a control places inside itself it also sizes and gives its font.
  std::erase_if(all, [](HWND child) {
    const HWND parent = GetParent(child);
    return !parent || PlacesItsOwnChildren(parent);
  });
  for (const HWND child : all) {
    const HWND parent = GetParent(child);
    RECT r{};
    GetWindowRect(child, &r);
    // A drop-down list's window reaches down to the bottom of the list it drops.
    if (RECT dropped{};
        IsClass(child, L"ComboBox") &&
        SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
      r.bottom = std::max(r.bottom, dropped.bottom);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    placed.push_back({child, r});
  }
  // Each font in use once more at the new size; the same font stays shared.
  std::vector<std::pair<HFONT, HFONT>> fonts;
  std::vector<TUniqueFont> made;
  const auto scaledFont = [&](HFONT font) -> HFONT {
    if (!font) return nullptr;
    for (const auto& [from, to] : fonts) {
      if (from == font) return to;
      if (to == font) return nullptr;  // given already, through its parent
    }
    LOGFONTW description{};
    if (!GetObjectW(font, sizeof(description), &description)) return nullptr;
    description.lfHeight = scale(description.lfHeight);
    description.lfWidth = scale(description.lfWidth);
    made.emplace_back(CreateFontIndirectW(&description));
    fonts.emplace_back(font, made.back().get());
    return made.back().get();
  };
  for (const HWND window : all) {
    if (const HFONT font =
            scaledFont(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))))
      SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (IsClass(window, L"SysListView32")) {
      const HWND header = reinterpret_cast<HWND>(SendMessageW(window, LVM_GETHEADER, 0, 0));
      const int columns =
          header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
      for (int i = 0; i < columns; ++i)
        SendMessageW(window, LVM_SETCOLUMNWIDTH, i,
                     scale(static_cast<int>(SendMessageW(window, LVM_GETCOLUMNWIDTH, i, 0))));
    }
  }
  // Places after fonts: a control that fits itself to its font is then given its own size.
  for (const TPlaced& p : placed) {
    const RECT& r = p.r;
    SetWindowPos(p.window, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                 scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (const HFONT font =
          scaledFont(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))))
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  FScaledFonts = std::move(made);
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK TDialogBase::StaticDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<TDialogBase*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  try {
    if (msg == WM_INITDIALOG) {
      self->FHandle = TUniqueWindow(dialog);
      if (!self->FModal && !self->FChild) ModelessDialogs().push_back(dialog);
      if (!self->FChild) {
        self->SetProgramIcons();
        TurnOffSystemDialogScaling(dialog);
      }
      self->FDpi = WindowDpi(dialog);
      if (gTranslate) gTranslate(dialog, self->FTemplateId);
      return self->OnInitDialog() ? TRUE : FALSE;
    }
    if (msg == WM_NCDESTROY) {
      std::erase(ModelessDialogs(), dialog);
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      self->FHandle.release();  // destroyed by now
      if (self->FGone) self->FGone();
      self->OnDestroyed();
      return FALSE;
    }
    if (msg == WM_DPICHANGED && !self->FChild && lParam) {
      self->DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    }
    if (msg == WM_HELP && gHelp) {
      // The innermost dialog around the focus is asked first: a page before its window.
      OpenHelp(self->FTemplateId);
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    return self->DlgProc(msg, wParam, lParam);
  } catch (...) {
    ReportSwallowedException("dialog procedure");
    return FALSE;
  }
}
