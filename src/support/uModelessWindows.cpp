#include "support/uModelessWindows.h"

#include <algorithm>

TModelessWindows::~TModelessWindows() {
  if (FTimer) KillTimer(nullptr, FTimer);
}

bool TModelessWindows::Keep(std::unique_ptr<TDialogBase> dialog, HWND owner) {
  dialog->SetGoneHandler([this] { Closed(); });
  dialog->CreateModeless(owner);
  if (!dialog->Handle()) return false;
  FOpen.push_back(std::move(dialog));
  return true;
}

void TModelessWindows::Closed() {
  if (!FTimer) FTimer = SetTimer(nullptr, 0, 0, &TModelessWindows::FreeTimer);
}

void CALLBACK TModelessWindows::FreeTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ModelessWindows().FTimer = 0;
  ModelessWindows().FreeClosed();
}

void TModelessWindows::FreeClosed() {
  // Out of the list first: a dialog's destructor may open or close others.
  std::vector<std::unique_ptr<TDialogBase>> closed;
  for (auto& dialog : FOpen)
    if (!dialog->Handle()) closed.push_back(std::move(dialog));
  std::erase(FOpen, nullptr);
}

TModelessWindows& ModelessWindows() {
  static TModelessWindows windows;
  return windows;
}
