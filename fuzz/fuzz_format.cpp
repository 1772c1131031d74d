// Templates are typed by users and stored for years: any bytes must parse and
// evaluate without a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "display/uDisplayFormat.h"
#include "support/uPlatform.h"

namespace {

class TFixedClock : public TClock {
 public:
  TSystemTime UtcNow() override { return {2026, 12, 0, 6, 8, 30, 15, 0}; }
  TSystemTime LocalNow() override { return {2026, 12, 0, 6, 9, 30, 15, 0}; }
  std::uint32_t TickCount() override { return 0; }
};

class TPlainLocale : public TLocale {
 public:
  std::string DayName(int day, bool) override { return "day" + std::to_string(day); }
  std::string MonthName(int month, bool) override { return "month" + std::to_string(month); }
  std::string FormatDate(const TSystemTime& t, bool) override { return std::to_string(t.wDay); }
  std::string FormatTime(const TSystemTime& t, unsigned flags) override {
    return std::to_string(t.wHour) + "/" + std::to_string(flags);
  }
  std::string TimeMarker(bool pm) override { return pm ? "PM" : "AM"; }
  bool TwelveHour() override { return true; }
  int CompareText(const std::string& a, const std::string& b) override { return a.compare(b); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TFixedClock clock;
  static TPlainLocale locale;
  Platform().clock = &clock;
  Platform().locale = &locale;
  const std::string text(reinterpret_cast<const char*>(data), size);
  TDisplayFormat format;
  format.Parse(text);
  format.NeedsSeconds();
  // Moments across the range a clock meets, including the edges of a day.
  for (const double utc : {46362.0, 46362.999999, 0.0, 109574.5}) format.Evaluate(utc);
  return 0;
}
