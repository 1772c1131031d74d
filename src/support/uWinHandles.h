#pragma once

#include <windows.h>

#include <utility>

// Live GDI and USER objects held by the wrappers below. The system's own count
// (GetGuiResources) is not available everywhere, so leaks are measured here.
long LiveGdiObjects();
long LiveUserObjects();

namespace handle_detail {
void CountGdi(long delta);
void CountUser(long delta);
}  // namespace handle_detail

// A move-only owner of one OS handle; Traits::Close releases it the way it was
// obtained, Traits::Count keeps the live count.
template <class Traits>
class TUniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  TUniqueHandle() = default;
  explicit TUniqueHandle(Handle h) : FHandle(h) {
    if (FHandle) Traits::Count(+1);
  }
  ~TUniqueHandle() { reset(); }
  TUniqueHandle(TUniqueHandle&& o) noexcept : FHandle(std::exchange(o.FHandle, Handle{})) {}
  TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
    if (this != &o) {
      reset();
      FHandle = std::exchange(o.FHandle, Handle{});
    }
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  Handle get() const { return FHandle; }
  explicit operator bool() const { return FHandle != Handle{}; }
  void reset(Handle h = Handle{}) {
    if (FHandle) {
      Traits::Close(FHandle);
      Traits::Count(-1);
    }
    FHandle = h;
    if (FHandle) Traits::Count(+1);
  }
  // Gives the handle away (for example a region handed to a window).
  Handle release() {
    if (FHandle) Traits::Count(-1);
    return std::exchange(FHandle, Handle{});
  }

 private:
  Handle FHandle{};
};

template <class H>
struct TGdiObjectTraits {
  using Handle = H;
  static void Close(H h) { DeleteObject(h); }
  static void Count(long d) { handle_detail::CountGdi(d); }
};

struct TMemoryDCTraits {
  using Handle = HDC;
  static void Close(HDC dc) { DeleteDC(dc); }
  static void Count(long d) { handle_detail::CountGdi(d); }
};

struct TWindowTraits {
  using Handle = HWND;
  static void Close(HWND w) { DestroyWindow(w); }
  static void Count(long d) { handle_detail::CountUser(d); }
};

struct TMenuTraits {
  using Handle = HMENU;
  static void Close(HMENU m) { DestroyMenu(m); }
  static void Count(long d) { handle_detail::CountUser(d); }
};

struct TKernelHandleTraits {
  using Handle = HANDLE;
  static void Close(HANDLE h) { CloseHandle(h); }
  static void Count(long) {}
};

using TUniqueFont = TUniqueHandle<TGdiObjectTraits<HFONT>>;
using TUniquePen = TUniqueHandle<TGdiObjectTraits<HPEN>>;
using TUniqueBrush = TUniqueHandle<TGdiObjectTraits<HBRUSH>>;
using TUniqueBitmap = TUniqueHandle<TGdiObjectTraits<HBITMAP>>;
using TUniqueRegion = TUniqueHandle<TGdiObjectTraits<HRGN>>;
using TUniqueMemoryDC = TUniqueHandle<TMemoryDCTraits>;
using TUniqueWindow = TUniqueHandle<TWindowTraits>;
using TUniqueMenu = TUniqueHandle<TMenuTraits>;
using TUniqueKernelHandle = TUniqueHandle<TKernelHandleTraits>;

// A device context from GetDC, given back with ReleaseDC.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window);
  ~TWindowDC();
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC get() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// The device context of WM_PAINT, closed with EndPaint.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window);
  ~TPaintDC();
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC get() const { return FDC; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

// Selects an object into a DC and puts the previous one back.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(SelectObject(dc, object)) {}
  ~TSelectObject() {
    if (FPrevious) SelectObject(FDC, FPrevious);
  }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};
