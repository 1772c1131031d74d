#include <gtest/gtest.h>

#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "display/uDisplayPresets.h"
#include "events/uEventPresets.h"
#include "events/uEvents.h"
#include "kinds/uDisplayKinds.h"
#include "support/uTestPlatform.h"

namespace {

constexpr char kAnalog[] = "Software\\Quorvel II\\Presets\\1\\";

class PresetTest : public ::testing::Test {
 protected:
  bool Exists(const std::string& path) {
    TVarnRegistry reg;
    return reg.KeyExists(path);
  }
  TTestPlatform platform;
  TDisplayList displays{CreateDisplay};
  TDisplay& analog = *displays.Add(1);
  TDisplay& otherAnalog = *displays.Add(1);
  TDisplay& digital = *displays.Add(2);
};

TEST_F(PresetTest, ALookIsOfferedOnlyToItsKindAndLeavesThePlaceAlone) {
  analog.SetAlphaBlendValue(128);
  analog.Description = "Kitchen";
  TDisplayPresetManager manager(analog);
  ASSERT_TRUE(manager.SavePreset("Dim"));
  TVarnRegistry saved;  // the look only, no place value
  ASSERT_TRUE(saved.OpenKey(std::string(kAnalog) + "Dim", false));
  EXPECT_TRUE(saved.ValueExists("AlphaBlendValue"));
  EXPECT_FALSE(saved.ValueExists("Description"));
  saved.CloseKey();
  EXPECT_EQ(manager.Names(), std::vector<std::string>{"Dim"});
  EXPECT_TRUE(TDisplayPresetManager(digital).Names().empty());

  TDisplayPresetManager other(otherAnalog);
  otherAnalog.Description = "Hall";
  otherAnalog.Repaint();
  ASSERT_FALSE(otherAnalog.Dirty());
  EXPECT_TRUE(other.LoadPreset("dim"));  // the registry ignores letter case
  EXPECT_EQ(otherAnalog.AlphaBlendValue(), 128);
  EXPECT_EQ(otherAnalog.Description, "Hall");
  EXPECT_FALSE(otherAnalog.IsActive());
  EXPECT_TRUE(otherAnalog.Dirty());
  EXPECT_FALSE(other.LoadPreset("Missing"));

  // Values of the wrong type cost only themselves.
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey(std::string(kAnalog) + "Odd", true));
  reg.WriteString("AlphaBlendValue", "half");
  reg.WriteInteger("AlwaysOnTop", 1);
  reg.WriteString("Description", "Not a look");  // a place value: left alone
  reg.CloseKey();
  otherAnalog.SetAlwaysOnTop(false);
  EXPECT_TRUE(other.LoadPreset("Odd"));
  EXPECT_EQ(otherAnalog.AlphaBlendValue(), 128);
  EXPECT_TRUE(otherAnalog.AlwaysOnTop());
  EXPECT_EQ(otherAnalog.Description, "Hall");
}

TEST_F(PresetTest, NamesSortIgnoringCaseAndRenameOrDeleteOnlyWhatTheyName) {
  TDisplayPresetManager manager(analog);
  for (const char* name : {"beta", "Alpha", "gamma"}) ASSERT_TRUE(manager.SavePreset(name));
  EXPECT_EQ(manager.Names(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_TRUE(manager.Contains("ALPHA"));
  EXPECT_FALSE(manager.Contains("Alph"));
  // Saving under another case writes into the existing key, which keeps its name.
  ASSERT_TRUE(manager.SavePreset("BETA"));
  EXPECT_EQ(manager.Names(), (std::vector<std::string>{"Alpha", "beta", "gamma"}));

  // A nested key moves with its values.
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey(std::string(kAnalog) + "beta\\inner", true));
  reg.WriteInteger("Deep", 7);
  reg.CloseKey();
  EXPECT_TRUE(manager.RenamePreset("beta", "Delta"));
  EXPECT_EQ(manager.Names(), (std::vector<std::string>{"Alpha", "Delta", "gamma"}));
  ASSERT_TRUE(reg.OpenKey(std::string(kAnalog) + "Delta\\inner", false));
  EXPECT_EQ(reg.ReadInteger("Deep"), 7);
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(std::string(kAnalog) + "Delta", false));
  EXPECT_TRUE(reg.ValueExists("AlphaBlendValue"));
  reg.CloseKey();
  EXPECT_FALSE(Exists(std::string(kAnalog) + "beta"));

  // Nothing changes for a name taken in another case, nor for a name with an empty
  // part, which would name the category itself or the hive's root.
  EXPECT_FALSE(manager.RenamePreset("gamma", "ALPHA"));
  for (const char* name : {"", "\\", "x\\", "\\\\Software", "a\\\\b"}) {
    EXPECT_FALSE(manager.RenamePreset("gamma", name)) << name;
    EXPECT_FALSE(manager.DeletePreset(name)) << name;
    EXPECT_FALSE(manager.SavePreset(name)) << name;
  }
  EXPECT_EQ(manager.Names(), (std::vector<std::string>{"Alpha", "Delta", "gamma"}));
  EXPECT_TRUE(manager.DeletePreset("Delta"));
  EXPECT_EQ(manager.Names(), (std::vector<std::string>{"Alpha", "gamma"}));
  EXPECT_FALSE(Exists(std::string(kAnalog) + "Delta"));
  EXPECT_FALSE(manager.DeletePreset("Delta"));
}

TEST_F(PresetTest, AnEventPresetCarriesTheActionsOnly) {
  TEvent source(LocalDateTimeNow()), target(LocalDateTimeNow());
  source.Message = "Tea";
  source.Sound = "bell.wav";
  source.ActionPlaySound = true;
  TEventPresetManager manager(source);
  ASSERT_TRUE(manager.SavePreset("Loud"));
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Presets\\events\\Loud", false));
  EXPECT_TRUE(reg.ValueExists("Sound"));
  EXPECT_FALSE(reg.ValueExists("Message"));
  reg.WriteString("Message", "Not an action");  // as an older preset might hold
  reg.CloseKey();
  target.Message = "Call";
  TEventPresetManager targetManager(target);
  EXPECT_EQ(targetManager.Names(), std::vector<std::string>{"Loud"});
  ASSERT_TRUE(targetManager.LoadPreset("Loud"));
  EXPECT_EQ(target.Sound, "bell.wav");
  EXPECT_TRUE(target.ActionPlaySound);
  EXPECT_EQ(target.Message, "Call");
}

}  // namespace
