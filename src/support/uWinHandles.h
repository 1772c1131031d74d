#pragma once

#include <windows.h>

#include <commctrl.h>

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

struct TIconTraits {
  using Handle = HICON;
  static void Close(HICON icon) { DestroyIcon(icon); }
  static void Count(long d) { handle_detail::CountUser(d); }
};

// An image list holds its bitmaps as GDI objects.
struct TImageListTraits {
  using Handle = HIMAGELIST;
  static void Close(HIMAGELIST list) { ImageList_Destroy(list); }
  static void Count(long d) { handle_detail::CountGdi(d); }
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
using TUniqueIcon = TUniqueHandle<TIconTraits>;
using TUniqueImageList = TUniqueHandle<TImageListTraits>;
// Threads, events, semaphores: handles whose failure value is null.
using TUniqueKernelHandle = TUniqueHandle<TKernelHandleTraits>;

// A handle from CreateFile, whose failure value is INVALID_HANDLE_VALUE; that counts as empty.
class TUniqueFile : public TUniqueKernelHandle {
 public:
  TUniqueFile() = default;
  explicit TUniqueFile(HANDLE h) : TUniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

// A system-wide hot key of a window for the life of the object.
class THotKeyRegistration {
 public:
  THotKeyRegistration() = default;
  THotKeyRegistration(HWND window, int id, UINT modifiers, UINT key)
      : FWindow(window),
        FId(id),
        FRegistered(RegisterHotKey(window, id, modifiers, key) != FALSE) {}
  ~THotKeyRegistration() { reset(); }
  THotKeyRegistration(THotKeyRegistration&& o) noexcept
      : FWindow(o.FWindow), FId(o.FId), FRegistered(std::exchange(o.FRegistered, false)) {}
  THotKeyRegistration& operator=(THotKeyRegistration&& o) noexcept {
    if (this != &o) {
      reset();
      FWindow = o.FWindow;
      FId = o.FId;
      FRegistered = std::exchange(o.FRegistered, false);
    }
    return *this;
  }
  THotKeyRegistration(const THotKeyRegistration&) = delete;
  THotKeyRegistration& operator=(const THotKeyRegistration&) = delete;
  // False when another program holds the key.
  bool Registered() const { return FRegistered; }
  void reset() {
    if (std::exchange(FRegistered, false)) UnregisterHotKey(FWindow, FId);
  }

 private:
  HWND FWindow = nullptr;
  int FId = 0;
  bool FRegistered = false;
};

// A property of a window for the life of the object; the system wants every
// property removed before the window goes.
class TWindowProperty {
 public:
  TWindowProperty(HWND window, const wchar_t* name, HANDLE value) : FWindow(window), FName(name) {
    SetPropW(window, name, value);
  }
  ~TWindowProperty() { RemovePropW(FWindow, FName); }
  TWindowProperty(const TWindowProperty&) = delete;
  TWindowProperty& operator=(const TWindowProperty&) = delete;

 private:
  HWND FWindow;
  const wchar_t* FName;
};

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
