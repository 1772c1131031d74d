#include <gtest/gtest.h>

#include "display/uDisplayList.h"
#include "kinds/uDisplayKinds.h"
#include "support/uDisplayDisc.h"
#include "support/uTestPlatform.h"

namespace {

class DisplayListTest : public ::testing::Test {
 protected:
  TDisplay& AddActive(bool visible) {
    TDisplay* d = list.Add(TDisplay::Create<TDisplayDisc>());
    d->SetActive(true);
    if (visible) d->Show();
    return *d;
  }
  TTestPlatform platform;
  TDisplayList list{CreateDisplay};
};

TEST_F(DisplayListTest, ToggleShowsAllWhenOneIsHiddenThenHidesAll) {
  TDisplay& a = AddActive(true);
  TDisplay& b = AddActive(false);
  list.Add(TDisplay::Create<TDisplayDisc>());  // inactive: never counts
  list.ToggleAll();
  EXPECT_TRUE(a.IsVisible());
  EXPECT_TRUE(b.IsVisible());
  list.ToggleAll();
  EXPECT_FALSE(a.IsVisible());
  EXPECT_FALSE(b.IsVisible());
}

TEST_F(DisplayListTest, NewDisplaysStandApartInsideThePrimaryWorkAreaNamedByKindAndNumber) {
  // A second monitor left of the primary one, which holds the origin.
  platform.desktop.monitors = {{-1280, 0, 0, 1024}, {0, 0, 1024, 768}};
  const TRect work{0, 0, 1024, 728};
  list.CreateDefault();
  list[0].Show();
  for (int i = 1; i < 20; ++i) list.AddNew(i % 5 ? dkAnalogClock : dkDigitalClock)->Show();
  const char* names[] = {"Default display", "Analog clock",   "Analog clock 2",
                         "Analog clock 3",  "Analog clock 4", "Digital clock 2"};
  for (std::size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(list[i].Description, names[i]);
  EXPECT_EQ(list[0].Window()->Bounds().left, 100);  // the first display keeps the default place
  EXPECT_EQ(list[0].Window()->Bounds().top, 100);
  std::vector<TRect> places;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const TRect r = list[i].Window()->Bounds();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= work.right && r.bottom <= work.bottom) << i;
    for (std::size_t j = 0; j < i; ++j) {
      // While there is room none meets another; after that none lies exactly on another.
      EXPECT_FALSE(i < 12 && r.Intersects(places[j])) << i << " " << j;
      EXPECT_FALSE(r.left == places[j].left && r.top == places[j].top) << i << " " << j;
    }
    places.push_back(r);
  }
  // Twenty is the most there may be.
  EXPECT_EQ(list.Add(TDisplay::Create<TDisplayDisc>()), nullptr);
  EXPECT_EQ(list.AddNew(dkDigitalClock), nullptr);
  EXPECT_EQ(list.Count(), 20u);
}

TEST_F(DisplayListTest, TickRepaintsTheActiveDisplaysAndPassesTheInactive) {
  TDisplay& a = AddActive(true);
  list.Add(TDisplay::Create<TDisplayDisc>());
  const int before = TTestPlatform::WindowOf(a).drawCount;
  list.Tick(false, false, true, 3);  // the disc moves every second
  EXPECT_EQ(TTestPlatform::WindowOf(a).drawCount, before + 1);
}

TEST_F(DisplayListTest, AFlashingDisplayBlocksAutomaticHidingAndTheOthersHideAlone) {
  TDisplay& a = AddActive(true);
  TDisplay& b = AddActive(true);
  EXPECT_TRUE(list.CanAutoHide(a, true));
  list.AutoHideOthers(a);
  EXPECT_TRUE(a.IsVisible());
  EXPECT_FALSE(b.IsVisible());
  auto& window = TTestPlatform::WindowOf(b);
  EXPECT_FALSE(window.lastAll);  // each hides itself alone, or it would ask again
  EXPECT_FALSE(list.IsCursorOverAny());
  window.cursorInside = true;
  EXPECT_TRUE(list.IsCursorOverAny());
  window.lastAll = true;
  list.AutoShowAll();
  EXPECT_TRUE(b.IsVisible());
  EXPECT_FALSE(window.lastAll);
  b.Flash(0, 0xFF);
  EXPECT_TRUE(list.CanAutoHide(a, false));
  EXPECT_FALSE(list.CanAutoHide(a, true));
  EXPECT_FALSE(list.CanAutoHide(b, false));
}

TEST_F(DisplayListTest, ADisplayLeavesTheListBeforeItsWindowGoes) {
  TDisplay& a = AddActive(true);
  TDisplay& b = AddActive(true);
  const auto other = TDisplay::Create<TDisplayDisc>();
  EXPECT_TRUE(list.Contains(&a));
  EXPECT_FALSE(list.Contains(other.get()));
  EXPECT_FALSE(list.Contains(nullptr));
  std::vector<std::size_t> countsSeen;
  // A window's last messages reach the list, as the application's deactivation does.
  for (TDisplay* d : {&a, &b})
    TTestPlatform::WindowOf(*d).onDestroy = [&] {
      list.RefreshTopmost();
      countsSeen.push_back(list.Count());
    };
  list.Primary = &a;
  list.Delete(&a);
  EXPECT_EQ(list.Primary, nullptr);
  EXPECT_FALSE(list.Contains(&a));
  EXPECT_EQ(&list[0], &b);
  list.Clear();
  EXPECT_EQ(countsSeen, (std::vector<std::size_t>{1, 0}));
}

// Counts its changes of state in a counter that outlives it.
class TCountingDisc : public TDisplayDisc {
 public:
  explicit TCountingDisc(int& changes) : FChanges(changes) {}
  void ActiveChanged() override { ++FChanges; }

 private:
  int& FChanges;
};

TEST_F(DisplayListTest, ADisplayIsDeactivatedBeforeItGoesSoThatItsKindHearsOfIt) {
  int changes = 0;
  for (int i = 0; i < 2; ++i) list.Add(std::make_unique<TCountingDisc>(changes))->SetActive(true);
  list.Delete(&list[0]);
  EXPECT_EQ(changes, 3);  // two on, one off
  list.Clear();
  EXPECT_EQ(changes, 4);
}

}  // namespace
