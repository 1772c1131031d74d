#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayKinds.h"
#include "support/uDisplayDisc.h"
#include "support/uTestPlatform.h"

namespace {

using TLayout = std::vector<TFakeMonitor>;

// Work areas leave the fake's 40-pixel task bar at the bottom.
const TFakeMonitor A{{0, 0, 1024, 768}, "\\\\.\\DISPLAY1"};
const TFakeMonitor B{{1024, 0, 2304, 1024}, "\\\\.\\DISPLAY2"};

class MonitorPlaceTest : public ::testing::Test {
 protected:
  // An active display of 200 x 100 pixels.
  TDisplay& AddDisplay() {
    TDisplay* d = list.Add(TDisplay::Create<TDisplayDisc>());
    d->Width = 200;
    d->Height = 100;
    d->SetActive(true);
    return *d;
  }
  static TPoint TopLeft(const TDisplay& d) {
    const TRect r = d.Window()->Bounds();
    return {r.left, r.top};
  }
  TVarnRegistry& Key() {
    if (!reg.HasCurrentKey()) reg.OpenKey("Software\\Quorvel II\\Displays\\000", true);
    return reg;
  }
  TTestPlatform platform;
  TDisplayList list{CreateDisplay};
  TVarnRegistry reg;
};

// A layout the desktop changes to, and where the display then stands; or a place the user drops
// the display at.
struct TStep {
  TLayout layout;
  TPoint at;
  bool dropped = false;
};

TEST_F(MonitorPlaceTest, EachDisplayFollowsItsMonitorAcrossLayouts) {
  // At (412, 314) on A and (1564, 442) on B a display stands in the middle of the work area.
  const struct {
    const char* name;
    std::vector<TStep> steps;
  } cases[] = {
      {"dock: it stays, also partly off its monitor",
       {{{A}, {-50, 314}, true}, {{A, B}, {-50, 314}}}},
      {"undock: to the primary, fully visible", {{{A, B}, {1564, 442}, true}, {{A}, {412, 314}}}},
      {"left and right swapped: it follows its name",
       {{{A, B}, {1564, 442}, true},
        {{{{1280, 0, 2304, 768}, A.name}, {{0, 0, 1280, 1024}, B.name}}, {540, 442}}}},
      {"resolution up and down: the same fractions",
       {{{A}, {206, 628}, true},
        {{{{0, 0, 1920, 1080}, A.name}}, {430, 940}},
        {{{{0, 0, 800, 600}, A.name}}, {150, 460}}}},
      {"the other monitor made primary",
       {{{A, B}, {412, 314}, true},
        {{{{-1024, 0, 0, 768}, A.name}, {{0, 0, 1280, 1024}, B.name}}, {-612, 314}}}},
      {"gone and back", {{{A, B}, {1564, 442}, true}, {{A}, {412, 314}}, {{A, B}, {1564, 442}}}},
      {"dragged to the other monitor, it belongs to that one",
       {{{A, B}, {412, 314}, true},
        {{A, B}, {1564, 442}, true},
        {{A, {{-1280, 0, 0, 1024}, B.name}}, {-740, 442}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    list.Clear();
    TDisplay& d = AddDisplay();
    std::optional<TMonitorPlace> dropped;
    for (const TStep& step : c.steps) {
      platform.desktop.monitors = step.layout;
      if (step.dropped) {
        TTestPlatform::WindowOf(d).MoveTo(step.at.x, step.at.y);
        d.TakeMonitorPlace();
        dropped = d.MonitorPlace();
      } else {
        list.MonitorsChanged();
        EXPECT_EQ(TopLeft(d), step.at);
      }
    }
    // Where it stood for a while is never taken as its place.
    EXPECT_EQ(d.MonitorPlace(), dropped);
  }
}

TEST_F(MonitorPlaceTest, StoredBesideLeftAndTopAndADamagedPlaceCostsOnlyItself) {
  platform.desktop.monitors = {A, B};
  TDisplay& d = AddDisplay();
  TTestPlatform::WindowOf(d).MoveTo(1564, 442);
  d.TakeMonitorPlace();
  // The stored names and types, read through the reads that refuse any other type.
  const auto storedOnB = [&] {
    EXPECT_EQ(Key().ReadString("Monitor"), "\\\\.\\DISPLAY2");
    EXPECT_EQ(Key().ReadInteger("MonitorLeft"), 1024);
    EXPECT_EQ(Key().ReadInteger("MonitorTop"), 0);
    EXPECT_EQ(Key().ReadInteger("MonitorRight"), 2304);
    EXPECT_EQ(Key().ReadInteger("MonitorBottom"), 1024);
    EXPECT_EQ(Key().ReadFloatDef("MonitorPlaceX", -1), 0.5);
    EXPECT_EQ(Key().ReadFloatDef("MonitorPlaceY", -1), 0.5);
  };
  d.SaveToRegistry(Key(), false);
  storedOnB();

  // B is gone. Each damaged value sends the display to its Left and Top, as without a place.
  platform.desktop.monitors = {A};
  const auto place = RegistrySnapshot(platform.currentUser, "Software\\Quorvel II\\Displays\\000");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    std::function<void(TVarnRegistry&)> damage;
    TPoint at;
  } cases[] = {
      {"intact: on the primary at its place", [](TVarnRegistry&) {}, {412, 314}},
      {"none stored",
       [](TVarnRegistry& r) {
         for (const char* name : {"Monitor", "MonitorLeft", "MonitorTop", "MonitorRight",
                                  "MonitorBottom", "MonitorPlaceX", "MonitorPlaceY"})
           r.DeleteValue(name);
       },
       {50, 60}},
      {"name of another type", [](TVarnRegistry& r) { r.WriteInteger("Monitor", 2); }, {50, 60}},
      {"empty name", [](TVarnRegistry& r) { r.WriteString("Monitor", ""); }, {50, 60}},
      {"name with a line break",
       [](TVarnRegistry& r) { r.WriteString("Monitor", "\\\\.\\\n"); },
       {50, 60}},
      {"rectangle inside out",
       [](TVarnRegistry& r) { r.WriteInteger("MonitorRight", 5); },
       {50, 60}},
      {"rectangle beyond any desktop",
       [](TVarnRegistry& r) { r.WriteInteger("MonitorBottom", INT32_MAX); },
       {50, 60}},
      {"fraction above 1", [](TVarnRegistry& r) { r.WriteFloat("MonitorPlaceX", 1.5); }, {50, 60}},
      {"fraction not a number",
       [&](TVarnRegistry& r) { r.WriteFloat("MonitorPlaceY", nan); },
       {50, 60}},
      {"fraction as text",
       [](TVarnRegistry& r) { r.WriteString("MonitorPlaceX", "0.5"); },
       {50, 60}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [path, data] : place) Key().WriteRaw(path.substr(path.rfind('\\') + 1), data);
    Key().WriteInteger("Left", 50);
    Key().WriteInteger("Top", 60);
    c.damage(Key());
    TDisplay* loaded = list.Add(TDisplay::Create<TDisplayDisc>());
    loaded->LoadFromRegistry(Key(), false);
    EXPECT_EQ(TopLeft(*loaded), c.at);
    list.Delete(loaded);
  }

  // Saved while it stands on the primary monitor: its place on B is kept for B's return, and
  // older versions find it where it stands.
  for (const auto& [path, data] : place) Key().WriteRaw(path.substr(path.rfind('\\') + 1), data);
  TDisplay* fallen = list.Add(TDisplay::Create<TDisplayDisc>());
  fallen->LoadFromRegistry(Key(), false);
  fallen->SaveToRegistry(Key(), false);
  storedOnB();
  EXPECT_EQ(Key().ReadInteger("Left"), 412);
}

}  // namespace
