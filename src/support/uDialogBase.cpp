#include "support/uDialogBase.h"

#include <algorithm>
#include <vector>

#include "support/uDialogControls.h"
#include "support/uWin32Graphics.h"
#include "support/uWindowBase.h"

namespace {

TDialogBase::TTranslate gTranslate = nullptr;
TDialogBase::THelp gHelp = nullptr;

// The open modeless dialogs, for the message loop.
std::vector<HWND>& ModelessDialogs() {
  static std::vector<HWND> dialogs;
  return dialogs;
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

INT_PTR CALLBACK TDialogBase::StaticDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<TDialogBase*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  try {
    if (msg == WM_INITDIALOG) {
      self->FHandle = TUniqueWindow(dialog);
      if (!self->FModal && !self->FChild) ModelessDialogs().push_back(dialog);
      if (!self->FChild) self->SetProgramIcons();
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
