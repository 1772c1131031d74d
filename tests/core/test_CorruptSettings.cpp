// Whatever one stored value holds (registry cleaners, old versions and hand edits damage them),
// loading and saving keep every other value and every display.
#include <gtest/gtest.h>

#include "config/uOptions.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uDisplayKinds.h"
#include "support/uTestPlatform.h"

namespace {

constexpr char kProduct[] = "Software\\Quorvel II";

// Options and two clocks, every value away from its default, so that a value
// the load skipped would come back changed.
void StoreEverything() {
  TOptions options;
  options.Load();
  options.ChimeEnabled = false;
  options.ChimeTowerClock = options.ChimeQuarter = options.ChimeHalf = true;
  options.ChimeThreeQuarters = options.ChimeTop = true;
  options.ChimeQuarterSound = "q.wav";
  options.ChimeHalfSound = "h.wav";
  options.ChimeThreeQuartersSound = "t.wav";
  options.ChimeTopSound = "top.wav";
  options.ChimeStart = 0.25;
  options.ChimeStop = 0.75;
  options.AutoHide = options.ShowTrayIcon = options.AOT5s = false;
  options.AutoHideAllDisplays = true;
  options.AutoHideInterval = 333;
  options.AutoShowInterval = 444;
  options.ToolTipText = "&time;\r\n&date;";
  options.LastSnoozeTime = 9;
  options.HK_ShowHideDisplays = 0x4041;
  options.HK_ShowDisplays = 0x4042;
  options.HK_HideDisplays = 0x4043;
  options.AddCustomColor(0x123456);
  TDisplayList list{CreateDisplay};
  list.Load();
  auto& second = static_cast<TDisplayDigitalClock&>(*list.Add(dkDigitalClock));
  second.SetActive(true);
  second.SetText("&hh;");
  second.Description = "second";
  second.Font.FontName = "Tahoma";
  second.Font.Size = 17;
  second.Font.Color = 0x010203;
  second.Font.CharSet = 0;
  second.Font.Style = {false, true, false, false};
  second.Font.OutlineColor = 0x040506;
  second.Font.OutlineWidth = 3;
  second.Font.ThreeD = false;
  second.Alignment = 2;
  second.Shadow = 4;
  second.ShadowColor = 0x070809;
  second.HasBackground = true;
  second.BackgroundColor = 0x0A0B0C;
  second.BevelWidth = 5;
  second.BevelColor = 0x0D0E0F;
  second.Bevel3D = false;
  second.SetTransparent(true);
  second.SetAlphaBlendValue(77);
  second.SetAlwaysOnTop(false);
  second.Window()->SetBounds({300, 200, 450, 260});
  list.Primary = &second;
  list.Save();
  options.Save();
}

// The same value with a type (or size) the program cannot read it as.
TRegData Damaged(const TRegData& data) {
  if (data.type == rtInteger) return {rtString, {'x', 0}};
  if (data.type == rtBinary) return {rtInteger, {1, 0, 0, 0}};
  return {rtBinary, {1, 2, 3}};
}

void Restore(TMemoryHive& hive, const std::map<std::string, TRegData>& values) {
  for (const auto& [path, data] : values) {
    const std::size_t split = path.rfind('\\');
    auto key = hive.OpenKey(path.substr(0, split), true, RegAccess::AllAccess);
    key->SetValue(path.substr(split + 1), data.type, data.bytes);
  }
}

TEST(CorruptSettings, EveryDamagedValueCostsOnlyItself) {
  std::map<std::string, TRegData> stored;
  {
    TTestPlatform platform;
    StoreEverything();
    stored = RegistrySnapshot(platform.currentUser, kProduct);
  }
  ASSERT_GT(stored.size(), 80u);
  for (const auto& [damagedPath, data] : stored) {
    TTestPlatform platform;
    auto damaged = stored;
    damaged[damagedPath] = Damaged(data);
    Restore(platform.currentUser, damaged);
    {
      // What the program does from start to exit.
      ImportOldSettings();
      TOptions options;
      options.Load();
      TDisplayList list{CreateDisplay};
      list.Load();
      ASSERT_EQ(list.Count(), 2u) << damagedPath;
      // Only a display whose kind (the unnamed value) cannot be read stays hidden.
      EXPECT_TRUE(damagedPath.back() == '\\' || (list[0].IsActive() && list[1].IsActive()))
          << damagedPath;
      list.Save();
      options.Save();
    }
    const auto after = RegistrySnapshot(platform.currentUser, kProduct);
    for (const auto& [path, value] : stored) {
      if (path == damagedPath) continue;
      const auto it = after.find(path);
      EXPECT_TRUE(it != after.end() && it->second == value)
          << path << " after damage to " << damagedPath;
    }
  }
}

TEST(CorruptSettings, ALoadThatFailsLeavesTheStoredSettingsAlone) {
  TTestPlatform platform;
  StoreEverything();
  const auto stored = RegistrySnapshot(platform.currentUser, kProduct);
  TOptions options;
  TDisplayList list{CreateDisplay};
  SetHive(TRootKey::CurrentUser, nullptr);  // the registry fails under the load
  EXPECT_THROW(options.Load(), ERegistryException);
  EXPECT_THROW(list.Load(), ERegistryException);
  SetHive(TRootKey::CurrentUser, &platform.currentUser);
  list.Add(dkDigitalClock);
  list.Save();
  options.Save();
  EXPECT_EQ(RegistrySnapshot(platform.currentUser, kProduct), stored);
}

}  // namespace
