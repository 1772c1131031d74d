#include "support/uWinHandles.h"

#include <atomic>

namespace {
std::atomic<long> gdiObjects{0};
std::atomic<long> userObjects{0};
}  // namespace

long LiveGdiObjects() { return gdiObjects.load(); }
long LiveUserObjects() { return userObjects.load(); }

void handle_detail::CountGdi(long delta) { gdiObjects += delta; }
void handle_detail::CountUser(long delta) { userObjects += delta; }

TWindowDC::TWindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {
  if (FDC) handle_detail::CountGdi(+1);
}

TWindowDC::~TWindowDC() {
  if (!FDC) return;
  ReleaseDC(FWindow, FDC);
  handle_detail::CountGdi(-1);
}

TPaintDC::TPaintDC(HWND window) : FWindow(window), FDC(BeginPaint(window, &FPaint)) {
  if (FDC) handle_detail::CountGdi(+1);
}

TPaintDC::~TPaintDC() {
  EndPaint(FWindow, &FPaint);
  if (FDC) handle_detail::CountGdi(-1);
}
