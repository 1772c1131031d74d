#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "config/uOptions.h"
#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"
#include "support/uTools.h"

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
  TTestPlatform platform;
};

TEST_F(OptionsTest, StartAutomaticallyWritesAndRemovesTheRunEntry) {
  TOptions options;
  options.Load();
  options.StartAutomatically = true;
  options.Save();
  EXPECT_EQ(StoredString(kRunKey, "Quorvel"), "\"" + Platform().programFile + "\" /boot");
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
  // The four recent slots, oldest first.
  const auto recent = [&] {
    std::string hex;
    for (const char* prefix : {"ColorG=", "ColorO=", "ColorH=", "ColorP="})
      for (const std::string& item : options.CustomColors)
        if (item.starts_with(prefix)) hex += item.substr(7) + " ";
    return hex;
  };
  for (std::uint32_t color : {0xA, 0xB, 0xC, 0xD}) options.AddCustomColor(color);
  EXPECT_EQ(recent(), "00000A 00000B 00000C 00000D ");
  options.AddCustomColor(0x00000B);  // known: moves to the newest place
  EXPECT_EQ(recent(), "00000A 00000C 00000D 00000B ");
  options.AddCustomColor(0x0000FF);  // new: the oldest drops out
  EXPECT_EQ(recent(), "00000C 00000D 00000B 0000FF ");
  EXPECT_EQ(options.CustomColors[0], "ColorA=FFFFFF");
  options.CustomColors.resize(3);  // damaged list: left alone
  options.AddCustomColor(0x123456);
  EXPECT_EQ(options.CustomColors.size(), 3u);
}

class ImportTest : public OptionsTest {
 protected:
  static constexpr char kOld[] = "Software\\Varn Software\\Quorvel\\";
  static constexpr char kNew[] = "Software\\Quorvel II\\Displays\\000";
  // Writes old values from "name=value ..." text: numbers as integers, anything else as text.
  void Old(const std::string& values) {
    TVarnRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kOld, true));
    std::istringstream in(values);
    for (std::string item; in >> item;) {
      const std::string name = item.substr(0, item.find('=')), value = item.substr(name.size() + 1);
      if (const auto number = ParseDecimal(value))
        reg.WriteInteger(name, *number);
      else
        reg.WriteString(name, value);
    }
  }
  void OldRecord(const std::string& name, const void* data, int size) {
    TVarnRegistry reg;
    reg.OpenKey(kOld, true);
    reg.WriteBinaryData(name, data, size);
  }
  // The imported display's values by name, "name=value " each; a record as fill/outline/width.
  std::string Imported() {
    TVarnRegistry reg;
    std::vector<std::string> names;
    if (reg.OpenKey(kNew, false)) reg.GetValueNames(names);
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names) {
      text += name + "=";
      if (reg.GetDataType(name) == rtInteger) text += std::to_string(reg.ReadInteger(name));
      if (reg.GetDataType(name) == rtString) text += reg.ReadString(name);
      if (reg.GetDataType(name) == rtBinary) {
        TElementSettings r;
        ReadElementSettings(reg, name, {}, r);
        text += std::to_string(r.FillColor) + "/" + std::to_string(r.OutlineColor) + "/" +
                std::to_string(r.OutlineWidth);
      }
      text += " ";
    }
    return text;
  }
};

TEST_F(ImportTest, DigitalClockWithoutFontWritesOnlyTheBaseValues) {
  Old("AnalogDisplay=0 TrueTransparencyEnabled=1 TrueTransparency=30");
  const std::int32_t position[] = {10, 20, 110, 70};
  OldRecord("ClockPosition", position, sizeof(position));
  ImportOldSettings();
  // An opacity of 70 % is 178.5, rounded to even.
  EXPECT_EQ(Imported(),
            "=2 Active=1 AlphaBlendValue=178 Description=Imported from Quorvel 1.x Height=50 "
            "Left=10 Top=20 Transparent=1 Width=100 ");
  EXPECT_EQ(StoredInteger("Software\\Quorvel II\\Displays", "Count"), 1);
  EXPECT_EQ(StoredInteger("Software\\Quorvel II\\Displays", "Primary"), 0);
}

TEST_F(ImportTest, DigitalClockFontShadowAndText) {
  Old("AnalogDisplay=0 Alignment=2 Font.Name=Arial Font.Size=14 Font.CharSet=238 Font.Color=291 "
      "Digital.3D=1 Outline.Color=801 Outline.Draw=3 Shadow.Color=255 Font.Bold=1 Font.Italic=1 "
      "Shadow.Draw=2 DisplaySeconds=1 Force24HourMode=1 NoAMPMIndicator=1 Date.Show=1 "
      "Date.Format=0");
  ImportOldSettings();
  EXPECT_EQ(Imported(),
            "=2 Active=1 Alignment=2 Description=Imported from Quorvel 1.x Font_3D=1 "
            "Font_FontCharset=238 Font_FontColor=291 Font_FontName=Arial Font_FontSize=14 "
            "Font_FontStyle=17 Font_OutlineColor=801 Font_OutlineWidth=3 Shadow=6 ShadowColor=255 "
            "Text=&ldate;  &time -s -24 -nap; ");
}

TEST_F(ImportTest, TextRuleVariants) {
  const std::pair<const char*, const char*> cases[] = {
      {"Date.Format=0", "&time;"},  // no Date.Show: no date
      {"Date.Show=1 Date.Format=1 Date.Position=1", "&time;  &sdate;"},
      {"Date.Show=1 Date.Format=2 Date.CustomFormat=&dd;", "&dd;  &time;"},
      {"Date.Show=1 Date.Format=2 Date.Position=0", "&sdate;  &time;"}};
  for (const auto& [values, text] : cases) {
    TTestPlatform fresh;
    Old("AnalogDisplay=0 Shadow.Draw=0 Font.Name=Arial TrueTransparencyEnabled=1 "
        "TrueTransparency=150 " +
        std::string(values));
    ImportOldSettings();
    // Missing old values are not written; a transparency beyond all is full.
    EXPECT_EQ(Imported(),
              "=2 Active=1 AlphaBlendValue=0 Description=Imported from Quorvel 1.x "
              "Font_FontName=Arial Font_FontStyle=0 Shadow=0 Text=" +
                  std::string(text) + " Transparent=1 ");
  }
}

TEST_F(ImportTest, AnalogClockSizeMarksAndElementColours) {
  // Old values beyond the common ones, and the display they give. The old colour table holds the
  // pairs of the hour, minute, second hand and tick marks; without its switch a record has the
  // base colours, and without a thin outline a width of 2. A transparency below none is opaque;
  // without one it is half (127.5 to even).
  const std::pair<const char*, const char*> cases[] = {
      {"TrueTransparency=-20 Analog.ThinOutline=1 Analog.UseHourHandColors=1",
       "=1 Active=1 AlphaBlendValue=255 Description=Imported from Quorvel 1.x DisplaySize=52 "
       "HourHandSettings=1/2/1 MinuteHandSettings=3/4/1 QuarterMarksSettings=7/8/1 SecondsHand=1 "
       "SecondsHandSettings=5/6/1 ShowText=0 TickMarkSettings=7/8/1 TickMarks=3 Transparent=1 "},
      {"",
       "=1 Active=1 AlphaBlendValue=128 Description=Imported from Quorvel 1.x DisplaySize=52 "
       "HourHandSettings=65280/0/2 MinuteHandSettings=3/4/2 QuarterMarksSettings=7/8/2 "
       "SecondsHand=1 SecondsHandSettings=5/6/2 ShowText=0 TickMarkSettings=7/8/2 TickMarks=3 "
       "Transparent=1 "}};
  for (const auto& [values, expected] : cases) {
    TTestPlatform fresh;
    Old("AnalogDisplay=1 AnalogSize=260 DisplaySeconds=1 AnalogDesign=3 TrueTransparencyEnabled=1 "
        "Analog.ClockColor=65280 Analog.UseMinuteHandColors=1 Analog.UseSecondHandColors=1 "
        "Analog.UseTickmarksHandColors=1 " +
        std::string(values));
    const std::uint32_t colors[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    OldRecord("Analog.Colors", colors, sizeof(colors));
    ImportOldSettings();
    EXPECT_EQ(Imported(), expected);
  }
}

TEST_F(ImportTest, DamagedOldValuesAreAbsentAndAFailedImportLeavesNothing) {
  Old("AnalogDisplay=1 ClockPosition=10,20 TrueTransparencyEnabled=yes");  // texts: the wrong type
  platform.currentUser.refusedValue = "Description";
  EXPECT_THROW(ImportOldSettings(), ERegistryException);
  EXPECT_FALSE(TVarnRegistry().KeyExists(kProduct));  // so it is tried again at the next start
  platform.currentUser.refusedValue.clear();
  ImportOldSettings();
  EXPECT_EQ(Imported(), "=1 Active=1 Description=Imported from Quorvel 1.x ShowText=0 ");
}

TEST_F(ImportTest, HappensOnlyWhileNothingIsStoredYet) {
  Old("AnalogDisplay=0");
  TOptions options;
  options.Load();
  options.Save();  // the product key now exists
  ImportOldSettings();
  EXPECT_EQ(Imported(), "");

  TTestPlatform fresh;  // no old settings, then no AnalogDisplay value: nothing to import
  TVarnRegistry reg;
  ImportOldSettings();
  EXPECT_FALSE(reg.KeyExists(kOld));  // looking for them creates nothing
  Old("Other=1");
  TOptions().Load();  // reading the options creates nothing
  ImportOldSettings();
  EXPECT_FALSE(reg.KeyExists(kProduct));
}

}  // namespace
