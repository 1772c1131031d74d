#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "support/uWinHandles.h"

// The screen as the user sees it, read pixel by pixel.
class TScreenShot {
 public:
  TScreenShot() {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    TWindowDC screen(nullptr);
    TUniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TUniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
      TSelectObject select(memory.get(), bitmap.get());
      BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
      GdiFlush();
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels.assign(p, p + std::size_t(width) * height);
  }
  COLORREF At(int x, int y) const {
    const std::uint32_t p = pixels[std::size_t(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};
