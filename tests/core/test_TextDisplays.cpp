#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uFontOptions.h"
#include "support/uTestPlatform.h"

namespace {

TEST(FontOptions, PrefixesStyleCodesAndDescription) {
  TTestPlatform platform;
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\F", true));
  TAdvancedFontOptions font("Font");
  font.Style = {true, false, true, false};  // bold and underline
  font.Size = 28;
  font.ThreeD = true;
  font.SaveToRegistry(reg);
  std::vector<std::string> names;
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Font_FontName", "Font_FontCharSet", "Font_FontColor",
                                             "Font_FontStyle", "Font_FontSize", "Font_OutlineColor",
                                             "Font_OutlineWidth", "Font_3D"}));
  TAdvancedFontOptions loaded("Font");
  loaded.LoadFromRegistry(reg);
  EXPECT_EQ(loaded.Style, (TFontStyles{true, false, false, false}));  // underline is not stored
  EXPECT_TRUE(loaded.ThreeD);
  EXPECT_EQ(loaded.Describe(), "28pt Arial");

  reg.WriteInteger("Font_FontStyle", 19);
  loaded.LoadFromRegistry(reg);
  EXPECT_EQ(loaded.Style, (TFontStyles{true, true, false, false}));

  TFontOptions plain("");
  plain.SaveToRegistry(reg);
  EXPECT_TRUE(reg.ValueExists("FontName"));
  TFontOptions untouched("Missing");
  untouched.Size = 99;
  untouched.LoadFromRegistry(reg);
  EXPECT_EQ(untouched.Size, 99);
}

TEST(FontOptions, PointsBecomePixelsAtTheScreensResolution) {
  TTestPlatform platform;
  TMemoryBitmap bitmap;
  TFontOptions font("Font");
  font.Size = 28;
  font.CharSet = 0x1EE;  // only the low byte means something
  Platform().pixelsPerInch = 96;
  font.AssignToFont(bitmap.Canvas());
  EXPECT_EQ(bitmap.Canvas().Font().height, -37);  // 28 * 96 / 72 = 37.33
  EXPECT_EQ(bitmap.Canvas().Font().charSet, 0xEE);
  Platform().pixelsPerInch = 144;
  font.AssignToFont(bitmap.Canvas());
  EXPECT_EQ(bitmap.Canvas().Font().height, -56);
  EXPECT_EQ(bitmap.Canvas().FontColor(), 0xFFFFFFu);
}

class TextDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = TDisplay::Create<TDisplayDigitalClock>();
    clock->Font.OutlineWidth = 0;
    clock->Shadow = 0;
  }
  TMemoryBitmap& Bitmap() { return TTestPlatform::BitmapOf(*clock); }
  int WidthFor(int characters) {
    clock->SetText(std::string(static_cast<std::size_t>(characters), 'x'));
    clock->Repaint();
    return Bitmap().Width();
  }
  TTestPlatform platform;
  std::unique_ptr<TDisplayDigitalClock> clock;
};

TEST_F(TextDisplayTest, WidthGrowsAndShrinksWithSlack) {
  clock->SetActive(true);
  auto& recorder = Bitmap().Recorder();
  recorder.lineWidths = {{"W", 20}, {"a", 100}, {"b", 104}, {"c", 150},
                         {"d", 60}, {"e", 101}, {"f", 140}};
  const auto widthFor = [&](const char* text) {
    clock->SetText(text);
    clock->Repaint();
    return Bitmap().Width();
  };
  EXPECT_EQ(widthFor("a"), 160);  // 100 + 20 + two "W"
  EXPECT_EQ(widthFor("f"), 160);  // 140 + 20 fits exactly
  EXPECT_EQ(widthFor("b"), 160);  // still fits
  EXPECT_EQ(widthFor("c"), 210);  // grows
  EXPECT_EQ(widthFor("d"), 120);  // more than two "W" left over: shrinks
  EXPECT_EQ(widthFor("e"), 162);  // 101 counts as 102
  EXPECT_EQ(Bitmap().Height(), 16 + 16);
}

TEST_F(TextDisplayTest, RightAlignedTextKeepsTheRightEdge) {
  clock->Alignment = 1;
  clock->SetActive(true);
  Bitmap().Recorder().charWidth = 20;
  WidthFor(10);
  const int right = clock->Window()->Bounds().right;
  WidthFor(2);  // much shorter
  EXPECT_EQ(clock->Window()->Bounds().right, right);
  clock->Alignment = 2;
  const TRect before = clock->Window()->Bounds();
  WidthFor(12);
  const TRect after = clock->Window()->Bounds();
  EXPECT_NEAR((after.left + after.right) / 2.0, (before.left + before.right) / 2.0, 1.0);
  // Wider than a window can be: it stays where it is, repaint after repaint.
  clock->Alignment = 1;
  WidthFor(100);
  const TRect wide = clock->Window()->Bounds();
  WidthFor(100);
  EXPECT_EQ(clock->Window()->Bounds(), wide);
  EXPECT_EQ(wide.Width(), MaxDisplayWidth);
}

TEST_F(TextDisplayTest, ExtremeStoredNumbersDrawWithinWhatAWindowShows) {
  struct Stored {
    const char* name;
    bool geometry;  // the window's own bounds are stored back, not the value
  };
  const Stored values[] = {{"Font_OutlineWidth", false},
                           {"Font_FontSize", false},
                           {"Shadow", false},
                           {"BevelWidth", false},
                           {"Width", true},
                           {"Height", true},
                           {"Left", true},
                           {"Top", true}};
  TVarnRegistry reg;
  for (const bool background : {false, true})
    for (const auto [name, geometry] : values)
      for (const std::int32_t value : {INT32_MAX, INT32_MIN}) {
        reg.DeleteKey("Software\\X");
        ASSERT_TRUE(reg.OpenKey("Software\\X", true));
        reg.WriteBool("HasBackground", background);
        reg.WriteInteger(name, value);
        auto d = TDisplay::Create<TDisplayDigitalClock>();
        d->LoadFromRegistry(reg, false);
        d->Show();
        TMemoryBitmap& bitmap = TTestPlatform::BitmapOf(*d);
        const std::string where = std::string(name) + "=" + std::to_string(value);
        EXPECT_LE(bitmap.Width(), MaxDisplayWidth) << where;
        EXPECT_LE(bitmap.Height(), MaxDisplayHeight) << where;
        EXPECT_LE(std::abs(bitmap.Canvas().Font().height), MaxDisplayHeight) << where;
        // A few milliseconds of drawing: the bevel's lines and the outline's rings are bounded.
        EXPECT_LE(bitmap.Recorder().calls.size(),
                  std::size_t{MaxDisplayHeight + 13 * MaxOutlineWidth + 4})
            << where;
        d->SaveToRegistry(reg, false);
        if (!geometry) {
          EXPECT_EQ(reg.ReadInteger(name), value) << where;
        }
      }
}

TEST_F(TextDisplayTest, DrawingWithShadowOutlineAndBackground) {
  clock->SetActive(true);
  clock->Shadow = 4;
  clock->Font.OutlineWidth = 2;
  clock->SetText("A&B");
  clock->Repaint();
  std::vector<TCanvasCall> texts;
  for (const auto& c : Bitmap().Recorder().calls)
    if (c.op == "DrawText") texts.push_back(c);
  ASSERT_EQ(texts.size(), 1u + 2 * 13 + 1);  // shadow, two rings, the text
  EXPECT_EQ(texts.front().fontColor, clock->ShadowColor);
  EXPECT_EQ(texts.front().brushStyle, TBrushStyle::Clear);               // no box behind the text
  const TFontSpec& measured = Bitmap().Recorder().measureFonts.front();  // the display's own font
  EXPECT_EQ(measured.height, -37);
  EXPECT_EQ(
      std::vector<bool>({measured.bold, measured.italic, measured.underline, measured.strikeOut}),
      std::vector<bool>({true, false, false, false}));
  EXPECT_EQ(texts.front().fontQuality, TFontQuality::NonAntialiased);
  const TRect& text = texts.back().rect;
  EXPECT_EQ(texts.front().rect,
            (TRect{text.left + 4, text.top + 4, text.right + 4, text.bottom + 4}));
  EXPECT_EQ(texts.back().text, "A&B");
  EXPECT_TRUE(texts.back().format & TextFormat::NoPrefix);
  EXPECT_EQ(texts.back().rect.left, 10);  // left alignment, 10 pixels in
  EXPECT_EQ(texts.back().rect.top, 5);

  const auto drawnTexts = [&] {
    Bitmap().Recorder().calls.clear();
    clock->Repaint();
    int drawn = 0;
    for (const auto& c : Bitmap().Recorder().calls) drawn += c.op == "DrawText";
    return drawn;
  };
  clock->Shadow = 0;
  EXPECT_EQ(drawnTexts(), 2 * 13 + 1);  // no shadow
  clock->Shadow = 1;
  EXPECT_EQ(drawnTexts(), 1 + 2 * 13 + 1);
  // On the colour key, so that only the text shows on the desktop.
  EXPECT_EQ(Bitmap().Recorder().calls.front().op, "FillRect");
  EXPECT_EQ(Bitmap().Recorder().calls.front().brushColor, clColorKey);
  clock->Shadow = 1000;  // far, but still within the largest bitmap's reach
  drawnTexts();
  std::vector<int> shadows;
  for (const auto& c : Bitmap().Recorder().calls)
    if (c.op == "DrawText" && c.fontColor == clock->ShadowColor) shadows.push_back(c.rect.left);
  EXPECT_EQ(shadows, std::vector<int>{10 + 1000});
  clock->Shadow = 4;
  clock->HasBackground = true;
  clock->Width = 300;
  clock->Height = 80;
  EXPECT_EQ(drawnTexts(), 2 * 13 + 1);  // never a shadow on a background
  EXPECT_EQ(Bitmap().Width(), 300);
  EXPECT_EQ(Bitmap().Height(), 80);
}

TEST_F(TextDisplayTest, TextPlacedByAlignmentOrBackgroundAndFlashColours) {
  clock->SetActive(true);
  clock->Show();
  Bitmap().Recorder().lineWidths = {{"W", 20}, {"abc", 100}};
  clock->SetText("abc");  // 100 + 20 + two "W": a bitmap 160 wide
  clock->Width = 300;
  clock->Height = 80;
  clock->Shadow = 3;
  struct Case {
    std::uint8_t alignment;
    bool background;
    TRect text;
    unsigned flag;
  };
  const Case cases[] = {
      {0, false, {10, 5, 110, 21}, TextFormat::Left},
      {1, false, {40, 5, 140, 21}, TextFormat::Right},   // 160 - 100 - 20
      {2, false, {20, 5, 120, 21}, TextFormat::Center},  // (160 - 100) / 2 - 10
      {1, true, {6, 6, 294, 74}, TextFormat::Right}};    // the bevel (2) and 4 more inside
  for (const Case& c : cases) {
    clock->Alignment = c.alignment;
    clock->HasBackground = c.background;
    Bitmap().Recorder().calls.clear();
    clock->Repaint();
    const auto& calls = Bitmap().Recorder().calls;
    EXPECT_EQ(calls.back().rect, c.text) << int{c.alignment} << c.background;
    // The glyphs and, without a background, the shadow before them.
    const unsigned alignment = TextFormat::Right | TextFormat::Center;
    EXPECT_EQ(calls.back().format & alignment, c.flag) << int{c.alignment};
    if (!c.background) {
      EXPECT_EQ(calls[calls.size() - 2].format & alignment, c.flag) << int{c.alignment};
    }
  }
  clock->Shadow = 0;
  clock->Font.ThreeD = false;
  clock->Font.OutlineWidth = 1;
  clock->Flash(0x111111, 0x222222);
  Bitmap().Recorder().calls.clear();
  clock->Tick(false, false, true, 1);  // odd second: the flash phase
  const auto& calls = Bitmap().Recorder().calls;
  EXPECT_EQ(calls.back().fontColor, 0x111111u);
  EXPECT_EQ(calls[calls.size() - 2].fontColor, 0x222222u);  // the outline's last copy
}

TEST_F(TextDisplayTest, RendersEverySecondOnlyWhenTheTemplateShowsSeconds) {
  clock->SetActive(true);
  clock->Show();
  auto& window = TTestPlatform::WindowOf(*clock);
  const auto rendersOverAMinute = [&] {
    const int before = window.drawCount;
    for (int second = 1; second < 60; ++second) clock->Tick(false, false, true, second);
    clock->Tick(false, true, true, 0);
    return window.drawCount - before;
  };
  EXPECT_EQ(rendersOverAMinute(), 1);  // the default template: once, at the minute
  clock->SetText("&time -s;");
  EXPECT_EQ(rendersOverAMinute(), 60);
  clock->SetText("&hh;:&nn;");
  EXPECT_EQ(rendersOverAMinute(), 1);
}

TEST_F(TextDisplayTest, BlankTextsAndSecondsCadence) {
  clock->SetText(" \r\n\t");
  EXPECT_EQ(clock->Text(), "no text");
  clock->SetText("&time;");
  EXPECT_FALSE(clock->NeedsSeconds());
  clock->SetText("&hh;:&nn;:&ss;");
  EXPECT_TRUE(clock->NeedsSeconds());
  clock->SetText("&bogus;");
  clock->SetActive(true);
  clock->Repaint();  // an element in error still renders
  EXPECT_GT(Bitmap().Width(), 20);
}

TEST_F(TextDisplayTest, StoredUnderTheirOwnNamesInOrderWithTheirDefaults) {
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays\\000", true));
  TDisplay::Create<TDisplayDigitalClock>()->SaveToRegistry(reg, false);
  // Every value in its stored order, as a new digital clock stores it.
  // clang-format off
  const std::pair<const char*, std::string> defaults[] = {
      {"", "2"}, {"Transparent", "0"}, {"AlphaBlendValue", "255"}, {"AlwaysOnTop", "1"},
      {"Active", "0"}, {"Left", "100"}, {"Top", "100"}, {"Width", "20"}, {"Height", "20"},
      {"Description", ""}, {"Text", "&ldate;&br;&time;"}, {"Font_FontName", "Arial"},
      {"Font_FontCharSet", "1"}, {"Font_FontColor", "4182015"}, {"Font_FontStyle", "1"},
      {"Font_FontSize", "28"}, {"Font_OutlineColor", "4210752"}, {"Font_OutlineWidth", "2"},
      {"Font_3D", "1"}, {"Alignment", "0"}, {"Shadow", "6"}, {"ShadowColor", "6316128"},
      {"HasBackground", "0"}, {"BackgroundColor", "15895190"}, {"BevelWidth", "2"},
      {"BevelColor", "15895190"}, {"Bevel3D", "1"}};
  // clang-format on
  std::vector<std::string> names;
  reg.GetValueNames(names);
  ASSERT_EQ(names.size(), std::size(defaults));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i], defaults[i].first);
    const std::string stored = reg.GetDataType(names[i]) == rtInteger
                                   ? std::to_string(reg.ReadInteger(names[i]))
                                   : reg.ReadString(names[i]);
    EXPECT_EQ(stored, defaults[i].second) << names[i];
  }
}

class DisplayListStorageTest : public ::testing::Test {
 protected:
  std::int32_t Stored(const std::string& key, const std::string& name) {
    TVarnRegistry reg;
    return reg.OpenKey(key, false) ? reg.ReadIntegerDef(name, -9) : -8;
  }
  TTestPlatform platform;
  TDisplayList list;
};

TEST_F(DisplayListStorageTest, FirstStartMakesTheDefaultClock) {
  list.Load();
  EXPECT_FALSE(TVarnRegistry().KeyExists("Software\\Quorvel II\\Displays"));  // read, not made
  list.Load();  // loading again replaces what was loaded
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[0].Kind(), dkDigitalClock);
  EXPECT_EQ(list[0].Description, "Default display");
  EXPECT_TRUE(list[0].IsActive());
  EXPECT_EQ(list.Primary, &list[0]);
  list.Save();
  EXPECT_EQ(Stored("Software\\Quorvel II\\Displays", "Count"), 1);
  EXPECT_EQ(Stored("Software\\Quorvel II\\Displays", "Primary"), 0);
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays\\000", false));
  EXPECT_EQ(reg.ReadString(""), "2");
}

TEST_F(DisplayListStorageTest, SavingFewerDisplaysRemovesTheRest) {
  list.Load();  // the default clock
  for (int i = 0; i < 4; ++i) list.Add(dkDigitalClock);
  list.Primary = &list[3];
  list.Save();
  EXPECT_EQ(Stored("Software\\Quorvel II\\Displays", "Primary"), 3);
  list.Delete(&list[4]);
  list.Delete(&list[3]);
  list.Primary = &list[1];
  list.Delete(&list[1]);
  EXPECT_EQ(list.Primary, nullptr);
  list.Save();
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays", false));
  std::vector<std::string> keys;
  reg.GetKeyNames(keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"000", "001"}));
  EXPECT_EQ(reg.ReadInteger("Primary"), -1);
}

TEST_F(DisplayListStorageTest, KindsFromIntegersStringsAndGaps) {
  {
    TVarnRegistry reg;
    reg.OpenKey("Software\\Quorvel II\\Displays", true);
    reg.WriteInteger("Count", 4);
    reg.WriteInteger("Primary", 3);
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\000", true);
    reg.WriteString("", "2");
    reg.WriteString("Description", "clock");
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\002", true);
    reg.WriteInteger("", 3);  // a countdown stored as an integer
    reg.WriteString("DTA", " days ");
    reg.WriteBool("Active", false);
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\003", true);
    reg.WriteString("", "257");                                  // lowest 8 bits: 1
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\004", true);  // beyond Count: not read
    reg.WriteString("", "2");
  }
  list.Load();
  ASSERT_EQ(list.Count(), 3u);  // 001 is missing
  EXPECT_EQ(list[0].Description, "clock");
  EXPECT_EQ(list[1].Kind(), dkCountdown);
  EXPECT_EQ(list[2].Kind(), dkAnalogClock);
  EXPECT_EQ(list.Primary, nullptr);  // index 3 no longer exists
  EXPECT_EQ(static_cast<TDisplayCountdown&>(list[1]).DaysAfter, " days ");
  EXPECT_TRUE(list[1].Dirty());  // drawn afresh at the next tick
  EXPECT_FALSE(list[1].IsActive());
  list.Save();
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays\\001", false));
  EXPECT_EQ(reg.ReadString("DTA"), " days ");
  EXPECT_TRUE(reg.ValueExists("Left"));  // the whole display, not only its look
  EXPECT_EQ(reg.ReadString(""), "3");
}

TEST_F(DisplayListStorageTest, DisplaysOfUnreadableOrUnknownKindsAreKeptAsStored) {
  {
    TVarnRegistry reg;
    reg.OpenKey("Software\\Quorvel II\\Displays", true);
    reg.WriteInteger("Count", 4);
    reg.WriteInteger("Primary", 0);
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\003", true);
    reg.WriteString("Text", "fourth");  // no kind at all
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\000", true);
    reg.WriteString("", "2x");  // not a decimal number
    reg.WriteString("Text", "first");
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\001", true);
    reg.WriteString("", "9");  // a kind this version does not know
    reg.WriteString("Text", "second");
    reg.OpenKey("\\Software\\Quorvel II\\Displays\\002", true);
    reg.WriteString("", "2");
    reg.WriteString("Text", "third");
  }
  list.Load();
  ASSERT_EQ(list.Count(), 4u);
  EXPECT_EQ(list[3].Kind(), 0);
  EXPECT_EQ(list.Primary, &list[0]);
  EXPECT_FALSE(list[0].IsActive());
  EXPECT_FALSE(list[1].IsActive());
  EXPECT_EQ(list[0].Kind(), 0);  // no kind it could read
  EXPECT_EQ(list[1].Kind(), 9);
  EXPECT_EQ(list[2].Text(), "third");  // the load went on past them
  EXPECT_TRUE(list[2].IsActive());
  list.Save();
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays\\000", false));
  EXPECT_EQ(reg.ReadString(""), "2x");
  EXPECT_EQ(reg.ReadString("Text"), "first");
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quorvel II\\Displays\\001", false));
  EXPECT_EQ(reg.ReadString(""), "9");
  EXPECT_EQ(reg.ReadString("Text"), "second");
}

TEST_F(DisplayListStorageTest, TheCountAndTheKeysThatExistSayHowManyLoad) {
  std::vector<std::string> twentyFive;
  for (int i = 0; i < 25; ++i) twentyFive.push_back(ListItemKeyName(static_cast<std::size_t>(i)));
  const struct {
    std::optional<std::int32_t> count;
    std::vector<std::string> keys;
    std::size_t loaded;
  } cases[] = {
      {std::nullopt, {}, 1},  // an empty key: the default clock
      {0, {"000"}, 0},        // none, and no default clock either
      // Only the keys that exist are read: trying every number would not return for long.
      {2'000'000'000, {"000", "005", "999999999", "notes"}, 3},
      {25, twentyFive, 20},  // the first twenty
  };
  for (const auto& c : cases) {
    TVarnRegistry reg;
    reg.DeleteKey("Software\\Quorvel II");
    reg.OpenKey("Software\\Quorvel II\\Displays", true);
    if (c.count) reg.WriteInteger("Count", *c.count);
    for (const std::string& key : c.keys) {
      reg.OpenKey("\\Software\\Quorvel II\\Displays\\" + key, true);
      if (key == "notes") continue;  // a key that is no display's
      reg.WriteString("", "2");
      reg.WriteBool("Active", false);
      reg.WriteString("Description", key);
    }
    reg.CloseKey();
    list.Load();
    ASSERT_EQ(list.Count(), c.loaded) << c.count.value_or(-1);
    if (!c.keys.empty() && c.loaded) {
      EXPECT_EQ(list[c.loaded - 1].Description, c.keys[c.loaded - 1]) << *c.count;
    }
  }
}

}  // namespace
