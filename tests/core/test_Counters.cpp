#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
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

// The popup-menu items a kind adds after the display's own five: caption,
// command, default, checked, enabled.
using TItem = std::tuple<std::string, int, bool, bool, bool>;
std::vector<TItem> OwnMenuItems(const TDisplay& display) {
  std::vector<TItem> items;
  display.BuildMenu(
      [&](const std::string& caption, int id, bool isDefault, bool checked, bool enabled) {
        items.emplace_back(caption, id, isDefault, checked, enabled);
      });
  items.erase(items.begin(), items.begin() + std::min<std::ptrdiff_t>(std::ssize(items), 5));
  return items;
}

class CountdownTest : public ::testing::Test {
 protected:
  // 2026, local time.
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
  std::unique_ptr<TDisplayCountdown> countdown = TDisplay::Create<TDisplayCountdown>();
};

// Normalised first, as loading does, so that the shown units follow each other.
TEST_F(CountdownTest, VisibilityIsNormalisedAndTheCounterShowsTheUnitsItSays) {
  struct Case {
    TVisibility stored;
    std::optional<TVisibility> normalised;  // none: it was already
    std::int64_t total;
    const char* counter;
  };
  const Case cases[] = {
      {{P, P, A, A}, {}, 183846, "02d 03h 04m 06s"},
      {{P, P, A, A}, {}, 3661, "01h 01m 01s"},
      {{P, P, A, A}, {}, 59, "00m 59s"},
      {{N, N, A, A}, {}, 7230, "120m 30s"},  // hidden days and hours: minutes hold the whole amount
      {{N, A, A, A}, {}, 90000, "25h 00m 00s"},
      {{N, P, A, A}, {}, 59, "00m 59s"},
      {{N, N, N, N}, {{N, N, N, A}}, 60, "60s"},  // at least the seconds
      // The smallest "if above zero" becomes always.
      {{N, N, P, N}, {{N, N, A, N}}, 59, "01m "},            // hidden seconds round the minutes up
      {{7, 200, 3, 1}, {{A, A, A, N}}, 59, "00d 00h 01m "},  // unknown values show the unit
      {{P, A, A, N}, {}, 3599, "01h 00m "},                  // and carry into the hours
      {{A, A, N, N}, {}, 169299, "02d 00h "},                // 1d 23h 1m 39s
      {{P, P, N, N}, {{P, A, N, N}}, 7170, "02h "},          // 1h 59m 30s: rounded up once
      // Hidden after a shown unit: everything smaller hidden.
      {{A, N, A, A}, {{A, N, N, N}}, 172795, "02d "},  // 1d 23h 59m 55s
      {{P, N, A, A}, {{A, N, N, N}}, 90000, "02d "},
      {{P, A, P, P}, {{P, A, A, A}}, 3661, "01h 01m 01s"},
      {{P, P, P, A}, {}, 0, "00s"},
  };
  for (const Case& c : cases) {
    countdown->Visibility = c.stored;
    countdown->NormaliseVisibility();
    EXPECT_EQ(countdown->Visibility, c.normalised.value_or(c.stored)) << c.counter;
    EXPECT_EQ(countdown->Counter(c.total), c.counter) << c.total;
  }
  countdown->DaysBefore = "[";
  countdown->SecondsAfter = " sec";
  countdown->Visibility = {P, P, A, A};
  EXPECT_EQ(countdown->Counter(90061), "[01d 01h 01m 01 sec");
}

TEST_F(CountdownTest, CountsDownToTheFinalTimeThenShowsTheZeroText) {
  SetNow(6, 9, 0, 0, 750);
  countdown = TDisplay::Create<TDisplayCountdown>();
  EXPECT_EQ(countdown->FinalTime(), At(12, 7, 0, 0));  // the coming midnight
  EXPECT_EQ(countdown->Font.Size, 28);                 // the text displays' defaults
  EXPECT_EQ(countdown->CurrentText(), "15h 00m 00s\r\nto midnight");
  SetNow(6, 23, 59, 59);
  countdown->CountdownText = "(|)";
  countdown->SecondsAfter = "s  ";
  EXPECT_EQ(countdown->CurrentText(), "(00m 01s)");  // trimmed where it is inserted
  countdown->CountdownText = "left: ";
  EXPECT_EQ(countdown->CurrentText(), "left: 00m 01s  ");
  EXPECT_TRUE(countdown->NeedsSeconds());
  SetNow(7, 0, 0, 0, 0);
  EXPECT_EQ(countdown->CurrentText(), "Write your message here.");
  EXPECT_FALSE(countdown->NeedsSeconds());

  // A final time keeps only its whole seconds; one it cannot hold is refused.
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
  countdown->CountdownText = "(|)";
  countdown->Visibility = {P, P, A, N};
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
  EXPECT_EQ(OwnMenuItems(*countdown),
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
  void SetUp() override { watch->SetActive(true); }
  // Start, Stop, Reset and Restart, enabled as given.
  void ExpectMenu(bool start, bool stop) {
    EXPECT_EQ(OwnMenuItems(*watch), (std::vector<TItem>{{"-", 0, false, false, true},
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
  std::unique_ptr<TDisplayStopwatch> watch = TDisplay::Create<TDisplayStopwatch>();
};

TEST_F(StopwatchTest, CountsFromTheTickCounterAcrossItsWrapAroundIntoItsText) {
  EXPECT_EQ(watch->CurrentText(), "00:00:00");
  EXPECT_FALSE(watch->NeedsSeconds());
  EXPECT_EQ(watch->Font.Size, 28);  // the text displays' defaults
  ExpectMenu(true, false);
  platform.clock.ticks = 0xFFFFFF00u;  // 256 ms before the counter wraps
  Command(cmdStopwatchStart);
  EXPECT_TRUE(watch->NeedsSeconds());
  ExpectMenu(false, true);
  Elapse(99);
  EXPECT_EQ(watch->SecondsElapsed(), 0);
  Elapse(1);  // the first second shows 100 ms after the start
  EXPECT_EQ(watch->SecondsElapsed(), 1);
  Elapse(69000);
  watch->StopwatchText = "Lap\r\n";
  EXPECT_EQ(watch->CurrentText(), "Lap\r\n00:01:10");
  Command(cmdStopwatchStop);
  EXPECT_FALSE(watch->NeedsSeconds());
  Elapse(5000);
  EXPECT_EQ(watch->SecondsElapsed(), 70);  // stopped: the count stays
  Command(cmdStopwatchStart);              // and goes on from there
  Elapse(3655000);
  watch->StopwatchText = "[|] of |";
  EXPECT_EQ(watch->CurrentText(), "[01:02:05] of |");
  Command(cmdStopwatchRestart);
  EXPECT_TRUE(watch->Running());
  EXPECT_EQ(watch->SecondsElapsed(), 0);
  Elapse(360000000);
  EXPECT_EQ(watch->CurrentText(), "[100:00:00] of |");
  Command(cmdStopwatchReset);
  EXPECT_FALSE(watch->Running());
  EXPECT_EQ(watch->SecondsElapsed(), 0);

  watch->Start(false);
  watch->SetActive(false);  // deactivating stops it
  EXPECT_FALSE(watch->Running());
  watch->SetActive(true);
  EXPECT_EQ(TTestPlatform::WindowOf(*watch).drawCount, 0);  // stopped without a repaint
  watch->MenuCommand(cmdAlwaysOnTop);                       // the display's own commands
  EXPECT_FALSE(watch->AlwaysOnTop());
}

// Every value a kind stores, under its own name, in its stored order, each
// unlike its default.
using S = std::string;
struct TNamedValue {
  S name;
  std::variant<std::int32_t, bool, S, double, std::vector<std::uint8_t>> value;
  bool preset = true;  // a preset carries it too
};

void WriteByHand(TVarnRegistry& reg, const TNamedValue& v) {
  if (auto* i = std::get_if<std::int32_t>(&v.value)) reg.WriteInteger(v.name, *i);
  if (auto* b = std::get_if<bool>(&v.value)) reg.WriteBool(v.name, *b);
  if (auto* s = std::get_if<S>(&v.value)) reg.WriteString(v.name, *s);
  if (auto* d = std::get_if<double>(&v.value)) reg.WriteFloat(v.name, *d);
  if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&v.value))
    reg.WriteBinaryData(v.name, bytes->data(), static_cast<int>(bytes->size()));
}

std::vector<std::uint8_t> Element(std::uint32_t fill, std::uint32_t outline, std::int32_t width) {
  std::vector<std::uint8_t> bytes;
  for (const std::uint32_t field : {fill, outline, static_cast<std::uint32_t>(width)})
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
  return bytes;
}

std::vector<TNamedValue> operator+(std::vector<TNamedValue> a, const std::vector<TNamedValue>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// clang-format off
std::vector<TNamedValue> BaseValues(const char* kind) {
  return {{"", S(kind)}, {"Transparent", true}, {"AlphaBlendValue", 99}, {"AlwaysOnTop", false},
          {"Active", false, false}, {"Left", 11, false}, {"Top", 12, false},
          {"Width", 130, false}, {"Height", 140, false}, {"Description", S("mine"), false},
          {"Text", S("a&br;b"), false}, {"Monitor", S("\\\\.\\DISPLAY1"), false},
          {"MonitorLeft", 0, false}, {"MonitorTop", 0, false}, {"MonitorRight", 1024, false},
          {"MonitorBottom", 768, false}, {"MonitorPlaceX", 0.25, false},
          {"MonitorPlaceY", 0.75, false}};
}

std::vector<TNamedValue> FontValues(const S& p) {
  return {{p + "_FontName", S("Tahoma")}, {p + "_FontCharSet", 204}, {p + "_FontColor", 0x123456},
          {p + "_FontStyle", 17}, {p + "_FontSize", 19}, {p + "_OutlineColor", 0x654321},
          {p + "_OutlineWidth", 3}, {p + "_3D", true}};
}

std::vector<TNamedValue> TextDisplayValues(const char* kind) {
  return BaseValues(kind) + FontValues("Font") +
         std::vector<TNamedValue>{{"Alignment", 2}, {"Shadow", 3}, {"ShadowColor", 0x010203},
             {"HasBackground", true}, {"BackgroundColor", 0x040506}, {"BevelWidth", 5},
             {"BevelColor", 0x070809}, {"Bevel3D", false}};
}

std::vector<TNamedValue> AnalogClockValues() {
  const std::vector<TNamedValue> face{
      {"SecondsHand", false}, {"DisplaySize", 55}, {"TickMarks", 7}, {"QuarterMarksOnly", true},
      {"TickMarkSettings", Element(1, 2, 3)}, {"QuarterMarksSettings", Element(4, 5, 6)},
      {"HourHandSettings", Element(7, 8, 9)}, {"MinuteHandSettings", Element(10, 11, 12)},
      {"SecondsHandSettings", Element(13, 14, 15)}, {"HourHandLength", 41}, {"HourHandWidth", 3},
      {"MinuteHandLength", 42}, {"MinuteHandWidth", 4}, {"SecondsHandLength", 43},
      {"SecondsHandWidth", 5}, {"TickMarkSize", 6}, {"QuarterTickMarkSize", 7},
      {"TickMarkPosition", 44}, {"QuarterTickMarkPosition", 45}, {"ShowText", false},
      {"TextBackgroundColor", 0x0A0B0C}, {"TextAlignment", 1}, {"TextOffsetX", 46},
      {"TextOffsetY", 47}, {"TextBackground", false}, {"ShowHourHand", false},
      {"ShowMinuteHand", false}};
  // No catalogue knows the zone: it is kept and written back all the same.
  return BaseValues("1") + face + FontValues("TextFont") +
         std::vector<TNamedValue>{{"TextOverHands", true},
                                  {"TimeZoneID", S("Atlantis Standard Time"), false}};
}

std::vector<TNamedValue> CountdownValues() {
  return TextDisplayValues("3") +
         std::vector<TNamedValue>{{"Format", std::vector<std::uint8_t>{P, A, A, N}},
             {"DTB", S("1")}, {"DTA", S("2")}, {"HTB", S("3")}, {"HTA", S("4")}, {"MTB", S("5")},
             {"MTA", S("6")}, {"STB", S("7")}, {"STA", S("8")}, {"Text", S("Left:&br;|"), false},
             {"ZeroText", S("Done&br;now"), false}, {"FinalTime", 46100.25, false}};
}
// clang-format on

class StoredKindsTest : public ::testing::Test {
 protected:
  // Loads what was written by hand and saves it elsewhere, as a display and
  // as a preset: exactly what was written comes back.
  void ExpectUnchanged(TDisplay& display, const std::vector<TNamedValue>& values) {
    for (const bool presetOnly : {false, true}) {
      const S pass = presetOnly ? "Preset" : "Display";
      TVarnRegistry reg;
      ASSERT_TRUE(reg.OpenKey("\\Software\\In" + pass, true));
      for (const TNamedValue& v : values)
        if (v.preset || !presetOnly) WriteByHand(reg, v);
      const auto written = reg.ReadAllValues();  // the last writer of a name wins
      display.LoadFromRegistry(reg, presetOnly);
      ASSERT_TRUE(reg.OpenKey("\\Software\\Out" + pass, true));
      display.SaveToRegistry(reg, presetOnly);
      EXPECT_EQ(reg.ReadAllValues(), written) << pass;
    }
  }
  // Loads a stopwatch from the values one call writes into a fresh key.
  std::unique_ptr<TDisplayStopwatch> LoadWatch(const std::function<void(TVarnRegistry&)>& write) {
    auto watch = TDisplay::Create<TDisplayStopwatch>();
    watch->Start(false);
    platform.clock.ticks += 5000;
    watch->UpdateElapsed();
    TVarnRegistry reg;
    reg.DeleteKey("Software\\Watch");
    reg.OpenKey("Software\\Watch", true);
    write(reg);
    watch->LoadFromRegistry(reg, false);
    return watch;
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
  ExpectUnchanged(*watch, TextDisplayValues("4") +
                              std::vector<TNamedValue>{{"Saved", now, false},
                                                       {"SecondsElapsed", 4242, false},
                                                       {"Running", false, false},
                                                       {"Text", S("Lap&br;\r\n|"), false}});
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
    const auto watch = LoadWatch([&](TVarnRegistry& reg) {
      reg.WriteFloat("Saved", c.saved);
      reg.WriteInteger("SecondsElapsed", c.elapsed);
      reg.WriteBool("Running", c.running);
    });
    EXPECT_EQ(watch->SecondsElapsed(), c.loaded) << c.saved;
    EXPECT_EQ(watch->Running(), c.running);
    EXPECT_EQ(watch->NeedsSeconds(), c.running);
  }
  // What is absent or damaged reads as stopped at zero, whatever ran before.
  const auto damaged = LoadWatch([](TVarnRegistry& reg) { reg.WriteString("Running", "yes"); });
  EXPECT_FALSE(damaged->Running());
  EXPECT_EQ(damaged->SecondsElapsed(), 0);

  // Without a window it gets no ticks: saving brings the count up to now.
  const auto running = LoadWatch([](TVarnRegistry& reg) { reg.WriteBool("Running", true); });
  platform.clock.ticks += 20000;
  TVarnRegistry reg;
  reg.OpenKey("Software\\Saved", true);
  running->SaveToRegistry(reg, false);
  EXPECT_EQ(reg.ReadInteger("SecondsElapsed"), 20);
}

TEST_F(StoredKindsTest, DamagedValuesCostOnlyThemselves) {
  auto countdown = TDisplay::Create<TDisplayCountdown>();
  const TDateTime midnight = countdown->FinalTime();
  TVarnRegistry reg;
  reg.OpenKey("Software\\Countdown", true);
  reg.WriteString("FinalTime", "tomorrow");
  reg.WriteString("DTA", "kept");
  const std::pair<std::vector<std::uint8_t>, TVisibility> cases[] = {
      {{}, {P, P, A, A}},
      {{N}, {N, P, A, A}},              // fills only its own bytes
      {{N, N, N, N}, {N, N, N, A}},     // normalised as it is read
      {{A, A, A, A, A}, {P, P, A, A}},  // too long: as if absent
      {{A, 9, 9, 9, 9, 9, 9, 9}, {P, P, A, A}},
  };
  for (const auto& [format, loaded] : cases) {
    countdown->Visibility = {P, P, A, A};
    countdown->DaysAfter.clear();
    reg.WriteBinaryData("Format", format.data(), static_cast<int>(format.size()));
    countdown->LoadFromRegistry(reg, false);
    EXPECT_EQ(countdown->Visibility, loaded) << format.size();
    EXPECT_EQ(countdown->FinalTime(), midnight);
    EXPECT_EQ(countdown->DaysAfter, "kept");
  }

  auto clock = TDisplay::Create<TDisplayAnalogClock>();
  reg.OpenKey("\\Software\\Clock", true);
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
