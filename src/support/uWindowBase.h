#pragma once

#include <windows.h>

#include "support/uReport.h"
#include "support/uWinHandles.h"
#include "support/uWindowTimer.h"

// One window-procedure thunk for every window class of the program: the
// object is stored with the window on creation and every message goes to
// WndProc. No exception crosses the window procedure; one that is caught there
// is reported (ReportSwallowedException). A window the system destroys (with its
// owner, say) lets go of its handle, so it is never destroyed twice.
class TWindowBase {
 public:
  virtual ~TWindowBase();
  TWindowBase(const TWindowBase&) = delete;
  TWindowBase& operator=(const TWindowBase&) = delete;

  HWND Handle() const { return FHandle ? FHandle.get() : FCreating; }

 protected:
  TWindowBase() = default;
  // Registers the class once per process.
  static void RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background);
  void CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                    const RECT& bounds, HWND owner);
  // Detaches the object before the window goes, so that the messages of its
  // destruction no longer reach a half-destroyed object. Derived destructors call it first.
  void DestroyHandle();

  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // The window is gone: the handle is the system's no longer.
  void Detach();
  TUniqueWindow FHandle;
  HWND FCreating = nullptr;
};

// A control's subclass procedure around a body that may throw: what it throws
// is reported and the control's own procedure answers the message instead.
template <LRESULT (*Body)(HWND, UINT, WPARAM, LPARAM, DWORD_PTR)>
LRESULT CALLBACK GuardedSubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  LRESULT result = 0;
  if (!RunReported("control procedure", [&] { result = Body(window, msg, wParam, lParam, data); }))
    result = DefSubclassProc(window, msg, wParam, lParam);
  return result;
}

// A message timer of a window, by identifier.
class TWin32Timer : public TWindowTimer {
 public:
  TWin32Timer(const TWindowBase& window, UINT_PTR id) : FWindow(window), FId(id) {}
  void Start(unsigned milliseconds) override {
    SetTimer(FWindow.Handle(), FId, milliseconds, nullptr);
  }
  void Stop() override { KillTimer(FWindow.Handle(), FId); }

 private:
  const TWindowBase& FWindow;
  UINT_PTR FId;
};
