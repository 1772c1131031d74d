#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "config/uWin32Hive.h"
#include "support/uPlatform.h"
#include "support/uWin32Platform.h"
#include "timezones/uTimeZones.h"

namespace {

// The catalogue of the system this runs on, with its own conversion as the reference.
class SystemCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    InstallWin32Hives();
    zones.Load();
  }
  void TearDown() override { Platform() = TPlatform{}; }
  TTimeZones zones;
};

TEST_F(SystemCatalogue, IsReadAndSorted) {
  ASSERT_GT(zones.Count(), 50u);
  for (std::size_t i = 1; i < zones.Count(); ++i)
    EXPECT_LE(zones[i - 1].Index, zones[i].Index) << zones[i].KeyName;
  const TTimeZone* tokyo = zones.FindZone("tokyo standard time");
  ASSERT_NE(tokyo, nullptr);
  EXPECT_EQ(tokyo->ZoneInformation.Bias, -540);
  EXPECT_FALSE(tokyo->DisplayName.empty());
}

TEST_F(SystemCatalogue, OwnRuleAgreesWithTheSystemOverWholeYears) {
  // Every zone at every hour of 2024 and 2025, and a second either side of each change.
  int compared = 0, differing = 0;
  std::string firstDifference;
  for (std::size_t z = 0; z < zones.Count(); ++z) {
    const TTimeZone& zone = zones[z];
    std::vector<TDateTime> instants;
    for (int year : {2024, 2025}) {
      const TDateTime first = DaysFromCivil(year, 1, 1);
      const int hours = (IsLeapYear(year) ? 366 : 365) * 24;
      for (int hour = 0; hour < hours; ++hour) instants.push_back(first + hour / 24.0);
      if (const auto t = GetTransitions(zone, year)) {
        for (TDateTime edge :
             {t->start + t->standardOffset / 1440.0, t->end + t->daylightOffset / 1440.0})
          for (double delta : {-1.0, 0.0, 1.0}) instants.push_back(edge + delta / 86400.0);
      }
    }
    for (TDateTime utc : instants) {
      const TSystemTime own = DateTimeToSystemTime(ConvertUTC(zone, utc));
      const TSystemTime system = DateTimeToSystemTime(zones.ZoneTime(zone, utc));
      ++compared;
      if (std::memcmp(&own, &system, sizeof(own)) != 0) {
        ++differing;
        if (firstDifference.empty()) {
          const TSystemTime u = DateTimeToSystemTime(utc);
          char text[160];
          std::snprintf(text, sizeof(text),
                        "%s at %04d-%02d-%02d %02d:%02d:%02d UTC: own %02d:%02d, system %02d:%02d",
                        zone.KeyName.c_str(), u.wYear, u.wMonth, u.wDay, u.wHour, u.wMinute,
                        u.wSecond, own.wHour, own.wMinute, system.wHour, system.wMinute);
          firstDifference = text;
        }
      }
    }
  }
  EXPECT_GT(compared, 1000000);
  EXPECT_EQ(differing, 0) << "first in " << firstDifference;
}

}  // namespace
