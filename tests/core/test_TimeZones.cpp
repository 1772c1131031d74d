#include <gtest/gtest.h>

#include <cstring>

#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"
#include "timezones/uTimeZoneRows.h"
#include "timezones/uTimeZones.h"

namespace {

TSystemTime Rule(int month, int dayOfWeek, int occurrence, int hour) {
  return {0,
          static_cast<std::uint16_t>(month),
          static_cast<std::uint16_t>(dayOfWeek),
          static_cast<std::uint16_t>(occurrence),
          static_cast<std::uint16_t>(hour),
          0,
          0,
          0};
}

TDateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return SystemTimeToDateTime({static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(mo), 0,
                               static_cast<std::uint16_t>(d), static_cast<std::uint16_t>(h),
                               static_cast<std::uint16_t>(mi), static_cast<std::uint16_t>(s),
                               static_cast<std::uint16_t>(ms)});
}

std::string Clock(TDateTime t) {
  const TSystemTime st = DateTimeToSystemTime(t);
  char text[64];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay,
                st.wHour, st.wMinute, st.wSecond);
  return text;
}

TTimeZone CentralEurope() {
  TTimeZone zone;
  zone.ZoneInformation.Bias = -60;
  zone.ZoneInformation.DaylightBias = -60;
  zone.ZoneInformation.DaylightDate = Rule(3, 0, 5, 2);
  zone.ZoneInformation.StandardDate = Rule(10, 0, 5, 3);
  zone.KeyName = "W. Europe Standard Time";
  return zone;
}

TEST(DateTime, CivilDaysRoundTripOverCenturies) {
  for (std::int32_t days = -700000; days < 800000; days += 13) {
    const TCivilDate date = CivilFromDays(days);
    ASSERT_EQ(DaysFromCivil(date.year, date.month, date.day), days) << days;
  }
  // Day 0 is 1899-12-30, as the stored dates count.
  EXPECT_EQ(DaysFromCivil(1899, 12, 30), 0);
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 25569);
  EXPECT_DOUBLE_EQ(At(2026, 12, 6, 12, 0, 0), DaysFromCivil(2026, 12, 6) + 0.5);
  EXPECT_EQ(WeekdayOfDays(DaysFromCivil(2026, 12, 6)), 0u);   // a Sunday
  EXPECT_EQ(WeekdayOfDays(DaysFromCivil(1899, 12, 20)), 3u);  // a Wednesday, ten days before
  // Every month's length against the distance to the next month's first day.
  for (int year : {1900, 2000, 2023, 2024})
    for (unsigned month = 1; month <= 12; ++month) {
      const std::int32_t next =
          month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1);
      EXPECT_EQ(static_cast<std::int32_t>(DaysInMonth(year, month)),
                next - DaysFromCivil(year, month, 1))
          << year << "-" << month;
      // The day before is the month's last, not day 0 of the next.
      const TCivilDate last = CivilFromDays(next - 1);
      EXPECT_EQ(
          std::vector<int>({last.year, static_cast<int>(last.month), static_cast<int>(last.day)}),
          std::vector<int>(
              {year, static_cast<int>(month), static_cast<int>(DaysInMonth(year, month))}));
    }
  const TSystemTime st = DateTimeToSystemTime(At(2026, 12, 6, 23, 59, 59, 999) + 0.4 / 86400000);
  EXPECT_EQ(st.wMilliseconds, 999);
  EXPECT_EQ(st.wDayOfWeek, 0);
  EXPECT_EQ(DateTimeToSystemTime(At(2026, 12, 6, 23, 59, 59, 999) + 0.6 / 86400000).wDay, 7);
  const TSystemTime before = DateTimeToSystemTime(At(1899, 12, 25, 6, 30, 0, 250));  // day -5
  EXPECT_EQ(std::vector<int>({before.wDay, before.wHour, before.wMinute, before.wMilliseconds}),
            std::vector<int>({25, 6, 30, 250}));
}

TEST(TimeZones, LocalTimeAroundTheChanges) {
  const TTimeZone europe = CentralEurope();
  TTimeZone shifted = europe;  // a standard bias counts in standard time, with a daylight period
  shifted.ZoneInformation.StandardBias = -30;
  TTimeZone south;  // like eastern Australia: +10, daylight from October to April
  south.ZoneInformation.Bias = -600;
  south.ZoneInformation.DaylightBias = -60;
  south.ZoneInformation.DaylightDate = Rule(10, 0, 1, 2);
  south.ZoneInformation.StandardDate = Rule(4, 0, 1, 3);
  TTimeZone plain;
  plain.ZoneInformation.Bias = 300;
  plain.ZoneInformation.StandardBias = 30;  // not applied without a daylight period
  plain.ZoneInformation.StandardDate = Rule(11, 0, 1, 2);
  const struct {
    const TTimeZone& zone;
    TDateTime utc;
    const char* local;
  } rows[] = {
      {europe, At(2026, 3, 29, 0, 59, 59), "2026-03-29 01:59:59"},
      {europe, At(2026, 3, 29, 1, 0, 0), "2026-03-29 03:00:00"},
      {europe, At(2026, 10, 25, 0, 59, 59), "2026-10-25 02:59:59"},
      {europe, At(2026, 10, 25, 1, 0, 0), "2026-10-25 02:00:00"},
      {shifted, At(2026, 1, 15, 12, 0, 0), "2026-01-15 13:30:00"},
      {south, At(2026, 1, 15, 12, 0, 0), "2026-01-15 23:00:00"},
      {south, At(2026, 7, 15, 12, 0, 0), "2026-07-15 22:00:00"},
      // 5 April 2026 03:00 daylight and 4 October 02:00 standard are 16:00 UTC the day before.
      {south, At(2026, 4, 4, 15, 59, 59), "2026-04-05 02:59:59"},
      {south, At(2026, 4, 4, 16, 0, 0), "2026-04-05 02:00:00"},
      {south, At(2026, 10, 3, 15, 59, 59), "2026-10-04 01:59:59"},
      {south, At(2026, 10, 3, 16, 0, 0), "2026-10-04 03:00:00"},
      {plain, At(2026, 6, 1, 12, 0, 0), "2026-06-01 07:00:00"},
      {plain, At(2026, 12, 1, 12, 0, 0), "2026-12-01 07:00:00"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(Clock(ConvertUTC(row.zone, row.utc)), row.local) << Clock(row.utc);
}

TEST(TimeZones, BoundsAreInclusiveAtTheStartAndExclusiveAtTheEnd) {
  const TTimeZone zone = CentralEurope();
  const TDateTime start = At(2026, 3, 29, 1, 0, 0), end = At(2026, 10, 25, 1, 0, 0);
  const double ms = 1.0 / 86400000;
  const auto inDaylight = [&](TDateTime utc) { return ConvertUTC(zone, utc) - utc > 1.5 / 24; };
  EXPECT_TRUE(inDaylight(start));
  EXPECT_TRUE(inDaylight(start - 0.05 * ms));  // the same millisecond
  EXPECT_FALSE(inDaylight(start - 1 * ms));
  EXPECT_TRUE(inDaylight(end - 1 * ms));
  EXPECT_FALSE(inDaylight(end));
  EXPECT_FALSE(inDaylight(end + 0.3 * ms));
}

TEST(TimeZones, TransitionDateForms) {
  // May 2026 has five Fridays, February 2026 four Sundays.
  EXPECT_EQ(Clock(*TransitionDate(Rule(5, 5, 5, 0), 2026)), "2026-05-29 00:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(2, 0, 5, 0), 2026)), "2026-02-22 00:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(3, 0, 2, 2), 2026)), "2026-03-08 02:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(11, 0, 1, 2), 2026)), "2026-11-01 02:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(12, 0, 1, 2), 2026)), "2026-12-06 02:00:00");
  // June 2026 begins on the Monday after a Sunday: its first Sunday is the 7th.
  EXPECT_EQ(Clock(*TransitionDate(Rule(6, 0, 1, 0), 2026)), "2026-06-07 00:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(5, 5, 4, 0), 2026)), "2026-05-22 00:00:00");  // not the last
  EXPECT_FALSE(TransitionDate(Rule(13, 0, 1, 2), 2026));
  // The last Thursday of February: the 29th in a leap year, the 23rd in a common one.
  EXPECT_EQ(Clock(*TransitionDate(Rule(2, 4, 5, 0), 2024)), "2024-02-29 00:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(2, 4, 5, 0), 2023)), "2023-02-23 00:00:00");
  EXPECT_FALSE(TransitionDate(Rule(3, 0, 6, 2), 2026));
  EXPECT_FALSE(TransitionDate(Rule(3, 0, 0, 2), 2026));
  EXPECT_FALSE(TransitionDate(Rule(0, 0, 1, 2), 2026));
  // A date of one year, on a month's last day, to the millisecond.
  const TSystemTime absolute{2026, 4, 0, 30, 3, 4, 5, 600};
  EXPECT_EQ(Clock(*TransitionDate(absolute, 2026)), "2026-04-30 03:04:05");
  EXPECT_FALSE(TransitionDate(absolute, 2027));
  EXPECT_FALSE(TransitionDate({2026, 4, 0, 31, 3, 0, 0, 0}, 2026));
  EXPECT_FALSE(TransitionDate({2026, 4, 0, 0, 3, 0, 0, 0}, 2026));
}

TEST(TimeZones, InternetTimeBeginsAtMidnightOneHourEastOfUtc) {
  EXPECT_EQ(InternetTime(At(2026, 12, 6, 23, 0, 0)), 0);
  EXPECT_EQ(InternetTime(At(2026, 12, 6, 11, 0, 0)), 500);
  EXPECT_EQ(InternetTime(At(2026, 12, 6, 22, 59, 59, 900)), 1000);
  EXPECT_EQ(InternetTime(At(2026, 12, 6, 22, 59, 16, 700)), 999);
}

class CatalogueTest : public ::testing::Test {
 protected:
  void Zone(const std::string& name, std::int32_t bias, std::optional<std::int32_t> index,
            std::size_t tziSize = 44) {
    WriteTimeZone(name, bias, index, tziSize);
  }
  TTestPlatform platform;
  TTimeZones zones;
};

TEST_F(CatalogueTest, SortedByIndexOrByOffsetAndFoundByName) {
  Zone("Alpha", -60, 110);
  Zone("Beta", 300, 35);
  Zone("Gamma", 0, std::nullopt);  // index := -Bias = 0
  Zone("Delta", 0, 0);             // the same index: stored order
  Zone("Short", -120, std::nullopt, 4);
  Zone("None", 0, 200, 0);
  zones.Load();
  zones.Load();  // loading again replaces the zones
  ASSERT_EQ(zones.Count(), 6u);
  std::vector<std::string> order;
  for (std::size_t i = 0; i < zones.Count(); ++i) order.push_back(zones[i].KeyName);
  EXPECT_EQ(order, (std::vector<std::string>{"Gamma", "Delta", "Beta", "Alpha", "Short", "None"}));
  EXPECT_EQ(zones.FindZone("sHORT")->ZoneInformation.Bias, -120);
  const TTimeZoneInformation& alpha = zones.FindZone("Alpha")->ZoneInformation;
  EXPECT_EQ(alpha.Bias, -60);
  EXPECT_EQ(alpha.StandardBias, 1);
  EXPECT_EQ(alpha.DaylightBias, -60);
  const TSystemTime standard = alpha.StandardDate, daylight = alpha.DaylightDate;
  EXPECT_EQ(std::vector<int>({standard.wYear, standard.wMonth, standard.wDayOfWeek, standard.wDay,
                              standard.wHour, standard.wMinute, standard.wSecond,
                              standard.wMilliseconds}),
            std::vector<int>({0, 10, 0, 5, 3, 1, 2, 3}));
  EXPECT_EQ(std::vector<int>({daylight.wYear, daylight.wMonth, daylight.wDayOfWeek, daylight.wDay,
                              daylight.wHour, daylight.wMinute, daylight.wSecond,
                              daylight.wMilliseconds}),
            std::vector<int>({0, 3, 0, 5, 2, 4, 5, 6}));
  EXPECT_EQ(zones.IndexOfZone("Gamma"), 0);
  EXPECT_EQ(zones.FindZone("Short")->Index, 120);
  EXPECT_EQ(zones.FindZone("Alpha")->DisplayName, "(UTC) Alpha");
  EXPECT_EQ(zones.FindZone("Nowhere"), nullptr);
  EXPECT_EQ(zones.IndexOfZone("BETA"), 2);
  EXPECT_EQ(zones.IndexOfZone("Nowhere"), -1);
}

TEST_F(CatalogueTest, ADamagedZoneStopsTheLoadKeepingTheZonesBefore) {
  Zone("A", 0, 1);
  Zone("B", 0, 2, 60);  // longer than 44 bytes
  Zone("C", 0, 3);
  EXPECT_THROW(zones.Load(), ERegistryException);
  EXPECT_NE(zones.FindZone("A"), nullptr);
  EXPECT_EQ(zones.FindZone("C"), nullptr);
}

}  // namespace

TEST(TimeZoneRows, OffsetsFromTheStandardBiasAndDescriptionsWithoutTheirPrefix) {
  const std::pair<std::int32_t, const char*> offsets[] = {{-330, "+05:30"},
                                                          {210, "-03:30"},
                                                          {0, ""},
                                                          {-60, "+01:00"},
                                                          {720, "-12:00"},
                                                          {-5, "+00:05"},
                                                          {INT32_MIN, "+35791394:08"}};
  for (const auto& [bias, text] : offsets) EXPECT_EQ(ZoneOffsetText(bias), text) << bias;
  const std::pair<const char*, const char*> descriptions[] = {
      {"(UTC+01:00) Amsterdam, Berlin", "Amsterdam, Berlin"},
      {"(UTC) Coordinated Universal Time", "Coordinated Universal Time"},
      {"Coordinated Universal Time (UTC) x", "Coordinated Universal Time (UTC) x"},
      {"(UTC+01:00)Berlin", "(UTC+01:00)Berlin"},
      {"(a) (b) c", "(b) c"},
      {"", ""}};
  for (const auto& [name, shown] : descriptions) EXPECT_EQ(ZoneDescription(name), shown) << name;
}
