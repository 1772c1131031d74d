#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "config/uMultilanguage.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayFormat.h"
#include "prefs/uFormatElements.h"
#include "support/uTestPlatform.h"
#include "timezones/uTimeZoneRows.h"
#include "timezones/uTimeZones.h"

namespace {

// Local time is what the test clock says; zones come from a small catalogue.
class DisplayFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteTimeZone("Tokyo Standard Time", -540, std::nullopt, 4);  // the bias alone
    WriteTimeZone("UTC", 0, std::nullopt);
    WriteTimeZone("India Standard Time", -330, std::nullopt, 4);
    zones.Load();
    SetLocal(2026, 12, 6, 9, 5, 7);
  }
  void SetLocal(std::uint16_t y, std::uint16_t mo, std::uint16_t d, std::uint16_t h,
                std::uint16_t mi, std::uint16_t s) {
    const auto weekday = static_cast<std::uint16_t>(WeekdayOfDays(DaysFromCivil(y, mo, d)));
    platform.clock.local = {y, mo, weekday, d, h, mi, s, 0};
  }
  std::string Eval(const std::string& text, TDateTime utc = 0) {
    TDisplayFormat format;
    format.Zones = &zones;
    format.Parse(text);
    return format.Evaluate(utc);
  }
  TTestPlatform platform;
  TTimeZones zones;
};

TEST_F(DisplayFormatTest, ParsingIntoTokens) {
  using K = TTokenKind;
  TDisplayFormat f;
  f.Parse("a&time -s;b<tz \"Tokyo Standard Time\"><tz><x y>&");
  const std::vector<TDisplayFormatToken> expected{
      {K::Literal, "a"},   {K::Element, "TIME -S"},
      {K::Literal, "b"},   {K::ZoneSwitch, "TOKYO STANDARD TIME"},
      {K::ZoneSwitch, ""}, {K::Error, ""},
      {K::Element, ""}};
  EXPECT_EQ(f.Tokens(), expected);
  f.Parse("only text\r\nline two");
  EXPECT_EQ(f.Tokens().size(), 1u);
  f.Parse("");
  EXPECT_TRUE(f.Tokens().empty());
  EXPECT_EQ(f.Evaluate(0), "");
  f.Parse("x & y");  // no ";" anywhere later: a lone "&"
  EXPECT_EQ(f.Evaluate(0), "x & y");
  // The error text follows the language of the moment, not of the parse.
  f.Parse("<x y>&zz;");
  TMultiLanguage german(TMultiLanguage::TNoRegistry{});
  german.LoadFromText("TOKEN_ERROR=FEHLER\r\n");
  const TInstalledLanguage installed(german);
  EXPECT_EQ(f.Evaluate(0), " FEHLER  FEHLER ");
}

TEST_F(DisplayFormatTest, DateAndTimeElements) {
  const std::pair<const char*, const char*> cases[] = {
      {"&d;.&dd;.&m;.&mm;.&yy;.&yyyy;", "6.06.12.12.26.2026"},
      {"&$d; &$dd; &$m; &$mm;", "Sun Sunday Dec December"},
      {"&h;:&nn;:&ss; &n; &s; &hh;", "9:05:07 5 7 09"},
      {"&ap; &week; &dow; &dows; &doy; &diy; &dim;", "AM 49 7 1 340 365 31"},
      {"&sdate;|&ldate;", "12/6/2026|Sunday, December 6, 2026"},
      {"&time;|&TIME -S;|&time -s;|&time -nm;|&time -nap;|&time -24 -s;",
       "9:05 AM|9:05:07 AM|9:05:07 AM|9 AM|9:05|09:05:07"},
      {"&;&lt;tz&gt;&br;&zz;", "&<tz> !ERROR!  !ERROR! "},
      {"&swatch;", "042"},  // of the given moment, midnight UTC
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Eval(text), expected) << text;
  // A weekday, a leap year, and years that need their leading zeros.
  SetLocal(2005, 3, 9, 14, 5, 7);
  EXPECT_EQ(Eval("&yy;.&yyyy; &dow; &dows; &$d;"), "05.2005 3 4 Wed");
  SetLocal(2024, 2, 10, 12, 0, 0);
  EXPECT_EQ(Eval("&diy; &dim; &doy;"), "366 29 41");
  SetLocal(999, 1, 1, 0, 0, 0);
  EXPECT_EQ(Eval("&yy;.&yyyy;"), "99.0999");
}

TEST_F(DisplayFormatTest, HoursFollowTheLocaleUnlessForced) {
  SetLocal(2026, 12, 6, 0, 30, 0);
  EXPECT_EQ(Eval("&h; &hh; &ap;"), "12 12 AM");
  platform.locale.twelveHour = false;
  EXPECT_EQ(Eval("&h; &hh;"), "0 00");
  EXPECT_EQ(Eval("&h -12;|&hh -12;|&h -12 ;"), "12|12|0");  // the modifier must be exact
  SetLocal(2026, 12, 6, 15, 0, 0);
  platform.locale.twelveHour = true;
  EXPECT_EQ(Eval("&h;|&h -24;|&ap;"), "3|15|PM");
  SetLocal(2026, 12, 6, 12, 0, 0);  // noon is already afternoon
  EXPECT_EQ(Eval("&h; &ap;"), "12 PM");
}

TEST_F(DisplayFormatTest, ZoneSwitchesShowOtherTimesAndFallBack) {
  const TDateTime utc = DaysFromCivil(2026, 12, 6) + 1.5 / 24;  // 01:30 UTC
  EXPECT_EQ(Eval("<tz \"Tokyo Standard Time\">&hh;:&nn; <tz>&hh;:&nn;", utc), "10:30 09:05");
  EXPECT_EQ(Eval("<tz \"tokyo standard time\">&d;", utc), "6");
  EXPECT_EQ(Eval("<tz Tokyo Standard Time>&hh;", utc), "10");  // quotes are optional
  EXPECT_EQ(Eval("<tz \"Atlantis\">&hh;", utc), " !ERROR! 09");
  // IANA names reach the system's zone; one whose zone the catalogue lacks is an unknown name.
  EXPECT_EQ(Eval("<tz \"Asia/Kolkata\">&time;|<tz \"asia/calcutta\">&time;", utc),
            "7:00 AM|7:00 AM");
  EXPECT_EQ(Eval("<tz \"Europe/Berlin\">&hh;", utc), " !ERROR! 09");
  EXPECT_EQ(Eval("<tz \"Tokyo \"Standard\" Time\">&hh;"), " !ERROR! 09");
  EXPECT_EQ(Eval("<tz  >&hh;"), " !ERROR! 09");  // a blank is a name, not local time
  EXPECT_EQ(Eval("<tz \"\">&hh;"), "09");        // two quotes: an empty name, local time
  TDisplayFormat f;
  f.Zones = &zones;
  f.DefaultZone = zones.FindZone("UTC");
  f.Parse("&hh;:&nn; <tz>&hh;");
  EXPECT_EQ(f.Evaluate(utc), "01:30 09");
  EXPECT_EQ(f.Evaluate(utc), "01:30 09");  // every evaluation starts in the default zone again
}

TEST_F(DisplayFormatTest, WeekNumbersAcrossYearEnds) {
  // A week belongs to the year of its Thursday.
  EXPECT_EQ(IsoWeek(2021, 1, 1), 53);
  EXPECT_EQ(IsoWeek(2024, 12, 31), 1);
  EXPECT_EQ(IsoWeek(2026, 1, 1), 1);
  // Against a day-by-day count: the week changes on Mondays only, and goes 1, 2, 3 ...
  int previous = IsoWeek(2019, 12, 30);
  for (std::int32_t days = DaysFromCivil(2019, 12, 31); days < DaysFromCivil(2031, 1, 1); ++days) {
    const TCivilDate d = CivilFromDays(days);
    const int week = IsoWeek(d.year, d.month, d.day);
    if (WeekdayOfDays(days) == 1)
      ASSERT_TRUE(week == previous + 1 || (week == 1 && previous >= 52))
          << d.year << "-" << d.month << "-" << d.day;
    else
      ASSERT_EQ(week, previous) << d.year << "-" << d.month << "-" << d.day;
    previous = week;
  }
}

TEST_F(DisplayFormatTest, SecondsAreNeededOnlyForSecondElements) {
  for (const auto& [text, needs] : {std::pair{"&s;", true},
                                    {"&SS;", true},
                                    {"&time -s;", true},
                                    {"&time -24 -s;", true},
                                    {"&time;", false},
                                    {"&swatch; &h; &nn;", false},
                                    {"&sdate;", false},
                                    {"s ss", false}}) {
    TDisplayFormat f;
    f.Parse(text);
    EXPECT_EQ(f.NeedsSeconds(), needs) << text;
  }
}

TEST_F(DisplayFormatTest, AnyBytesEvaluateSafely) {
  std::string garbage;
  for (unsigned i = 0; i < 2'000'000; ++i) garbage += static_cast<char>((i * 7919u + i / 13) % 256);
  TDisplayFormat f;
  f.Parse(garbage);
  EXPECT_FALSE(f.Evaluate(0).empty());
  // A million unclosed openers are read in one pass: each is a literal "&" or an error.
  f.Parse(std::string(1'000'000, '&'));
  EXPECT_EQ(f.Evaluate(0), std::string(1'000'000, '&'));
  f.Parse(std::string(300'000, '<'));
  EXPECT_EQ(f.Tokens().size(), 300'000u);
}

// Every item of the format element menu, flattened: "caption|inserts" with submenus indented.
std::vector<std::string> MenuLines(const std::vector<TFormatElement>& items,
                                   const std::string& indent = "") {
  std::vector<std::string> lines;
  for (const TFormatElement& item : items) {
    lines.push_back(indent + item.caption + "|" + item.inserts);
    for (const std::string& sub : MenuLines(item.items, indent + "  ")) lines.push_back(sub);
  }
  return lines;
}

TEST_F(DisplayFormatTest, FormatElementMenuItemsShowWhatTheyInsertWhichTheLanguageKnows) {
  const std::vector<std::string> lines = MenuLines(FormatElementMenu());
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_EQ(lines[0], "Date elements|");
  EXPECT_EQ(lines[1], "  Day: &&d;|&d;");
  EXPECT_EQ(lines[5], "  |");  // a separator
  EXPECT_EQ(lines[25], "    Default: &&h;|&h;");
  EXPECT_EQ(lines[30], "    Default: &&hh;|&hh;");
  EXPECT_EQ(lines[54], "Time zone switch...|");
  EXPECT_EQ(lines[55], "Local time switch: <tz>|<tz>");  // no access key on "<"
  EXPECT_EQ(lines[59], "Greater than sign: &&gt;|&gt;");
  EXPECT_EQ(ZoneSwitchElement("Tokyo Standard Time"), "<tz \"Tokyo Standard Time\">");
  // The time-zone picker's time column: short date, short time, no seconds.
  EXPECT_EQ(ZoneDateTimeText(zones, *zones.FindZone("Tokyo Standard Time"),
                             {2026, 12, 0, 6, 23, 30, 59, 0}),
            "12/7/2026 8:30 AM");

  // A translation that already ends with its element does not get it twice.
  TMultiLanguage german(TMultiLanguage::TNoRegistry{});
  german.LoadFromText("LANGUAGE=Deutsch\n9001=Tag: &&D;\n9002=: &&DD;\n9102=Standard\n");
  {
    TInstalledLanguage installed(german);
    const std::vector<std::string> translated = MenuLines(FormatElementMenu());
    EXPECT_EQ(translated[1], "  Tag: &&D;|&d;");
    EXPECT_EQ(translated[2], "  : &&DD;|&dd;");  // nothing but the element
    EXPECT_EQ(translated[25], "    Standard: &&h;|&h;");
  }
  // Each translation key stands for one caption, and the shipped translation knows it.
  // What each item inserts is an element of the format language, not an error.
  std::ifstream file(std::string(QUORVEL_SOURCE_DIR) + "/src/resources/deutsch.lng");
  german.LoadFromText(std::string(std::istreambuf_iterator<char>(file), {}));
  std::map<int, std::string> captions;
  int inserting = 0;
  std::function<void(const std::vector<TFormatElement>&)> walk = [&](const auto& items) {
    for (const TFormatElement& item : items) {
      if (item.kind == TFormatElement::TKind::Separator) continue;
      const std::string caption = item.caption.substr(0, item.caption.find(": "));
      EXPECT_EQ(captions.emplace(item.tag, caption).first->second, caption) << item.tag;
      EXPECT_NE(german.GetText(std::to_string(item.tag), ""), "") << item.tag;
      walk(item.items);
      if (item.inserts.empty()) continue;
      ++inserting;
      TDisplayFormat format;
      format.Parse(item.inserts);
      EXPECT_EQ(format.Evaluate(46000.5).find("!ERROR!"), std::string::npos) << item.inserts;
    }
  };
  walk(FormatElementMenu());
  EXPECT_EQ(inserting, 40);
  EXPECT_EQ(captions.size(), 43u);
}

}  // namespace
