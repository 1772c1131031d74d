#include <benchmark/benchmark.h>

#include <cmath>

#include "support/uDisplayDisc.h"
#include "support/uGraphicTools.h"
#include "support/uTestPlatform.h"

namespace {

// A picture like a display without background: a disc on the colour key,
// with ragged anti-aliased edges, so rows hold several runs.
void PaintDisc(TMemoryBitmap& bitmap) {
  const int n = bitmap.Width();
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const double dx = x - n / 2.0, dy = y - n / 2.0;
      const bool inside = std::hypot(dx, dy) < n * 0.45 && (x * 7 + y * 3) % 29 != 0;
      bitmap.Pixel(x, y) = inside ? 0x00336699u : PixelOf(clColorKey);
    }
}

void BM_RegionRunsFromBitmap(benchmark::State& state) {
  TMemoryBitmap bitmap;
  bitmap.SetSize(500, 500);
  PaintDisc(bitmap);
  std::vector<TRect> runs;
  for (auto _ : state) {
    RegionRunsFromBitmap(bitmap, clColorKey, runs);
    benchmark::DoNotOptimize(runs.data());
  }
  state.counters["ns_per_pixel"] = benchmark::Counter(
      500.0 * 500.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["runs"] = static_cast<double>(runs.size());
}
BENCHMARK(BM_RegionRunsFromBitmap);

// One full Update of a display: render, size, region, copy. With the recording
// canvas this measures the model and painter work, not the platform's drawing.
void BM_DisplayUpdate(benchmark::State& state) {
  TTestPlatform platform;
  auto disc = TDisplay::Create<TDisplayDisc>();
  disc->SetActive(true);
  disc->Show();
  for (auto _ : state) {
    TTestPlatform::BitmapOf(*disc).Recorder().calls.clear();
    disc->Painter()->Update();
  }
}
BENCHMARK(BM_DisplayUpdate);

}  // namespace
