#include <gtest/gtest.h>

#include "support/uTools.h"

namespace {

struct KeepCase {
  TRect in;
  TRect bounds;
  TRect expected;
};

TEST(KeepHalfInside, ClampsSoThatHalfStaysWithinBounds) {
  const TRect screen{0, 0, 1024, 768};
  const KeepCase cases[] = {
      {{2000, 100, 2200, 200}, screen, {924, 100, 1124, 200}},   // beyond the right edge
      {{-500, 100, -300, 200}, screen, {-100, 100, 100, 200}},   // beyond the left edge
      {{100, 900, 300, 1000}, screen, {100, 718, 300, 818}},     // below
      {{100, -400, 300, -300}, screen, {100, -50, 300, 50}},     // above
      {{100, 100, 300, 200}, screen, {100, 100, 300, 200}},      // inside: unchanged
      {{50, 50, 50, 50}, {0, 0, 10, 10}, {9, 9, 11, 11}},        // empty: sides become 2
      // Bounds narrower than the window: the far limits are applied first.
      {{100, 100, 400, 400}, {0, 0, 100, 100}, {-50, -50, 250, 250}},
  };
  for (const auto& c : cases) {
    TRect r = c.in;
    KeepHalfInside(r, c.bounds);
    EXPECT_EQ(r, c.expected) << c.in.left << "," << c.in.top;
  }
}

TEST(SplitShortCut, SeparatesKeyAndModifiers) {
  EXPECT_EQ(SplitShortCut(0x2000 | 'A').key, unsigned('A'));
  EXPECT_EQ(SplitShortCut(0x2000 | 'A').shift, unsigned(ssShift));
  EXPECT_EQ(SplitShortCut(0x4000 | 0x8000 | 0x70).shift, unsigned(ssCtrl | ssAlt));
  EXPECT_EQ(SplitShortCut(0x4000 | 0x8000 | 0x70).key, 0x70u);
  EXPECT_EQ(SplitShortCut(0x41).shift, 0u);
}

}  // namespace
