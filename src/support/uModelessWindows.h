#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "support/uDialogBase.h"

// The program's modeless windows. It holds each one from its opening and frees
// it once its window is gone, after the window's last message, from a timer of
// its own: no window frees itself, and none is freed while its own code runs.
class TModelessWindows {
 public:
  TModelessWindows() = default;
  ~TModelessWindows();
  TModelessWindows(const TModelessWindows&) = delete;
  TModelessWindows& operator=(const TModelessWindows&) = delete;

  // Makes the dialog's window under owner and keeps the dialog; the dialog, or
  // null (and the dialog freed) when its window could not be made.
  template <class TDialog>
  TDialog* Open(std::unique_ptr<TDialog> dialog, HWND owner) {
    TDialog* opened = dialog.get();
    return Keep(std::move(dialog), owner) ? opened : nullptr;
  }
  // The open windows of a class, oldest first.
  template <class TDialog>
  std::vector<TDialog*> OfClass() const {
    std::vector<TDialog*> found;
    for (const auto& dialog : FOpen)
      if (auto* match = dynamic_cast<TDialog*>(dialog.get()); match && match->Handle())
        found.push_back(match);
    return found;
  }
  // Closes every open window of a class, newest first; the timer frees them.
  template <class TDialog>
  void CloseAll() {
    const std::vector<TDialog*> open = OfClass<TDialog>();
    for (auto dialog = open.rbegin(); dialog != open.rend(); ++dialog)
      DestroyWindow((*dialog)->Handle());
  }
  // Frees the dialogs whose windows are gone, as the timer does; only where no
  // dialog's own code can be running.
  void FreeClosed();

 private:
  bool Keep(std::unique_ptr<TDialogBase> dialog, HWND owner);
  void Closed();
  static void CALLBACK FreeTimer(HWND, UINT, UINT_PTR id, DWORD);

  std::vector<std::unique_ptr<TDialogBase>> FOpen;
  UINT_PTR FTimer = 0;
};

// The program's one holder of modeless windows.
TModelessWindows& ModelessWindows();
