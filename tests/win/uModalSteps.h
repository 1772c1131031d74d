#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// Answers the modal windows a test opens, one step at a time: each step runs
// on a thread timer inside the modal loop and returns true once it has acted.
// Clicks are posted, so that a click that opens another modal window does not
// run inside its step.
inline std::vector<std::function<bool()>>& ModalSteps() {
  static std::vector<std::function<bool()>> steps;
  return steps;
}

inline void CALLBACK RunNextModalStep(HWND, UINT, UINT_PTR timer, DWORD) {
  auto& steps = ModalSteps();
  if (steps.empty()) {
    KillTimer(nullptr, timer);
    return;
  }
  if (steps.front()()) steps.erase(steps.begin());
}

// Sets the steps to run from the next modal loop on.
inline void AnswerModalWindows(std::vector<std::function<bool()>> steps) {
  ModalSteps() = std::move(steps);
  SetTimer(nullptr, 0, 30, RunNextModalStep);
}

// The last top-level window of this thread that matches, or none.
inline HWND FindThreadWindow(const std::function<bool(HWND)>& matches) {
  struct Search {
    const std::function<bool(HWND)>& matches;
    HWND found = nullptr;
  } search{matches};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        if (s->matches(w)) s->found = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The shown window of this thread that has a control of the identifier.
inline HWND FindDialogWith(int controlId) {
  return FindThreadWindow([&](HWND w) { return IsWindowVisible(w) && GetDlgItem(w, controlId); });
}

inline void Click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// A step that presses button of the shown dialog that has it, as a common dialog's button is
// pressed.
inline std::function<bool()> Press(int button) {
  return [button] {
    const HWND dialog = FindDialogWith(button);
    if (dialog) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return dialog != nullptr;
  };
}

// The identifiers Tab visits from the first tab stop round to it again.
inline std::vector<int> TabOrder(HWND dialog) {
  std::vector<int> ids;
  const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND at = first; at && ids.size() < 100;) {
    ids.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(dialog, at, FALSE);
    if (at == first) break;
  }
  return ids;
}
