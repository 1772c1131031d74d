#pragma once

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <thread>

// Stops at the first visible dialog box; a lambda would miss the 32-bit calling convention.
inline BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t name[16]{};
  GetClassNameW(window, name, 16);
  if (wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Closes the next dialog box of thread with button, from another thread,
// the way a user would.
class TDialogCloser {
 public:
  TDialogCloser(DWORD thread, int button)
      : FWorker([this, thread, button] {
          for (int i = 0; i < 1000 && !FDone; ++i) {
            HWND dialog = nullptr;
            EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog) {
              PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
              FClosed = true;
              return;
            }
            Sleep(20);
          }
        }) {}
  ~TDialogCloser() {
    FDone = true;
    FWorker.join();
  }
  bool Closed() const { return FClosed; }

 private:
  std::atomic<bool> FDone{false};
  std::atomic<bool> FClosed{false};
  std::thread FWorker;
};
