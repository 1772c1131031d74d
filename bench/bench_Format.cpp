#include <benchmark/benchmark.h>

#include "display/uDisplayFormat.h"
#include "support/uTestPlatform.h"
#include "timezones/uTimeZones.h"

namespace {

// The default clock's template, with the test locale's fixed formats.
void BM_EvaluateDefaultTemplate(benchmark::State& state) {
  TTestPlatform platform;
  TDisplayFormat format;
  format.Parse("&ldate;\r\n&time;");
  TDateTime utc = 46362.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(format.Evaluate(utc));
    utc += 1.0 / 86400;
  }
}
BENCHMARK(BM_EvaluateDefaultTemplate);

void BM_ConvertUTC(benchmark::State& state) {
  TTimeZone zone;
  zone.ZoneInformation.Bias = -60;
  zone.ZoneInformation.DaylightBias = -60;
  zone.ZoneInformation.DaylightDate = {0, 3, 0, 5, 2, 0, 0, 0};
  zone.ZoneInformation.StandardDate = {0, 10, 0, 5, 3, 0, 0, 0};
  TDateTime utc = 46000.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ConvertUTC(zone, utc));
    utc += 0.37;
  }
}
BENCHMARK(BM_ConvertUTC);

}  // namespace
