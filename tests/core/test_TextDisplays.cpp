#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uDisplayKinds.h"
#include "kinds/uFontOptions.h"
#include "support/uTestPlatform.h"

namespace {

// The style codes and the prefixed names are checked with every kind's stored values.
TEST(FontOptions, PointsBecomePixelsAtTheDisplaysResolutionAndAnEmptyPrefixAddsNothing) {
  TTestPlatform platform;
  TMemoryBitmap bitmap;
  TFontOptions font("Font");
  font.Size = 28;
  font.CharSet = 0x1EE;  // only the low byte means something
  font.AssignToFont(bitmap.Canvas(), 96);
  EXPECT_EQ(bitmap.Canvas().Font().height, -37);  // 28 * 96 / 72 = 37.33
  EXPECT_EQ(bitmap.Canvas().Font().charSet, 0xEE);
  font.AssignToFont(bitmap.Canvas(), 144);
  EXPECT_EQ(bitmap.Canvas().Font().height, -56);
  EXPECT_EQ(bitmap.Canvas().FontColor(), 0xFFFFFFu);
  EXPECT_EQ(font.Describe(), "28pt Arial");

  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\F", true));
  TFontOptions("").SaveToRegistry(reg);
  EXPECT_TRUE(reg.ValueExists("FontName"));
  TFontOptions untouched("Missing");
  untouched.Size = 99;
  untouched.LoadFromRegistry(reg);
  EXPECT_EQ(untouched.Size, 99);
}

class TextDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock->Font.OutlineWidth = 0;
    clock->Shadow = 0;
  }
  TMemoryBitmap& Bitmap() { return TTestPlatform::BitmapOf(*clock); }
  int WidthFor(const std::string& text) {
    clock->SetText(text);
    clock->Repaint();
    return Bitmap().Width();
  }
  TTestPlatform platform;
  std::unique_ptr<TDisplayDigitalClock> clock = TDisplay::Create<TDisplayDigitalClock>();
};

TEST_F(TextDisplayTest, WidthGrowsAndShrinksWithSlackKeepingTheAlignedEdge) {
  clock->Alignment = 1;  // right
  clock->SetActive(true);
  Bitmap().Recorder().lineWidths = {{"W", 20}, {"a", 100}, {"b", 104}, {"c", 150},
                                    {"d", 60}, {"e", 101}, {"f", 140}};
  const std::pair<const char*, int> widths[] = {
      {"a", 160},  // 100 + 20 + two "W"
      {"f", 160},  // 140 + 20 fits exactly
      {"b", 160},  // still fits
      {"c", 210},  // grows
      {"d", 120},  // more than two "W" left over: shrinks
      {"e", 162},  // 101 counts as 102
  };
  const int right = clock->Window()->Bounds().right;
  for (const auto& [text, width] : widths) {
    EXPECT_EQ(WidthFor(text), width) << text;
    EXPECT_EQ(clock->Window()->Bounds().right, right) << text;
  }
  EXPECT_EQ(Bitmap().Height(), 16 + 16);
  clock->Alignment = 2;
  const TRect before = clock->Window()->Bounds();
  WidthFor("c");
  const TRect after = clock->Window()->Bounds();
  EXPECT_NEAR((after.left + after.right) / 2.0, (before.left + before.right) / 2.0, 1.0);
  // Wider than a window can be: it stays where it is, repaint after repaint.
  clock->Alignment = 1;
  Bitmap().Recorder().charWidth = 20;
  WidthFor(std::string(100, 'x'));
  const TRect wide = clock->Window()->Bounds();
  WidthFor(std::string(100, 'x'));
  EXPECT_EQ(clock->Window()->Bounds(), wide);
  EXPECT_EQ(wide.Width(), MaxDisplayWidth);
}

TEST_F(TextDisplayTest, ExtremeStoredNumbersDrawWithinWhatAWindowShows) {
  // The last four are the window's bounds: stored back as the window has them.
  // clang-format off
  const char* names[] = {"Font_OutlineWidth", "Font_FontSize", "Shadow", "BevelWidth",
                         "Width", "Height", "Left", "Top"};
  // clang-format on
  TVarnRegistry reg;
  for (const bool background : {false, true})
    for (std::size_t i = 0; i < std::size(names); ++i)
      for (const std::int32_t value : {INT32_MAX, INT32_MIN}) {
        reg.DeleteKey("Software\\X");
        ASSERT_TRUE(reg.OpenKey("Software\\X", true));
        reg.WriteBool("HasBackground", background);
        reg.WriteInteger(names[i], value);
        auto d = TDisplay::Create<TDisplayDigitalClock>();
        d->LoadFromRegistry(reg, false);
        d->Show();
        TMemoryBitmap& bitmap = TTestPlatform::BitmapOf(*d);
        const std::string where = std::string(names[i]) + "=" + std::to_string(value);
        EXPECT_LE(bitmap.Width(), MaxDisplayWidth) << where;
        EXPECT_LE(bitmap.Height(), MaxDisplayHeight) << where;
        EXPECT_LE(std::abs(bitmap.Canvas().Font().height), MaxDisplayHeight) << where;
        // A few milliseconds of drawing: the bevel's lines and the outline's
        // rings are bounded.
        EXPECT_LE(bitmap.Recorder().calls.size(),
                  std::size_t{MaxDisplayHeight + 13 * MaxOutlineWidth + 4})
            << where;
        d->SaveToRegistry(reg, false);
        if (i < 4) {
          EXPECT_EQ(reg.ReadInteger(names[i]), value) << where;
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
  EXPECT_EQ(texts.front().brushStyle, TBrushStyle::Clear);  // no box behind the text
  // Measured in the display's own font.
  const TFontSpec& measured = Bitmap().Recorder().measureFonts.front();
  EXPECT_EQ(measured.height, -37);
  EXPECT_TRUE(measured.bold && !measured.italic && !measured.underline && !measured.strikeOut);
  EXPECT_EQ(texts.front().fontQuality, TFontQuality::NonAntialiased);
  const TRect& text = texts.back().rect;
  EXPECT_EQ(texts.front().rect,
            (TRect{text.left + 4, text.top + 4, text.right + 4, text.bottom + 4}));
  EXPECT_EQ(texts.back().text, "A&B");
  EXPECT_TRUE(texts.back().format & TextFormat::NoPrefix);

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
  EXPECT_EQ(drawnTexts(), 2 * 13 + 1);  // never a shadow on a background
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
  EXPECT_EQ(calls[calls.size() - 2].fontColor,
            0x222222u);  // the outline's last copy
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
  for (const auto& [text, renders] :
       {std::pair{"&time -s;", 60}, {"&hh;:&nn;", 1}, {"&hh;:&nn;:&ss;", 60}, {"&time;", 1}}) {
    clock->SetText(text);
    EXPECT_EQ(rendersOverAMinute(), renders) << text;
    EXPECT_EQ(clock->NeedsSeconds(), renders == 60) << text;
  }
  clock->SetText(" \r\n\t");
  EXPECT_EQ(clock->Text(), "no text");
  clock->SetText("&bogus;");
  clock->Repaint();  // an element in error still renders
  EXPECT_GT(Bitmap().Width(), 20);
}

TEST_F(TextDisplayTest, StoredUnderTheirOwnNamesInOrderWithTheirDefaults) {
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays\\000", true));
  TDisplay::Create<TDisplayDigitalClock>()->SaveToRegistry(reg, false);
  // Every value in its stored order, as a new digital clock stores it.
  std::string stored;
  for (const auto& [name, data] : reg.ReadAllValues())
    stored += name + "=" +
              (data.type == rtInteger  ? std::to_string(reg.ReadInteger(name))
               : data.type == rtBinary ? std::to_string(reg.ReadFloatDef(name, -1))
                                       : reg.ReadString(name)) +
              " ";
  // It stands on the only monitor, 100 pixels from the top-left of its work area.
  EXPECT_EQ(stored,
            "=2 Transparent=0 AlphaBlendValue=255 AlwaysOnTop=1 Active=0 Left=100 Top=100 Width=20 "
            "Height=20 Description= Text=&ldate;&br;&time; Monitor=\\\\.\\DISPLAY1 MonitorLeft=0 "
            "MonitorTop=0 MonitorRight=1024 MonitorBottom=768 MonitorPlaceX=0.099602 "
            "MonitorPlaceY=0.141243 Font_FontName=Arial Font_FontCharSet=1 "
            "Font_FontColor=4182015 Font_FontStyle=1 Font_FontSize=28 Font_OutlineColor=4210752 "
            "Font_OutlineWidth=2 Font_3D=1 Alignment=0 Shadow=6 ShadowColor=6316128 "
            "HasBackground=0 BackgroundColor=15895190 BevelWidth=2 BevelColor=15895190 Bevel3D=1 ");
}

class DisplayListStorageTest : public ::testing::Test {
 protected:
  // Opens the list's key, or one display's key under it.
  static void Open(TVarnRegistry& reg, const std::string& display = "", bool create = true) {
    const std::string key = "\\Software\\Quorvel II\\Displays";
    ASSERT_TRUE(reg.OpenKey(display.empty() ? key : key + "\\" + display, create)) << display;
  }
  TTestPlatform platform;
  TDisplayList list{CreateDisplay};
};

TEST_F(DisplayListStorageTest, FirstStartMakesTheDefaultClockAndSavingFewerRemovesTheRest) {
  list.Load();
  EXPECT_FALSE(TVarnRegistry().KeyExists("Software\\Quorvel II\\Displays"));  // read, not made
  list.Load();  // loading again replaces what was loaded
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[0].Kind(), dkDigitalClock);
  EXPECT_EQ(list[0].Description, "Default display");
  EXPECT_TRUE(list[0].IsActive());
  list.Save();
  TVarnRegistry reg;
  Open(reg, "", false);
  EXPECT_EQ(reg.ReadInteger("Count"), 1);
  EXPECT_EQ(reg.ReadInteger("Primary"), 0);
  Open(reg, "000", false);
  EXPECT_EQ(reg.ReadString(""), "2");

  for (int i = 0; i < 4; ++i) list.Add(dkDigitalClock);
  list.Primary = &list[3];
  list.Save();
  Open(reg, "", false);
  EXPECT_EQ(reg.ReadInteger("Primary"), 3);
  list.Delete(&list[4]);
  list.Delete(&list[3]);
  list.Primary = &list[1];
  list.Delete(&list[1]);
  EXPECT_EQ(list.Primary, nullptr);
  list.Save();
  Open(reg, "", false);
  std::vector<std::string> keys;
  reg.GetKeyNames(keys);
  EXPECT_EQ(keys, (std::vector<std::string>{"000", "001"}));
  EXPECT_EQ(reg.ReadInteger("Primary"), -1);
}

// A kind stored as an integer or a decimal string loads as that kind; a display
// whose kind cannot be read or is unknown is kept exactly as stored.
TEST_F(DisplayListStorageTest, KindsFromIntegersAndStringsAndUnreadableOnesKept) {
  {
    TVarnRegistry reg;
    Open(reg);
    reg.WriteInteger("Count", 8);
    reg.WriteInteger("Primary", 0);
    // Key, kind (none when null), description; 001 is missing, 008 lies beyond
    // the count.
    const std::tuple<const char*, const char*, const char*> stored[] = {
        {"005", nullptr, "fourth"}, {"000", "2x", "first"}, {"003", "257", "analog"},
        {"004", "9", "second"},     {"006", "2", "clock"},  {"008", "2", "beyond"}};
    for (const auto& [key, kind, description] : stored) {
      Open(reg, key);
      if (kind) reg.WriteString("", kind);
      reg.WriteString("Description", description);
    }
    Open(reg, "002");
    reg.WriteInteger("", 3);
    reg.WriteString("DTA", " days ");
    reg.WriteBool("Active", false);
  }
  list.Load();
  std::vector<std::uint8_t> kinds;
  for (std::size_t i = 0; i < list.Count(); ++i) kinds.push_back(list[i].Kind());
  EXPECT_EQ(kinds,
            (std::vector<std::uint8_t>{0, dkCountdown, dkAnalogClock, 9, 0, dkDigitalClock}));
  EXPECT_EQ(list.Primary, &list[0]);
  EXPECT_EQ(static_cast<TDisplayCountdown&>(list[1]).DaysAfter, " days ");
  EXPECT_TRUE(list[1].Dirty());  // drawn afresh at the next tick
  for (const std::size_t inactive : {0, 1, 3}) EXPECT_FALSE(list[inactive].IsActive()) << inactive;
  EXPECT_EQ(list[5].Description, "clock");  // the load went on past them
  EXPECT_TRUE(list[5].IsActive());
  list.Save();
  TVarnRegistry reg;
  Open(reg, "001", false);
  EXPECT_EQ(reg.ReadString(""), "3");
  EXPECT_EQ(reg.ReadString("DTA"), " days ");
  EXPECT_TRUE(reg.ValueExists("Left"));  // the whole display, not only its look
  for (const auto& [key, kind, description] :
       {std::tuple{"000", "2x", "first"}, {"003", "9", "second"}}) {
    Open(reg, key, false);
    EXPECT_EQ(reg.ReadString(""), kind);
    EXPECT_EQ(reg.ReadString("Description"), description);
  }
}

TEST_F(DisplayListStorageTest, TheCountAndTheKeysThatExistSayHowManyLoad) {
  std::vector<std::string> twentyFive;
  for (std::size_t i = 0; i < 25; ++i) twentyFive.push_back(ListItemKeyName(i));
  const struct {
    std::optional<std::int32_t> count;
    std::vector<std::string> keys;
    std::size_t loaded;
    std::int32_t primary;
    int primaryAt;  // where the loaded list's primary is, -1 for none
  } cases[] = {
      {std::nullopt, {}, 1, -1, 0},  // an empty key: the default clock
      {0, {"000"}, 0, 0, -1},        // none, and no default clock either
      // Only the keys that exist are read: trying every number would not return
      // for long.
      {2'000'000'000, {"000", "005", "999999999", "notes"}, 3, 3, -1},
      {25, twentyFive, 20, 19, 19},  // the first twenty
  };
  for (const auto& c : cases) {
    TVarnRegistry reg;
    reg.DeleteKey("Software\\Quorvel II");
    Open(reg);
    if (c.count) reg.WriteInteger("Count", *c.count);
    if (c.count) reg.WriteInteger("Primary", c.primary);
    for (const std::string& key : c.keys) {
      Open(reg, key);
      if (key == "notes") continue;  // a key that is no display's
      reg.WriteString("", "2");
      reg.WriteBool("Active", false);
      reg.WriteString("Description", key);
    }
    reg.CloseKey();
    list.Load();
    ASSERT_EQ(list.Count(), c.loaded) << c.count.value_or(-1);
    if (c.count && c.loaded) {
      EXPECT_EQ(list[c.loaded - 1].Description, c.keys[c.loaded - 1]) << *c.count;
    }
    EXPECT_EQ(list.Primary, c.primaryAt < 0 ? nullptr : &list[std::size_t(c.primaryAt)]);
  }
}

}  // namespace
