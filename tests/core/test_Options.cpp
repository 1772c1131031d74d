#include <gtest/gtest.h>

#include "config/uOptions.h"
#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProduct[] = "Software\\Quorvel II\\";

class OptionsTest : public ::testing::Test {
 protected:
  std::string StoredString(const std::string& key, const std::string& name) {
    TVarnRegistry reg;
    return reg.OpenKey(key, false) ? reg.ReadStringDef(name, "<none>") : "<no key>";
  }
  std::int32_t StoredInteger(const std::string& key, const std::string& name) {
    TVarnRegistry reg;
    return reg.OpenKey(key, false) ? reg.ReadIntegerDef(name, -1) : -2;
  }
  void StoreInteger(const std::string& key, const std::string& name, std::int32_t value) {
    TVarnRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteInteger(name, value);
  }
  TTestPlatform platform;
};

TEST_F(OptionsTest, StartAutomaticallyWritesAndRemovesTheRunEntry) {
  TOptions options;
  options.Load();
  options.StartAutomatically = true;
  options.Save();
  EXPECT_EQ(StoredString(kRunKey, "Quorvel"), Platform().programFile + " /boot");
  TOptions loaded;
  loaded.Load();
  EXPECT_TRUE(loaded.StartAutomatically);
  loaded.StartAutomatically = false;
  loaded.Save();
  EXPECT_EQ(StoredString(kRunKey, "Quorvel"), "<none>");
  loaded.StartAutomatically = true;
  loaded.Load();
  EXPECT_FALSE(loaded.StartAutomatically);
}

TEST_F(OptionsTest, LoadCorrectsTimesAndTurnsTagsIntoLineBreaks) {
  {
    TVarnRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kProduct, true));
    reg.WriteFloat("ChimeStart", 40000.25 + 16.0 / 24);  // a whole date with 22:00
    reg.WriteFloat("ChimeStop", 21.0 / 24);
    reg.WriteString("ToolTipText", "A&br;B");
  }
  TOptions options;
  options.Load();
  EXPECT_NEAR(options.ChimeStart, 22.0 / 24, 1e-9);
  EXPECT_NEAR(options.ChimeStop, 22.0 / 24, 1e-9);
  EXPECT_EQ(options.ToolTipText, "A\r\nB");
  options.Save();
  EXPECT_EQ(StoredString(kProduct, "ToolTipText"), "A&br;B");
  options.ChimeStart = 40000.5;  // a whole date: only its time of day is stored
  options.Save();
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kProduct, false));
  EXPECT_DOUBLE_EQ(reg.ReadFloatDef("ChimeStart", 0), 0.5);
}

TEST_F(OptionsTest, AddCustomColorRotatesTheFourRecentSlots) {
  TOptions options;
  const auto slot = [&](char letter) {
    for (const std::string& item : options.CustomColors)
      if (item[5] == letter) return item.substr(7);
    return std::string("?");
  };
  const auto set = [&](char letter, const std::string& hex) {
    for (std::string& item : options.CustomColors)
      if (item[5] == letter) item = std::string("Color") + letter + "=" + hex;
  };
  set('G', "00000A");
  set('O', "00000B");
  set('H', "00000C");
  set('P', "00000D");
  options.AddCustomColor(0x00000D);  // already newest: nothing changes
  EXPECT_EQ(slot('G') + slot('O') + slot('H') + slot('P'), "00000A00000B00000C00000D");
  options.AddCustomColor(0x00000A);  // moves to the newest place
  EXPECT_EQ(slot('G') + slot('O') + slot('H') + slot('P'), "00000B00000C00000D00000A");
  options.AddCustomColor(0x0000FF);  // new: the oldest drops out
  EXPECT_EQ(slot('G') + slot('O') + slot('H') + slot('P'), "00000C00000D00000A0000FF");
  EXPECT_EQ(slot('A'), "FFFFFF");
  options.CustomColors.resize(3);  // damaged list: left alone
  options.AddCustomColor(0x123456);
  EXPECT_EQ(options.CustomColors.size(), 3u);
}

class ImportTest : public OptionsTest {
 protected:
  static constexpr char kOld[] = "Software\\Varn Software\\Quorvel\\";
  static constexpr char kNew[] = "Software\\Quorvel II\\Displays\\000";
  void Old(const std::string& name, std::int32_t value) { StoreInteger(kOld, name, value); }
  std::vector<std::string> NewValueNames() {
    TVarnRegistry reg;
    std::vector<std::string> names;
    if (reg.OpenKey(kNew, false)) reg.GetValueNames(names);
    return names;
  }
};

TEST_F(ImportTest, DigitalClockWithoutFontWritesOnlyTheBaseValues) {
  Old("AnalogDisplay", 0);
  struct {
    std::int32_t l, t, r, b;
  } position{10, 20, 110, 70};
  {
    TVarnRegistry reg;
    reg.OpenKey(kOld, true);
    reg.WriteBinaryData("ClockPosition", &position, sizeof(position));
    reg.WriteBool("TrueTransparencyEnabled", true);
    reg.WriteInteger("TrueTransparency", 30);
  }
  ImportOldSettings();
  EXPECT_EQ(NewValueNames(),
            (std::vector<std::string>{"", "Left", "Top", "Width", "Height", "Description", "Active",
                                      "Transparent", "AlphaBlendValue"}));
  EXPECT_EQ(StoredInteger(kNew, ""), 2);
  EXPECT_EQ(StoredInteger(kNew, "Width"), 100);
  EXPECT_EQ(StoredInteger(kNew, "Height"), 50);
  EXPECT_EQ(StoredInteger(kNew, "Transparent"), 1);
  EXPECT_EQ(StoredInteger(kNew, "AlphaBlendValue"), 178);  // 178.5 to even
  EXPECT_EQ(StoredInteger(kNew, "Active"), 1);
  EXPECT_EQ(StoredString(kNew, "Description"), "Imported from Quorvel 1.x");
  EXPECT_EQ(StoredInteger("Software\\Quorvel II\\Displays", "Count"), 1);
  EXPECT_EQ(StoredInteger("Software\\Quorvel II\\Displays", "Primary"), 0);
}

TEST_F(ImportTest, DigitalClockFontShadowAndText) {
  Old("AnalogDisplay", 0);
  // Each old integer and the new value it becomes, with a value of its own.
  const struct {
    const char *from, *to;
    std::int32_t value;
  } copies[] = {{"Alignment", "Alignment", 2},
                {"Font.Size", "Font_FontSize", 14},
                {"Font.CharSet", "Font_FontCharset", 238},
                {"Font.Color", "Font_FontColor", 0x123456},
                {"Digital.3D", "Font_3D", 1},
                {"Outline.Color", "Font_OutlineColor", 0x654321},
                {"Outline.Draw", "Font_OutlineWidth", 3},
                {"Shadow.Color", "ShadowColor", 0x0000FF}};
  for (const auto& c : copies) Old(c.from, c.value);
  {
    TVarnRegistry reg;
    reg.OpenKey(kOld, true);
    reg.WriteString("Font.Name", "Arial");
    reg.WriteInteger("Font.Bold", 1);
    reg.WriteInteger("Font.Italic", 1);
    reg.WriteInteger("Shadow.Draw", 2);
    reg.WriteInteger("DisplaySeconds", 1);
    reg.WriteInteger("Force24HourMode", 1);
    reg.WriteInteger("NoAMPMIndicator", 1);
    reg.WriteBool("Date.Show", true);
    reg.WriteInteger("Date.Format", 0);
  }
  ImportOldSettings();
  for (const auto& c : copies) EXPECT_EQ(StoredInteger(kNew, c.to), c.value) << c.to;
  EXPECT_EQ(StoredString(kNew, "Font_FontName"), "Arial");
  EXPECT_EQ(StoredInteger(kNew, "Font_FontStyle"), 17);
  EXPECT_EQ(StoredInteger(kNew, "Shadow"), 6);
  EXPECT_EQ(StoredString(kNew, "Text"), "&ldate;  &time -s -24 -nap;");
}

TEST_F(ImportTest, TextRuleVariants) {
  struct Case {
    bool dateShown;
    int format, position;
    const char* custom;
    const char* expected;
  };
  const Case cases[] = {{false, 0, 0, nullptr, "&time;"},
                        {true, 1, 1, nullptr, "&time;  &sdate;"},
                        {true, 2, 0, "&dd;", "&dd;  &time;"},
                        {true, 2, 0, nullptr, "&sdate;  &time;"}};
  for (const Case& c : cases) {
    TTestPlatform fresh;
    Old("AnalogDisplay", 0);
    TVarnRegistry reg;
    reg.OpenKey(kOld, true);
    reg.WriteString("Font.Name", "Arial");
    reg.WriteInteger("Shadow.Draw", 0);
    if (c.dateShown) reg.WriteBool("Date.Show", true);  // absent: no date
    reg.WriteInteger("Date.Format", c.format);
    reg.WriteInteger("Date.Position", c.position);
    if (c.custom) reg.WriteString("Date.CustomFormat", c.custom);
    reg.CloseKey();
    ImportOldSettings();
    EXPECT_EQ(StoredString(kNew, "Text"), c.expected);
    EXPECT_EQ(StoredInteger(kNew, "Shadow"), 0);
    EXPECT_EQ(StoredInteger(kNew, "Font_FontSize"), -1);  // missing old value: not written
    EXPECT_EQ(StoredInteger(kNew, "Font_FontStyle"), 0);
    EXPECT_EQ(StoredInteger(kNew, "Transparent"), -1);  // the old transparency was off
  }
}

TEST_F(ImportTest, AnalogClockSizeMarksAndElementColours) {
  for (const auto& [thin, width] : {std::pair{1, 1}, std::pair{0, 2}}) {
    TTestPlatform fresh;
    Old("AnalogDisplay", 1);
    Old("AnalogSize", 260);
    Old("DisplaySeconds", 1);
    Old("AnalogDesign", 3);
    Old("TrueTransparencyEnabled", 1);
    if (thin) Old("TrueTransparency", -20);  // below none: opaque; without one: half
    Old("Analog.ClockColor", 0x00FF00);
    Old("Analog.ThinOutline", thin);
    Old("Analog.UseHourHandColors", thin);
    Old("Analog.UseMinuteHandColors", 1);
    Old("Analog.UseSecondHandColors", 1);
    Old("Analog.UseTickmarksHandColors", 1);
    const std::uint32_t colors[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    {
      TVarnRegistry reg;
      reg.OpenKey(kOld, true);
      reg.WriteBinaryData("Analog.Colors", colors, sizeof(colors));
    }
    ImportOldSettings();
    EXPECT_EQ(StoredInteger(kNew, ""), 1);
    EXPECT_EQ(StoredInteger(kNew, "DisplaySize"), 52);
    EXPECT_EQ(StoredInteger(kNew, "TickMarks"), 3);
    EXPECT_EQ(StoredInteger(kNew, "ShowText"), 0);
    EXPECT_EQ(StoredInteger(kNew, "SecondsHand"), 1);
    EXPECT_EQ(StoredInteger(kNew, "AlphaBlendValue"), thin ? 255 : 128);  // 127.5 to even
    TVarnRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kNew, false));
    // The old table's pairs: hour, minute, second hand, tick marks; the base without its switch.
    const std::pair<const char*, TElementSettings> records[] = {
        {"HourHandSettings",
         thin ? TElementSettings{1, 2, width} : TElementSettings{0x00FF00, 0, width}},
        {"MinuteHandSettings", {3, 4, width}},
        {"SecondsHandSettings", {5, 6, width}},
        {"TickMarkSettings", {7, 8, width}},
        {"QuarterMarksSettings", {7, 8, width}}};
    for (const auto& [name, expected] : records) {
      TElementSettings record;
      ReadElementSettings(reg, name, {}, record);
      EXPECT_EQ(record, expected) << name << " thin " << thin;
    }
  }
}

TEST_F(ImportTest, DamagedOldValuesAreAbsentAndAFailedImportLeavesNothing) {
  Old("AnalogDisplay", 1);
  {
    TVarnRegistry reg;
    reg.OpenKey(kOld, true);
    reg.WriteString("ClockPosition", "10,20");  // the wrong type
    reg.WriteString("TrueTransparencyEnabled", "yes");
  }
  platform.currentUser.refusedValue = "Description";
  EXPECT_THROW(ImportOldSettings(), ERegistryException);
  TVarnRegistry reg;
  EXPECT_FALSE(reg.KeyExists(kProduct));  // so it is tried again at the next start
  platform.currentUser.refusedValue.clear();
  ImportOldSettings();
  EXPECT_EQ(NewValueNames(), (std::vector<std::string>{"", "Description", "Active", "ShowText"}));
}

TEST_F(ImportTest, HappensOnlyWhileNothingIsStoredYet) {
  Old("AnalogDisplay", 0);
  TOptions options;
  options.Load();
  options.Save();  // the product key now exists
  ImportOldSettings();
  EXPECT_TRUE(NewValueNames().empty());

  TTestPlatform fresh;  // no old settings, then no AnalogDisplay value: nothing to import
  TVarnRegistry reg;
  ImportOldSettings();
  EXPECT_FALSE(reg.KeyExists(kOld));  // looking for them creates nothing
  StoreInteger(kOld, "Other", 1);
  TOptions().Load();  // reading the options creates nothing
  ImportOldSettings();
  EXPECT_FALSE(reg.KeyExists(kProduct));
}

}  // namespace
