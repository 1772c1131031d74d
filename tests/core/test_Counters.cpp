#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <variant>

#include "config/uVarnRegistry.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uDisplayStopwatch.h"
#include "support/uTestPlatform.h"

namespace {

constexpr std::uint8_t A = uvAlways, N = uvNever, P = uvIfPositive;

// A display's popup-menu items: caption, command, default, checked, enabled.
using TItem = std::tuple<std::string, int, bool, bool, bool>;
std::vector<TItem> MenuItems(const TDisplay& display) {
  std::vector<TItem> items;
  display.BuildMenu(
      [&](const std::string& caption, int id, bool isDefault, bool checked, bool enabled) {
        items.emplace_back(caption, id, isDefault, checked, enabled);
      });
  return items;
}

class CountdownTest : public ::testing::Test {
 protected:
  void SetUp() override { countdown = TDisplay::Create<TDisplayCountdown>(); }
  // December 2026, local time.
  static TSystemTime Moment(int month, int day, int hour, int minute, int second, int ms = 0) {
    const auto w = [](int v) { return static_cast<std::uint16_t>(v); };
    return {2026, w(month), 0, w(day), w(hour), w(minute), w(second), w(ms)};
  }
  void SetNow(int day, int hour, int minute, int second, int ms = 0) {
    platform.clock.local = Moment(12, day, hour, minute, second, ms);
  }
  static TDateTime At(int month, int day, int hour, int minute, int second = 0) {
    return SystemTimeToDateTime(Moment(month, day, hour, minute, second));
  }
  TTestPlatform platform;
  std::unique_ptr<TDisplayCountdown> countdown;
};

TEST_F(CountdownTest, CounterShowsTheUnitsItsVisibilitySays) {
  struct Case {
    TVisibility visibility;
    std::int64_t total;
    const char* counter;
  };
  const Case cases[] = {
      {{P, P, A, A}, 183846, "02d 03h 04m 06s"},
      {{P, P, A, A}, 3661, "01h 01m 01s"},
      {{P, P, A, A}, 59, "00m 59s"},
      {{N, N, A, A}, 7230, "120m 30s"},  // hidden days and hours: minutes hold the whole amount
      {{N, A, A, A}, 90000, "25h 00m 00s"},
      {{N, N, N, A}, 60, "60s"},
      {{A, A, A, N}, 59, "00d 00h 01m "},  // hidden seconds round the minutes up
      {{P, A, A, N}, 3599, "01h 00m "},    // and carry into the hours
      {{A, A, N, N}, 169299, "02d 00h "},  // 1d 23h 1m 39s
      {{P, A, N, N}, 7170, "02h "},        // 1h 59m 30s: rounded up once
      {{A, N, N, N}, 172795, "02d "},      // 1d 23h 59m 55s
      {{P, P, P, A}, 0, "00s"},
  };
  for (const Case& c : cases) {
    countdown->Visibility = c.visibility;
    EXPECT_EQ(countdown->Counter(c.total), c.counter) << c.total;
  }
  countdown->DaysBefore = "[";
  countdown->SecondsAfter = " sec";
  countdown->Visibility = {P, P, A, A};
  EXPECT_EQ(countdown->Counter(90061), "[01d 01h 01m 01 sec");
}

// The units shown are a positional number in the units that are not hidden,
// the smallest rounded up when a smaller one is hidden.
TEST_F(CountdownTest, CounterAgreesWithAPositionalDecomposition) {
  const std::int64_t size[] = {86400, 3600, 60, 1};
  const char* suffix[] = {"d ", "h ", "m ", "s"};
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> unit(0, 2);
  std::uniform_int_distribution<std::int64_t> seconds(0, 40 * 86400);
  for (int i = 0; i < 20000; ++i) {
    countdown->Visibility = {
        static_cast<std::uint8_t>(unit(random)), static_cast<std::uint8_t>(unit(random)),
        static_cast<std::uint8_t>(unit(random)), static_cast<std::uint8_t>(unit(random))};
    countdown->NormaliseVisibility();
    const TVisibility& v = countdown->Visibility;
    const std::int64_t total = seconds(random) >> unit(random) * 8;
    std::size_t top = 0, bottom = 3;
    while (v[top] == N) ++top;
    while (v[bottom] == N) --bottom;
    std::int64_t rest = total / size[bottom] + (bottom < 3 ? 1 : 0);
    std::int64_t value[4] = {};
    for (std::size_t u = bottom; u > top; --u) {
      value[u] = rest % (size[u - 1] / size[u]);
      rest /= size[u - 1] / size[u];
    }
    value[top] = rest;
    std::string expected;
    bool above = false;
    for (std::size_t u = top; u <= bottom; ++u) {
      above = above || value[u] > 0;
      if (v[u] == A || (v[u] == P && above))
        expected += std::to_string(value[u] / 10) + std::to_string(value[u] % 10) + suffix[u];
    }
    ASSERT_EQ(countdown->Counter(total), expected)
        << total << " " << int{v[0]} << int{v[1]} << int{v[2]} << int{v[3]};
  }
}

TEST_F(CountdownTest, VisibilityIsNormalisedSoThatTheShownUnitsFollowEachOther) {
  struct Case {
    TVisibility stored, normalised;
  };
  const Case cases[] =
      {
          {{N, N, N, N}, {N, N, N, A}},  // at least the seconds
          {{N, N, P, N}, {N, N, A, N}},  // the smallest "if above zero" becomes always
          {{P, P, N, N}, {P, A, N, N}},
          {{A, N, A, A}, {A, N, N, N}},  // hidden after a shown unit: everything smaller hidden
          {{P, N, A, A}, {A, N, N, N}},
          {{P, A, P, P}, {P, A, A, A}},
          {{N, P, A, A}, {N, P, A, A}},
          {{P, P, A, A}, {P, P, A, A}},
          {{7, 200, 3, 1}, {A, A, A, N}},  // values this version does not know show the unit
      };
  for (const Case& c : cases) {
    countdown->Visibility = c.stored;
    countdown->NormaliseVisibility();
    EXPECT_EQ(countdown->Visibility, c.normalised)
        << int{c.stored[0]} << int{c.stored[1]} << int{c.stored[2]} << int{c.stored[3]};
  }
}

TEST_F(CountdownTest, CountsDownToTheFinalTimeThenShowsTheZeroText) {
  SetNow(6, 9, 0, 0, 750);
  countdown = TDisplay::Create<TDisplayCountdown>();
  EXPECT_EQ(countdown->FinalTime(), At(12, 7, 0, 0));  // the coming midnight
  EXPECT_EQ(countdown->Font.Size, 28);                 // the text displays' defaults
  EXPECT_EQ(countdown->CurrentText(), "15h 00m 00s\r\nto midnight");
  SetNow(6, 23, 59, 59);
  EXPECT_EQ(countdown->CurrentText(), "00m 01s\r\nto midnight");
  countdown->CountdownText = "left: ";
  EXPECT_EQ(countdown->CurrentText(), "left: 00m 01s");
  countdown->CountdownText = "(|)";
  countdown->SecondsAfter = "s  ";
  EXPECT_EQ(countdown->CurrentText(), "(00m 01s)");  // trimmed where it is inserted
  EXPECT_TRUE(countdown->NeedsSeconds());
  SetNow(7, 0, 0, 0, 0);
  EXPECT_EQ(countdown->CurrentText(), "Write your message here.");
  EXPECT_FALSE(countdown->NeedsSeconds());

  // A final time set with milliseconds keeps only its whole seconds.
  countdown->SetFinalTime(At(12, 7, 0, 0, 30) + 0.999 / 86400);
  EXPECT_EQ(countdown->FinalTime(), At(12, 7, 0, 0, 30));
  EXPECT_TRUE(countdown->NeedsSeconds());
  for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -1e7,
                           double(DaysFromCivil(10000, 1, 1))}) {
    countdown->SetFinalTime(bad);
    EXPECT_EQ(countdown->FinalTime(), At(12, 7, 0, 0, 30));
  }
  countdown->SetFinalTime(DaysFromCivil(1, 1, 1));  // the first moment it takes
  EXPECT_EQ(countdown->FinalTime(), DaysFromCivil(1, 1, 1));
  countdown->SetFinalTime(At(12, 7, 0, 0, 30));

  // Hidden seconds: a second later, and a repaint only when the minute count changes.
  countdown->Visibility = {P, P, A, N};
  SetNow(7, 0, 0, 0);
  EXPECT_EQ(countdown->CurrentText(), "(01m)");
  EXPECT_TRUE(countdown->NeedsRepaint());
  SetNow(7, 0, 0, 10);
  EXPECT_FALSE(countdown->NeedsRepaint());
  SetNow(7, 0, 1, 31);  // a minute past the final time
  EXPECT_TRUE(countdown->NeedsRepaint());
  countdown->Visibility = {P, P, A, A};
  EXPECT_TRUE(countdown->NeedsRepaint());
}

TEST_F(CountdownTest, MenuMovesTheFinalTimeAndRepaints) {
  const std::vector<TItem> items = MenuItems(*countdown);
  ASSERT_EQ(items.size(), 9u);  // the display's own five first
  EXPECT_EQ(std::vector<TItem>(items.begin() + 5, items.end()),
            (std::vector<TItem>{{"-", 0, false, false, true},
                                {"Today", 1005, false, false, true},
                                {"Add one day", 1006, false, false, true},
                                {"Add one week", 1007, false, false, true}}));

  countdown->SetActive(true);
  countdown->SetFinalTime(At(3, 3, 18, 0));
  SetNow(6, 19, 0, 0);
  const int draws = TTestPlatform::WindowOf(*countdown).drawCount;
  countdown->MenuCommand(cmdCountdownToday);
  EXPECT_EQ(countdown->FinalTime(), At(12, 6, 18, 0));  // today, though that has passed
  EXPECT_FALSE(countdown->NeedsSeconds());
  EXPECT_EQ(TTestPlatform::WindowOf(*countdown).drawCount, draws + 1);
  countdown->MenuCommand(cmdCountdownAddDay);
  EXPECT_EQ(countdown->FinalTime(), At(12, 7, 18, 0));
  EXPECT_TRUE(countdown->NeedsSeconds());
  countdown->MenuCommand(cmdCountdownAddWeek);
  EXPECT_EQ(countdown->FinalTime(), At(12, 14, 18, 0));
  countdown->MenuCommand(cmdDeactivateDisplay);
  EXPECT_FALSE(countdown->IsActive());
}

class StopwatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    watch = TDisplay::Create<TDisplayStopwatch>();
    watch->SetActive(true);
  }
  // Start, Stop, Reset and Restart after the display's own items, enabled as given.
  void ExpectMenu(bool start, bool stop) {
    const std::vector<TItem> items = MenuItems(*watch);
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(std::vector<TItem>(items.begin() + 5, items.end()),
              (std::vector<TItem>{{"-", 0, false, false, true},
                                  {"Start", 1008, false, false, start},
                                  {"Stop", 1009, false, false, stop},
                                  {"Reset", 1010, false, false, true},
                                  {"Restart", 1011, false, false, true}}));
  }
  // Every command shows its result at once.
  void Command(int id) {
    const int draws = TTestPlatform::WindowOf(*watch).drawCount;
    watch->MenuCommand(id);
    EXPECT_GT(TTestPlatform::WindowOf(*watch).drawCount, draws) << id;
  }
  void Elapse(std::uint32_t ms) {
    platform.clock.ticks += ms;
    watch->Tick(false, false, true, 0);
  }
  TTestPlatform platform;
  std::unique_ptr<TDisplayStopwatch> watch;
};

TEST_F(StopwatchTest, CountsFromTheTickCounterAcrossItsWrapAround) {
  EXPECT_EQ(watch->CurrentText(), "00:00:00");
  EXPECT_FALSE(watch->NeedsSeconds());
  EXPECT_EQ(watch->Font.Size, 28);  // the text displays' defaults
  ExpectMenu(true, false);
  platform.clock.ticks = 0xFFFFFF00u;  // 256 ms before the counter wraps
  Command(cmdStopwatchStart);
  EXPECT_TRUE(watch->Running());
  EXPECT_TRUE(watch->NeedsSeconds());
  ExpectMenu(false, true);
  Elapse(99);
  EXPECT_EQ(watch->SecondsElapsed(), 0);
  Elapse(1);  // the first second shows 100 ms after the start
  EXPECT_EQ(watch->SecondsElapsed(), 1);
  Elapse(69000);
  EXPECT_EQ(watch->SecondsElapsed(), 70);
  watch->StopwatchText = "Lap: |";
  EXPECT_EQ(watch->CurrentText(), "Lap: 00:01:10");
  Command(cmdStopwatchStop);
  EXPECT_FALSE(watch->NeedsSeconds());
  Elapse(5000);
  EXPECT_EQ(watch->SecondsElapsed(), 70);  // stopped: the count stays
  Command(cmdStopwatchStart);              // and goes on from there
  Elapse(1000);
  EXPECT_EQ(watch->SecondsElapsed(), 71);
  Command(cmdStopwatchRestart);
  EXPECT_TRUE(watch->Running());
  EXPECT_EQ(watch->SecondsElapsed(), 0);
  Elapse(3000);
  Command(cmdStopwatchReset);
  EXPECT_FALSE(watch->Running());
  EXPECT_EQ(watch->SecondsElapsed(), 0);

  watch->Start(false);
  watch->SetActive(false);  // deactivating stops it
  EXPECT_FALSE(watch->Running());
  watch->SetActive(true);
  EXPECT_FALSE(watch->Running());
  EXPECT_EQ(TTestPlatform::WindowOf(*watch).drawCount, 0);  // stopped without a repaint
  watch->MenuCommand(cmdAlwaysOnTop);                       // the display's own commands
  EXPECT_FALSE(watch->AlwaysOnTop());
}

TEST_F(StopwatchTest, CountTextsAndTheirPlaceInTheText) {
  struct Case {
    std::string text;
    std::int32_t seconds;
    const char* shown;
  };
  const Case cases[] = {
      {"", 3725, "01:02:05"},
      {"", 360000, "100:00:00"},
      {"Lap\r\n", 59, "Lap\r\n00:00:59"},
      {"[|] of |", 61, "[00:01:01] of |"},
  };
  for (const Case& c : cases) {
    platform.clock.ticks = 1000;
    watch->Reset(false, false);
    watch->Start(false);
    platform.clock.ticks += static_cast<std::uint32_t>(c.seconds) * 1000;
    watch->UpdateElapsed();
    watch->StopwatchText = c.text;
    EXPECT_EQ(watch->CurrentText(), c.shown);
  }
}

// Every value a kind stores, under its own name, in its stored order, each
// unlike its default: loading and saving gives back exactly what was written.
using TValue = std::variant<std::int32_t, bool, std::string, double, std::vector<std::uint8_t>>;
struct TNamedValue {
  const char* name;
  TValue value;
  bool preset;  // a preset carries it too
};

void WriteByHand(TVarnRegistry& reg, const std::vector<TNamedValue>& values) {
  for (const TNamedValue& v : values) {
    if (auto* i = std::get_if<std::int32_t>(&v.value)) reg.WriteInteger(v.name, *i);
    if (auto* b = std::get_if<bool>(&v.value)) reg.WriteBool(v.name, *b);
    if (auto* s = std::get_if<std::string>(&v.value)) reg.WriteString(v.name, *s);
    if (auto* d = std::get_if<double>(&v.value)) reg.WriteFloat(v.name, *d);
    if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&v.value))
      reg.WriteBinaryData(v.name, bytes->data(), static_cast<int>(bytes->size()));
  }
}

std::vector<std::uint8_t> Element(std::uint32_t fill, std::uint32_t outline, std::int32_t width) {
  std::vector<std::uint8_t> bytes;
  for (const std::uint32_t field : {fill, outline, static_cast<std::uint32_t>(width)})
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
  return bytes;
}

// clang-format off
std::vector<TNamedValue> BaseValues(const char* kind) {
  return {{"", std::string(kind), true}, {"Transparent", true, true}, {"AlphaBlendValue", 99, true},
          {"AlwaysOnTop", false, true}, {"Active", false, false}, {"Left", 11, false},
          {"Top", 12, false}, {"Width", 130, false}, {"Height", 140, false},
          {"Description", std::string("mine"), false}, {"Text", std::string("a&br;b"), false}};
}

std::vector<TNamedValue> Concat(std::vector<TNamedValue> a, const std::vector<TNamedValue>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The eight font values under a prefix.
std::vector<TNamedValue> FontValues(const std::string& prefix) {
  static std::vector<std::string> names;  // the names outlive the table
  names.clear();
  for (const char* n : {"FontName", "FontCharSet", "FontColor", "FontStyle", "FontSize",
                        "OutlineColor", "OutlineWidth", "3D"})
    names.push_back(prefix + "_" + n);
  return {{names[0].c_str(), std::string("Tahoma"), true}, {names[1].c_str(), 204, true},
          {names[2].c_str(), 0x123456, true}, {names[3].c_str(), 17, true},
          {names[4].c_str(), 19, true}, {names[5].c_str(), 0x654321, true},
          {names[6].c_str(), 3, true}, {names[7].c_str(), true, true}};
}

std::vector<TNamedValue> TextDisplayValues(const char* kind) {
  return Concat(Concat(BaseValues(kind), FontValues("Font")),
                {{"Alignment", 2, true}, {"Shadow", 3, true}, {"ShadowColor", 0x010203, true},
                 {"HasBackground", true, true}, {"BackgroundColor", 0x040506, true},
                 {"BevelWidth", 5, true}, {"BevelColor", 0x070809, true}, {"Bevel3D", false, true}});
}

std::vector<TNamedValue> AnalogClockValues() {
  const std::vector<TNamedValue> face{
      {"SecondsHand", false, true}, {"DisplaySize", 55, true}, {"TickMarks", 7, true},
      {"QuarterMarksOnly", true, true}, {"TickMarkSettings", Element(1, 2, 3), true},
      {"QuarterMarksSettings", Element(4, 5, 6), true}, {"HourHandSettings", Element(7, 8, 9), true},
      {"MinuteHandSettings", Element(10, 11, 12), true},
      {"SecondsHandSettings", Element(13, 14, 15), true}, {"HourHandLength", 41, true},
      {"HourHandWidth", 3, true}, {"MinuteHandLength", 42, true}, {"MinuteHandWidth", 4, true},
      {"SecondsHandLength", 43, true}, {"SecondsHandWidth", 5, true}, {"TickMarkSize", 6, true},
      {"QuarterTickMarkSize", 7, true}, {"TickMarkPosition", 44, true},
      {"QuarterTickMarkPosition", 45, true}, {"ShowText", false, true},
      {"TextBackgroundColor", 0x0A0B0C, true}, {"TextAlignment", 1, true},
      {"TextOffsetX", 46, true}, {"TextOffsetY", 47, true}, {"TextBackground", false, true},
      {"ShowHourHand", false, true}, {"ShowMinuteHand", false, true}};
  // No catalogue knows the zone: it is kept and written back all the same.
  return Concat(Concat(Concat(BaseValues("1"), face), FontValues("TextFont")),
                {{"TextOverHands", true, true},
                 {"TimeZoneID", std::string("Atlantis Standard Time"), false}});
}

std::vector<TNamedValue> CountdownValues() {
  return Concat(TextDisplayValues("3"),
                {{"Format", std::vector<std::uint8_t>{P, A, A, N}, true},
                 {"DTB", std::string("1"), true}, {"DTA", std::string("2"), true},
                 {"HTB", std::string("3"), true}, {"HTA", std::string("4"), true},
                 {"MTB", std::string("5"), true}, {"MTA", std::string("6"), true},
                 {"STB", std::string("7"), true}, {"STA", std::string("8"), true},
                 {"Text", std::string("Left:&br;|"), false},
                 {"ZeroText", std::string("Done&br;now"), false}, {"FinalTime", 46100.25, false}});
}

std::vector<TNamedValue> StopwatchValues(double saved) {
  return Concat(TextDisplayValues("4"),
                {{"Saved", saved, false}, {"SecondsElapsed", 4242, false},
                 {"Running", false, false}, {"Text", std::string("Lap&br;\r\n|"), false}});
}
// clang-format on

class StoredKindsTest : public ::testing::Test {
 protected:
  // Loads what was written by hand under one key and saves it under another.
  std::vector<std::pair<std::string, TRegData>> RoundTrip(TDisplay& display,
                                                          const std::vector<TNamedValue>& values,
                                                          bool presetOnly) {
    TVarnRegistry reg;
    reg.DeleteKey("Software\\In");
    reg.DeleteKey("Software\\Out");
    EXPECT_TRUE(reg.OpenKey("Software\\In", true));
    WriteByHand(reg, values);
    display.LoadFromRegistry(reg, presetOnly);
    EXPECT_TRUE(reg.OpenKey("\\Software\\Out", true));
    display.SaveToRegistry(reg, presetOnly);
    return reg.ReadAllValues();
  }
  void ExpectUnchanged(TDisplay& display, const std::vector<TNamedValue>& values) {
    TVarnRegistry reg;
    for (const bool presetOnly : {false, true}) {
      std::vector<TNamedValue> expected;
      for (const TNamedValue& v : values)
        if (v.preset || !presetOnly) expected.push_back(v);
      const auto saved = RoundTrip(display, expected, presetOnly);
      reg.OpenKey("\\Software\\Expected", true);
      WriteByHand(reg, expected);
      // The last writer of a name wins, as in the registry.
      const auto want = reg.ReadAllValues();
      reg.DeleteKey("\\Software\\Expected");
      ASSERT_EQ(saved.size(), want.size()) << (presetOnly ? "preset" : "display");
      for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(saved[i].first, want[i].first) << i;
        EXPECT_EQ(saved[i].second, want[i].second) << want[i].first;
      }
    }
  }
  TTestPlatform platform;
};

TEST_F(StoredKindsTest, EveryValueOfEveryKindSurvivesALoadAndASave) {
  const auto digital = TDisplay::Create<TDisplayDigitalClock>();
  ExpectUnchanged(*digital, TextDisplayValues("2"));
  EXPECT_EQ(digital->Font.Style, (TFontStyles{true, true, false, false}));

  const auto clock = TDisplay::Create<TDisplayAnalogClock>();
  ExpectUnchanged(*clock, AnalogClockValues());
  EXPECT_EQ(clock->Text(), "a\r\nb");
  EXPECT_EQ(clock->TimeZone(), nullptr);
  EXPECT_EQ(clock->HourHandSettings, (TElementSettings{7, 8, 9}));
  EXPECT_TRUE(clock->Dirty());  // drawn afresh at the next tick

  const auto countdown = TDisplay::Create<TDisplayCountdown>();
  ExpectUnchanged(*countdown, CountdownValues());
  EXPECT_EQ(countdown->CountdownText, "Left:\r\n|");

  const auto watch = TDisplay::Create<TDisplayStopwatch>();
  const double now = SystemTimeToDateTime(platform.clock.local);
  ExpectUnchanged(*watch, StopwatchValues(now));
  EXPECT_EQ(watch->StopwatchText, "Lap&br;\r\n|");  // stored as it is
  EXPECT_EQ(watch->SecondsElapsed(), 4242);
}

TEST_F(StoredKindsTest, ARunningStopwatchCountsTheTimeTheProgramWasNotRunning) {
  const double now = SystemTimeToDateTime(platform.clock.local);
  struct Case {
    double saved;
    std::int32_t elapsed;
    bool running;
    std::int32_t loaded;
  };
  const Case cases[] = {
      {now - 50.0 / 86400, 100, true, 150},
      {now - 50.0 / 86400, 100, false, 100},  // stopped: unchanged
      {now + 1, 100, true, 100},              // saved in the future: nothing added
      {now - 600000, 100, true, std::numeric_limits<std::int32_t>::max()},
      {std::nan(""), 100, true, 100},
      {now, -5, false, 0},
  };
  for (const Case& c : cases) {
    auto watch = TDisplay::Create<TDisplayStopwatch>();
    TVarnRegistry reg;
    reg.OpenKey("Software\\Watch", true);
    reg.WriteFloat("Saved", c.saved);
    reg.WriteInteger("SecondsElapsed", c.elapsed);
    reg.WriteBool("Running", c.running);
    watch->LoadFromRegistry(reg, false);
    EXPECT_EQ(watch->SecondsElapsed(), c.loaded) << c.saved;
    EXPECT_EQ(watch->Running(), c.running);
    EXPECT_EQ(watch->NeedsSeconds(), c.running);
  }
  // What is absent or damaged reads as stopped at zero, whatever ran before.
  {
    auto watch = TDisplay::Create<TDisplayStopwatch>();
    watch->Start(false);
    platform.clock.ticks += 5000;
    watch->UpdateElapsed();
    TVarnRegistry reg;
    reg.DeleteKey("Software\\Watch");
    reg.OpenKey("Software\\Watch", true);
    reg.WriteString("Running", "yes");
    watch->LoadFromRegistry(reg, false);
    EXPECT_FALSE(watch->Running());
    EXPECT_EQ(watch->SecondsElapsed(), 0);
  }
  // Without a window it gets no ticks: saving brings the count up to now.
  auto watch = TDisplay::Create<TDisplayStopwatch>();
  watch->Start(false);
  platform.clock.ticks += 20000;
  TVarnRegistry reg;
  reg.OpenKey("Software\\Watch", true);
  watch->SaveToRegistry(reg, false);
  EXPECT_EQ(reg.ReadInteger("SecondsElapsed"), 20);
}

TEST_F(StoredKindsTest, DamagedValuesCostOnlyThemselves) {
  auto countdown = TDisplay::Create<TDisplayCountdown>();
  const TDateTime midnight = countdown->FinalTime();
  struct Case {
    std::vector<std::uint8_t> format;
    TVisibility loaded;
  };
  const Case cases[] = {
      {{}, {P, P, A, A}},
      {{N}, {N, P, A, A}},              // fills only its own bytes
      {{N, N, N, N}, {N, N, N, A}},     // normalised as it is read
      {{A, A, A, A, A}, {P, P, A, A}},  // too long: as if absent
      {{A, 9, 9, 9, 9, 9, 9, 9}, {P, P, A, A}},
  };
  for (const Case& c : cases) {
    countdown->Visibility = {P, P, A, A};
    TVarnRegistry reg;
    reg.DeleteKey("Software\\Countdown");
    reg.OpenKey("Software\\Countdown", true);
    reg.WriteBinaryData("Format", c.format.data(), static_cast<int>(c.format.size()));
    reg.WriteString("FinalTime", "tomorrow");
    reg.WriteString("DTA", "kept");
    countdown->LoadFromRegistry(reg, false);
    EXPECT_EQ(countdown->Visibility, c.loaded) << c.format.size();
    EXPECT_EQ(countdown->FinalTime(), midnight);
    EXPECT_EQ(countdown->DaysAfter, "kept");
  }

  auto clock = TDisplay::Create<TDisplayAnalogClock>();
  TVarnRegistry reg;
  reg.OpenKey("Software\\Clock", true);
  const std::vector<std::uint8_t> tooLong(13, 0x11), shortRecord{0x22, 0x22};
  reg.WriteBinaryData("TickMarkSettings", shortRecord.data(), 2);
  reg.WriteBinaryData("HourHandSettings", tooLong.data(), 13);
  reg.WriteString("MinuteHandSettings", "wide");
  reg.WriteInteger("DisplaySize", 77);
  clock->LoadFromRegistry(reg, false);
  EXPECT_EQ(clock->TickMarkSettings, (TElementSettings{0xE02222, 0x705030, 1}));
  EXPECT_EQ(clock->HourHandSettings, (TElementSettings{0xFFFFFF, 0x705030, 2}));
  EXPECT_EQ(clock->MinuteHandSettings, (TElementSettings{0xFFFFFF, 0x705030, 2}));
  EXPECT_EQ(clock->DisplaySize, 77);
}

}  // namespace
