#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/uTestPlatform.h"
#include "support/uTools.h"

namespace {

TEST(Tools, ShortcutsSplitIntoKeyAndModifiersAndBack) {
  const std::pair<std::uint32_t, TShortCutParts> cases[] = {{0x0041, {0x41, 0}},
                                                            {0x2041, {0x41, ssShift}},
                                                            {0x6041, {0x41, ssShift | ssCtrl}},
                                                            {0x807A, {0x7A, ssAlt}}};
  for (const auto& [shortcut, parts] : cases) {
    const TShortCutParts split = SplitShortCut(shortcut);
    EXPECT_EQ(std::pair(split.key, split.shift), std::pair(parts.key, parts.shift)) << shortcut;
    EXPECT_EQ(MakeShortCut(parts), shortcut) << shortcut;
  }
}

TEST(Tools, DecimalNumbersAreWholeOrNothing) {
  EXPECT_EQ(ParseDecimal(std::string_view("123", 2)), 12);  // a piece of a longer text
  for (const auto& [text, value] : {std::pair{"257", 257}, {"+3", 3}, {"-1", -1}, {"007", 7}})
    EXPECT_EQ(ParseDecimal(text), value) << text;
  for (const char* text : {"2x", "", "+", "+-1", " 2", "2147483648"})
    EXPECT_EQ(ParseDecimal(text), std::nullopt) << text;
}

TEST(Tools, KeepHalfInsideClampsSoThatHalfStaysWithinBounds) {
  const TRect screen{0, 0, 1024, 768};
  const struct {
    TRect in, bounds, expected;
  } cases[] = {
      {{2000, 100, 2200, 200}, screen, {924, 100, 1124, 200}},  // beyond the right edge
      {{-500, 100, -300, 200}, screen, {-100, 100, 100, 200}},  // beyond the left edge
      {{100, 900, 300, 1000}, screen, {100, 718, 300, 818}},    // below
      {{100, -400, 300, -300}, screen, {100, -50, 300, 50}},    // above
      {{50, 50, 50, 50}, {0, 0, 10, 10}, {9, 9, 11, 11}},       // empty: sides become 2
      // Bounds narrower than the window: the far limits are applied first.
      {{100, 100, 400, 400}, {0, 0, 100, 100}, {-50, -50, 250, 250}},
  };
  for (const auto& c : cases) {
    TRect r = c.in;
    KeepHalfInside(r, c.bounds);
    EXPECT_EQ(r, c.expected) << c.in.left << "," << c.in.top;
  }
}

TEST(TextTools, AsciiCaseLineBreakTagsAndSplitAtFirstSpace) {
  EXPECT_EQ(LowerAscii("@AZ[`az{\xC4"), "@az[`az{\xC4");  // ASCII letters only
  EXPECT_EQ(UpperAscii("@AZ[`az{\xE4"), "@AZ[`AZ{\xE4");
  EXPECT_EQ(LineBreaksToTags("a\r\nb\r\nc\nd"), "a&br;b&br;c\nd");  // only CR LF pairs
  EXPECT_EQ(TagsToLineBreaks("a&br;&br;b&BR;c"), "a\r\n\r\nb&BR;c");
  using P = std::pair<std::string, std::string>;
  EXPECT_EQ(SplitAtFirstSpace("time -s -24"), (P{"time", "-s -24"}));
  EXPECT_EQ(SplitAtFirstSpace("zone \"Pacific Time\""), (P{"zone", "Pacific Time"}));
  EXPECT_EQ(SplitAtFirstSpace("time"), (P{"time", ""}));
  EXPECT_EQ(SplitAtFirstSpace("x \""), (P{"x", "\""}));
  EXPECT_EQ(SplitAtFirstSpace("x \"\""), (P{"x", ""}));
  EXPECT_EQ(SplitAtFirstSpace(" lead"), (P{"", "lead"}));
}

TEST(TextTools, AccessKeysAreReadAndFreeLettersGiven) {
  for (const auto& [text, key] : {std::pair<const char*, char>{"Sa&ve", 'V'},
                                  {"&&amp; &x", 'X'},
                                  {"R&&D", 0},
                                  {"trailing&", 0}})
    EXPECT_EQ(AccessKeyOf(text), key) << text;
  using V = std::vector<std::string>;
  EXPECT_EQ(WithAccessKeys({"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}, "GODKTPFIUXSVLC"),
            (V{"&Mon", "Tu&e", "&Wed", "T&hu", "F&ri", "S&at", "Su&n"}));
  // A letter is given once; an "&" of the text stays an "&"; no free letter, no key.
  EXPECT_EQ(WithAccessKeys({"Mo", "mo", "R&D", "12"}, "O"), (V{"&Mo", "mo", "&R&&D", "12"}));
}

TEST(TextTools, FormatElementUnderTheCaret) {
  using R = std::optional<std::pair<std::size_t, std::size_t>>;
  const std::string text = "ab &time -s; <b>x</b> &&time;";
  EXPECT_EQ(FormatElementAt(text, 4), (R{{3, 11}}));    // just after the ampersand
  EXPECT_EQ(FormatElementAt(text, 11), (R{{3, 11}}));   // just before the semicolon
  EXPECT_EQ(FormatElementAt(text, 12), R{});            // just after it
  EXPECT_EQ(FormatElementAt(text, 14), (R{{13, 15}}));  // <b>
  EXPECT_EQ(FormatElementAt(text, 24), R{});            // after the second of &&
  EXPECT_EQ(FormatElementAt(text, 0), R{});
  EXPECT_EQ(FormatElementAt(text, 2), R{});
  EXPECT_EQ(FormatElementAt("&open", 2), R{});   // never closed
  EXPECT_EQ(FormatElementAt("&a &b;", 2), R{});  // another start before the end
  EXPECT_EQ(FormatElementAt("&a;x;", 4), R{});   // the element before has ended
  EXPECT_EQ(FormatElementAt("x", 5), R{});       // caret past the end
}

TEST(PlaceTools, FitOnMonitorKeepsSixteenPixelsInside) {
  const TRect work{0, 0, 1024, 728};
  EXPECT_EQ(FitOnMonitor(TPoint{1024 - 100, 100}, TPoint{200, 100}, work),
            (TPoint{1024 - 216, 100}));
  EXPECT_EQ(FitOnMonitor(TPoint{-50, -50}, TPoint{200, 100}, work), (TPoint{16, 16}));
  EXPECT_EQ(FitOnMonitor(TPoint{300, 700}, TPoint{200, 100}, work), (TPoint{300, 728 - 116}));
  // Larger than the work area: the left and top edges win.
  EXPECT_EQ(FitOnMonitor(TPoint{500, 500}, TPoint{2000, 2000}, work), (TPoint{16, 16}));
  TTestPlatform platform;
  platform.desktop.monitors = {{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
  EXPECT_EQ(FitOnMonitor(TPoint{1900, 700}, TPoint{200, 100}, TPoint{1500, 10}),
            (TPoint{2048 - 216, 768 - 40 - 116}));
}

TEST(PlaceTools, OwnedWindowsCentreOverTheirOwnerAndStepAsideOfWindowsOnTop) {
  TTestPlatform platform;
  platform.desktop.monitors = {{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
  EXPECT_EQ(CentredOver({1100, 100, 1500, 500}, {200, 100}), (TPoint{1200, 250}));
  // An owner in the corner of the second monitor: inside that monitor's work area.
  EXPECT_EQ(CentredOver({1900, 600, 2040, 720}, {400, 300}), (TPoint{2048 - 416, 768 - 40 - 316}));
  const TPoint size{300, 200};
  const struct {
    TPoint desired;
    std::vector<TRect> onTop;
    TPoint expected;
  } cases[] = {
      {{100, 100}, {}, {100, 100}},
      {{100, 100}, {{600, 100, 700, 200}}, {100, 100}},  // beside it already
      // Under the window's middle: to its right, the nearest free place (below is as near).
      {{100, 100}, {{150, 150, 250, 250}}, {258, 100}},
      // Its right blocked by a second one: below both.
      {{100, 100}, {{150, 150, 250, 250}, {300, 50, 700, 300}}, {100, 308}},
      // A tall one at the monitor's right edge: to its left, inside the work area.
      {{700, 300}, {{800, 100, 1008, 700}}, {492, 300}},
      // Nowhere free: where it covers least, here where it was.
      {{100, 100}, {{0, 0, 2048, 768}}, {100, 100}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AsideFrom(c.desired, size, c.onTop), c.expected) << c.desired.x << "," << c.desired.y;
}

TEST(PlatformTools, WeekdaysSoundsAndTime) {
  TTestPlatform platform;
  EXPECT_EQ(WeekdayName(0, false) + WeekdayName(9, false) + WeekdayName(5, true),
            "MondaySundaySat");  // out of range: the nearest day
  EXPECT_FALSE(PlaySoundFile("/no/such/file.wav", false));
  EXPECT_FALSE(PlaySoundFile("", true));
  const auto wave = std::filesystem::temp_directory_path() / "quorvel-test-chime.wav";
  std::ofstream(wave) << "RIFF";
  EXPECT_TRUE(PlaySoundFile(wave.string(), true));
  EXPECT_FALSE(PlaySoundFile(std::filesystem::temp_directory_path().string(), false));  // a folder
  StopSound();
  EXPECT_EQ(platform.sound.played, (std::vector<std::string>{wave.string() + " (loop)"}));
  EXPECT_EQ(platform.sound.purges, 1);
  std::filesystem::remove(wave);
  platform.clock.utc.wHour = 23;
  EXPECT_EQ(ReadUtcTime().wHour, 23);
  EXPECT_EQ(ReadLocalTime().wHour, platform.clock.local.wHour);
}

TEST(Version, TextAndRemark) {
  TVersionInfo v{2, 1, 9, 4, 0, true};
  EXPECT_EQ(v.Text(), "2.1.9.4");
  v.Flags = 0x2 | 0x1 | 0x8 | 0x20;
  EXPECT_EQ(v.Text(), "2.1.9.4 (preview, debug, private, special build)");
  EXPECT_EQ(v.MajorMinor() + " " + v.ReleaseBuild(), "2.1 9.4");
  const TVersionInfo none;
  EXPECT_EQ(none.Text(), "unable to get version info");
  EXPECT_EQ(none.MajorMinor() + none.ReleaseBuild(), "??");
}

}  // namespace
