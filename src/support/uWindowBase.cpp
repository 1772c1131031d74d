#include "support/uWindowBase.h"

#include <stdexcept>
#include <string>

#include "support/uWin32Graphics.h"

TWindowBase::~TWindowBase() { DestroyHandle(); }

void TWindowBase::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &TWindowBase::StaticWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // Shared, so never destroyed; the system takes the small one from the same resource.
  wc.hIcon = LoadIconW(wc.hInstance, ProgramIconName);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx failed");
}

void TWindowBase::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                               DWORD style, const RECT& bounds, HWND owner) {
  const HWND hwnd = CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top,
                                    bounds.right - bounds.left, bounds.bottom - bounds.top, owner,
                                    nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd) throw std::runtime_error("CreateWindowEx failed");
  FHandle = TUniqueWindow(hwnd);
}

void TWindowBase::DestroyHandle() {
  if (!FHandle) return;
  SetWindowLongPtrW(FHandle.get(), GWLP_USERDATA, 0);
  FHandle.reset();
  FCreating = nullptr;
}

void TWindowBase::Detach() {
  if (const HWND hwnd = Handle()) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  FHandle.release();
  FCreating = nullptr;
}

LRESULT TWindowBase::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(Handle(), msg, wParam, lParam);
}

LRESULT CALLBACK TWindowBase::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self =
        static_cast<TWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->FCreating = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->WndProc(msg, wParam, lParam);
  } catch (...) {
    // A failing handler must not take the message loop down with it.
    ReportSwallowedException("window procedure");
    result = DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) self->Detach();
  return result;
}
