#include <gtest/gtest.h>

#include <cstring>

#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"
#include "timezones/uTimeZoneRows.h"
#include "timezones/uTimeZones.h"
#include "timezones/uZoneSearch.h"

namespace {

TSystemTime Rule(std::uint16_t month, std::uint16_t dayOfWeek, std::uint16_t occurrence,
                 std::uint16_t hour) {
  return {0, month, dayOfWeek, occurrence, hour, 0, 0, 0};
}

TDateTime At(std::uint16_t y, std::uint16_t mo, std::uint16_t d, std::uint16_t h, std::uint16_t mi,
             std::uint16_t s, std::uint16_t ms = 0) {
  return SystemTimeToDateTime({y, mo, 0, d, h, mi, s, ms});
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
      EXPECT_EQ(std::tuple(last.year, last.month, last.day),
                std::tuple(year, month, DaysInMonth(year, month)));
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
  // A change's bound is inclusive at its start and exclusive at its end, to the millisecond.
  const double ms = 1.0 / 86400000;
  const struct {
    const TTimeZone& zone;
    TDateTime utc;
    const char* local;
  } rows[] = {
      {europe, At(2026, 3, 29, 1, 0, 0) - 1 * ms, "2026-03-29 01:59:59"},
      {europe, At(2026, 3, 29, 1, 0, 0) - 0.05 * ms, "2026-03-29 03:00:00"},  // the same ms
      {europe, At(2026, 3, 29, 1, 0, 0), "2026-03-29 03:00:00"},
      {europe, At(2026, 10, 25, 1, 0, 0) - 1 * ms, "2026-10-25 02:59:59"},
      {europe, At(2026, 10, 25, 1, 0, 0), "2026-10-25 02:00:00"},
      {europe, At(2026, 10, 25, 1, 0, 0) + 0.3 * ms, "2026-10-25 02:00:00"},
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

TEST(TimeZones, TransitionDateForms) {
  // May 2026 has five Fridays, February 2026 four Sundays.
  EXPECT_EQ(Clock(*TransitionDate(Rule(5, 5, 5, 0), 2026)), "2026-05-29 00:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(2, 0, 5, 0), 2026)), "2026-02-22 00:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(3, 0, 2, 2), 2026)), "2026-03-08 02:00:00");
  EXPECT_EQ(Clock(*TransitionDate(Rule(11, 0, 1, 2), 2026)), "2026-11-01 02:00:00");
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
  TTestPlatform platform;
  TTimeZones zones;
};

TEST_F(CatalogueTest, SortedByIndexOrByOffsetAndFoundByName) {
  WriteTimeZone("Alpha", -60, 110);
  WriteTimeZone("Beta", 300, 35);
  WriteTimeZone("Gamma", 0, std::nullopt);  // index := -Bias = 0
  WriteTimeZone("Delta", 0, 0);             // the same index: stored order
  WriteTimeZone("Short", -120, std::nullopt, 4);
  WriteTimeZone("None", 0, 200, 0);
  zones.Load();
  zones.Load();  // loading again replaces the zones
  ASSERT_EQ(zones.Count(), 6u);
  std::vector<std::string> order;
  for (std::size_t i = 0; i < zones.Count(); ++i) order.push_back(zones[i].KeyName);
  EXPECT_EQ(order, (std::vector<std::string>{"Gamma", "Delta", "Beta", "Alpha", "Short", "None"}));
  EXPECT_EQ(zones.FindZone("sHORT")->ZoneInformation.Bias, -120);
  const TTimeZoneInformation& alpha = zones.FindZone("Alpha")->ZoneInformation;
  EXPECT_EQ((std::vector<int>{alpha.Bias, alpha.StandardBias, alpha.DaylightBias}),
            (std::vector<int>{-60, 1, -60}));
  const auto fields = [](const TSystemTime& t) {
    return std::vector<int>{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                            t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
  };
  EXPECT_EQ(fields(alpha.StandardDate), (std::vector<int>{0, 10, 0, 5, 3, 1, 2, 3}));
  EXPECT_EQ(fields(alpha.DaylightDate), (std::vector<int>{0, 3, 0, 5, 2, 4, 5, 6}));
  EXPECT_EQ(zones.FindZone("Alpha")->DisplayName, "(UTC) Alpha");
  EXPECT_EQ(zones.FindZone("Nowhere"), nullptr);
  EXPECT_EQ(zones.IndexOfZone("Gamma"), 0);
  EXPECT_EQ(zones.IndexOfZone("BETA"), 2);
  EXPECT_EQ(zones.IndexOfZone("Nowhere"), -1);
}

TEST_F(CatalogueTest, ADamagedZoneStopsTheLoadKeepingTheZonesBefore) {
  WriteTimeZone("A", 0, 1);
  WriteTimeZone("B", 0, 2, 60);  // longer than 44 bytes
  WriteTimeZone("C", 0, 3);
  EXPECT_THROW(zones.Load(), ERegistryException);
  EXPECT_NE(zones.FindZone("A"), nullptr);
  EXPECT_EQ(zones.FindZone("C"), nullptr);
}

// A few zones of the system's catalogue, west to east, for the search.
class ZoneSearchTest : public CatalogueTest {
 protected:
  void SetUp() override {
    for (const auto& [name, bias] : {std::pair{"Pacific Standard Time", 480},
                                     {"SA Pacific Standard Time", 300},
                                     {"E. South America Standard Time", 180},
                                     {"W. Europe Standard Time", -60},
                                     {"India Standard Time", -330},
                                     {"SE Asia Standard Time", -420},
                                     {"Tokyo Standard Time", -540}})
      WriteTimeZone(name, bias, std::nullopt);
    zones.Load();
  }
  // Each zone found, by key name, with the place it was found by.
  std::vector<std::string> Found(const std::string& search) {
    std::vector<std::string> found;
    for (const TZoneMatch& match : SearchZones(zones, search))
      found.push_back(DescriptionWithPlace(match.zone->KeyName, match));
    return found;
  }
};

TEST_F(ZoneSearchTest, FindsZonesByCityCountryAndIanaNameInEnglishAndGerman) {
  const struct {
    const char* search;
    std::vector<std::string> found;
  } rows[] = {
      {"seattle", {"Pacific Standard Time - Seattle"}},
      {" Bengaluru ", {"India Standard Time - Bengaluru"}},
      {"bangalore", {"India Standard Time - Bangalore"}},
      {"Ho Chi Minh", {"SE Asia Standard Time - Ho Chi Minh City"}},
      {"HANOI", {"SE Asia Standard Time - Hanoi"}},
      {"K\xC3\xB6ln", {"W. Europe Standard Time - K\xC3\xB6ln"}},
      {"koln", {"W. Europe Standard Time - K\xC3\xB6ln"}},
      {"cologne", {"W. Europe Standard Time - Cologne"}},
      {"Wien", {"W. Europe Standard Time - Wien"}},  // a German exemplar city
      {"asia/kolk", {"India Standard Time - Asia/Kolkata"}},
      // A city before a country; countries in the catalogue's order.
      {"brasil",
       {"E. South America Standard Time - Bras\xC3\xADlia",
        "SA Pacific Standard Time - Brasilien"}},
      {"Brazil", {"SA Pacific Standard Time - Brazil", "E. South America Standard Time - Brazil"}},
      {"Vietnam", {"SE Asia Standard Time - Vietnam"}},
      // A city that begins with the search before one that has it inside.
      {"chi", {"India Standard Time - Kochi", "SE Asia Standard Time - Chiang Mai"}},
      {"japan", {"Tokyo Standard Time - Japan"}},
      // The zone's own names show no place.
      {"tokyo", {"Tokyo Standard Time"}},
      {"(utc) india", {"India Standard Time"}},
      {"Atlantis", {}},
      {"",
       {"Pacific Standard Time", "SA Pacific Standard Time", "E. South America Standard Time",
        "W. Europe Standard Time", "India Standard Time", "SE Asia Standard Time",
        "Tokyo Standard Time"}},
  };
  for (const auto& row : rows) EXPECT_EQ(Found(row.search), row.found) << row.search;
}

TEST_F(ZoneSearchTest, KeyAndIanaNamesNameTheSystemsZone) {
  for (const auto& [name, key] : {std::pair{"India Standard Time", "India Standard Time"},
                                  {"Asia/Kolkata", "India Standard Time"},
                                  {"ASIA/CALCUTTA", "India Standard Time"},
                                  {"Europe/Berlin", "W. Europe Standard Time"},
                                  {"America/Sao_Paulo", "E. South America Standard Time"},
                                  {"Asia/Ho_Chi_Minh", "SE Asia Standard Time"},
                                  {"Asia/Atlantis", ""},
                                  {"Asia", ""},
                                  {"Europe/London", ""}})  // known, but not in this catalogue
    EXPECT_EQ(FindZoneByName(zones, name) ? FindZoneByName(zones, name)->KeyName : "", key) << name;
}

}  // namespace

TEST(ZoneSearch, FoldsCaseAndMarksOfUtf8) {
  for (const auto& [text, folded] :
       {std::pair<std::string, std::string>{"K\xC3\xB6ln", "koln"},
        {"\xC4\x90\xC3\x80 N\xE1\xBA\xB4NG", "da nang"},
        {"Stra\xC3\x9F"
         "e",
         "strasse"},
        {"\xC3\x86\xC3\x98\xC3\x85", "aeoa"},
        {"Ko\xCC\x88ln", "koln"},  // the mark as a character of its own
        {"\xD0\x9C\xD0\x9E\xD0\xA1", "\xD0\xBC\xD0\xBE\xD1\x81"},  // Cyrillic
        {"a\xFF"
         "b\xC3",
         "a\xFF"
         "b\xC3"},  // not UTF-8: kept
        {"\xE4\xB8\x9C\xE4\xBA\xAC", "\xE4\xB8\x9C\xE4\xBA\xAC"}})
    EXPECT_EQ(FoldForSearch(text), folded) << text;
}

TEST(TimeZoneRows, OffsetsFromTheStandardBiasAndDescriptionsWithoutTheirPrefix) {
  for (const auto& [bias, text] : {std::pair{-330, "+05:30"},
                                   {210, "-03:30"},
                                   {0, ""},
                                   {-60, "+01:00"},
                                   {720, "-12:00"},
                                   {-5, "+00:05"},
                                   {INT32_MIN, "+35791394:08"}})
    EXPECT_EQ(ZoneOffsetText(bias), text) << bias;
  for (const auto& [name, shown] :
       {std::pair{"(UTC+01:00) Amsterdam, Berlin", "Amsterdam, Berlin"},
        {"(UTC) Coordinated Universal Time", "Coordinated Universal Time"},
        {"Coordinated Universal Time (UTC) x", "Coordinated Universal Time (UTC) x"},
        {"(UTC+01:00)Berlin", "(UTC+01:00)Berlin"},
        {"(a) (b) c", "(b) c"},
        {"", ""}})
    EXPECT_EQ(ZoneDescription(name), shown) << name;
}
