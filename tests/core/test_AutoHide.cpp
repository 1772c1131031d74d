#include <gtest/gtest.h>

#include "config/uOptions.h"
#include "display/uAutoHide.h"
#include "display/uDisplayList.h"
#include "display/uDrag.h"
#include "kinds/uDisplayKinds.h"
#include "support/uDisplayDisc.h"
#include "support/uTestPlatform.h"

namespace {

// Two shown displays side by side; the first one's automatic hiding is under test.
class AutoHideTest : public ::testing::Test {
 protected:
  AutoHideTest() {
    for (int i = 0; i < 2; ++i) {
      TDisplay* d = list.Add(TDisplay::Create<TDisplayDisc>());
      d->Left = 100 + 300 * i;
      d->SetActive(true);
      d->Show();
    }
    options.AutoHideInterval = 300;
    autoHide.emplace(list[0], *list[0].Window(), timer, drag, options, list, host);
  }
  void Over(TPoint p) {
    platform.desktop.cursor = p;
    autoHide->HitTest(p);
  }
  void FireAfter(std::uint32_t ms) {
    platform.clock.ticks += ms;
    autoHide->TimerFired();
  }
  bool Shown(std::size_t i) { return list[i].IsVisible(); }
  void OpenPreferencesAndMove() {
    host.displayPreferencesOpen = true;
    Over(insideToo);
  }

  TTestPlatform platform;
  TFakeDisplayHost host;
  TFakeTimer timer;
  TDrag drag;
  TOptions options;
  TDisplayList list{CreateDisplay};
  std::optional<TAutoHide> autoHide;
  const TPoint inside{150, 150}, insideToo{151, 150}, away{5, 5};
};

TEST_F(AutoHideTest, TheCursorRestingOnADisplayHidesItUntilItHasBeenAwayLongEnough) {
  Over(inside);
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.interval, 300u);
  timer.running = false;
  Over(inside);  // the same point: the mouse did not move
  EXPECT_FALSE(timer.running);
  Over(insideToo);  // it moved: the delay starts again
  EXPECT_TRUE(timer.running);

  drag.Begin(inside, {100, 100});
  FireAfter(300);
  EXPECT_FALSE(Shown(0));
  EXPECT_FALSE(drag.Dragging());  // a display that hides is no longer dragged
  EXPECT_TRUE(Shown(1));          // only this one: not all displays
  EXPECT_EQ(host.activations, 1);
  EXPECT_EQ(autoHide->State(), 1);
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.interval, TAutoHide::HiddenPollInterval);

  FireAfter(1000);                                   // still over it: the leave tick moves on
  TTestPlatform::WindowOf(list[1]).AutoHide(false);  // hidden by its own automatic hiding
  platform.desktop.cursor = away;
  FireAfter(500);  // away for exactly the interval: not yet
  EXPECT_FALSE(Shown(0));
  FireAfter(1);
  EXPECT_TRUE(Shown(0));
  EXPECT_FALSE(Shown(1));  // the other one comes back by its own rule
  EXPECT_EQ(autoHide->State(), 0);
  EXPECT_FALSE(timer.running);
}

TEST_F(AutoHideTest, AShowIntervalOfNoneOrLessShowsAfterAMillisecondAway) {
  const struct {
    int interval;
    std::uint32_t away;
    bool shown;
  } rows[] = {{0, 0, false}, {0, 1, true},  {-5, 0, false},
              {-5, 1, true}, {2, 2, false}, {2, 3, true}};
  int moves = 0;
  for (const auto& row : rows) {
    options.AutoShowInterval = row.interval;
    list[0].Show();
    Over({inside.x + ++moves, inside.y});
    FireAfter(300);
    ASSERT_FALSE(Shown(0));
    platform.desktop.cursor = away;
    FireAfter(row.away);
    EXPECT_EQ(Shown(0), row.shown) << row.interval << " after " << row.away;
  }
}

TEST_F(AutoHideTest, WhatKeepsADisplayFromHiding) {
  // What keeps the delay from starting is done before the cursor comes; what stops a started
  // delay from hiding, before it ends.
  const struct {
    const char* what;
    bool armed;
    std::function<void()> act;
  } cases[] = {
      {"nothing", true, [] {}},
      {"option off", false, [&] { options.AutoHide = false; }},
      {"menu open", false, [&] { host.menuOpen = true; }},
      {"flashing", false, [&] { list[0].Flash(0, 0xFF); }},
      {"being dragged", false, [&] { drag.Begin(away, away); }},
      {"preferences open", false, [&] { host.displayPreferencesOpen = true; }},
      {"preferences opened", true, [&] { OpenPreferencesAndMove(); }},
      {"cursor left", true, [&] { platform.desktop.cursor = away; }},
      {"shift held", true, [&] { platform.desktop.shiftDown = true; }},
      {"menu opened", true, [&] { host.menuOpen = true; }},
      {"window moved", true, [&] { autoHide->Disarm(); }},
  };
  for (const auto& c : cases) {
    options = TOptions();
    options.AutoHideInterval = 300;
    host = TFakeDisplayHost();
    drag.End();
    list[0].StopFlashing();
    platform.desktop.shiftDown = false;
    timer.running = false;
    autoHide.emplace(list[0], *list[0].Window(), timer, drag, options, list, host);
    if (!c.armed) c.act();
    Over(inside);
    EXPECT_EQ(timer.running, c.armed) << c.what;
    if (c.armed) c.act();
    if (timer.running) FireAfter(300);
    const bool hidden = std::string(c.what) == "nothing";
    EXPECT_EQ(Shown(0), !hidden) << c.what;
    EXPECT_EQ(timer.running, hidden) << c.what;  // polling while hidden, disarmed otherwise
    EXPECT_EQ(autoHide->State(), hidden ? 1 : 0) << c.what;
    list[0].Show();
  }
}

TEST_F(AutoHideTest, InsideMeansStrictlyWithinTheWindowsEdges) {
  // The first display's window covers (100, 100) to (220, 220), edges exclusive.
  const std::pair<TPoint, bool> points[] = {
      {{101, 101}, true},  {{219, 219}, true},  {{100, 150}, false}, {{220, 150}, false},
      {{150, 100}, false}, {{150, 220}, false}, {{5, 150}, false},   {{150, 5}, false}};
  for (const auto& [p, within] : points) {
    platform.desktop.cursor = p;
    EXPECT_EQ(autoHide->IsCursorInside(), within) << p.x << "," << p.y;
  }
}

TEST_F(AutoHideTest, WithoutDelayItHidesAtOnceUnlessShiftIsHeld) {
  options.AutoHideInterval = -5;  // a negative delay waits the shortest a timer can
  Over(away);
  EXPECT_EQ(timer.interval, 1u);
  options.AutoHideInterval = 0;
  platform.desktop.shiftDown = true;
  Over(inside);
  EXPECT_TRUE(Shown(0));
  EXPECT_FALSE(timer.running);
  platform.desktop.shiftDown = false;
  Over(insideToo);
  EXPECT_FALSE(Shown(0));
  platform.desktop.cursor = away;  // and it still comes back
  FireAfter(501);
  EXPECT_TRUE(Shown(0));
}

TEST_F(AutoHideTest, AllDisplaysHideTogetherAndComeBackWhenTheCursorLeavesThemAll) {
  options.AutoHideAllDisplays = true;
  Over(inside);
  FireAfter(300);
  EXPECT_FALSE(Shown(0));
  EXPECT_FALSE(Shown(1));
  TTestPlatform::WindowOf(list[1]).cursorInside = true;  // over the other one
  platform.desktop.cursor = away;
  FireAfter(600);
  EXPECT_FALSE(Shown(0));
  TTestPlatform::WindowOf(list[1]).cursorInside = false;
  FireAfter(501);
  EXPECT_TRUE(Shown(0));
  EXPECT_TRUE(Shown(1));
}

TEST(Drag, FollowsThePressedButtonAndEscPutsItBack) {
  TDrag drag;
  EXPECT_EQ(drag.Move({10, 10}, true, {0, 0}), std::nullopt);  // no drag yet
  drag.Begin({100, 100}, {50, 60});
  EXPECT_EQ(drag.Move({130, 110}, true, {50, 60}), (TPoint{80, 70}));
  EXPECT_EQ(drag.Move({130, 110}, true, {80, 70}), std::nullopt);   // the cursor did not move
  EXPECT_EQ(drag.Move({160, 160}, false, {80, 70}), std::nullopt);  // released outside
  EXPECT_EQ(drag.Move({140, 120}, true, {80, 70}), (TPoint{90, 80}));
  EXPECT_EQ(drag.End(), (TPoint{50, 60}));
  EXPECT_FALSE(drag.Dragging());
  EXPECT_EQ(drag.End(), std::nullopt);
  drag.Begin({0, 0}, {0, 0});
  drag.End();
  EXPECT_EQ(drag.Move({5, 5}, true, {0, 0}), std::nullopt);
}

}  // namespace
