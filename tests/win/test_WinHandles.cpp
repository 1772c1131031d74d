#include <gtest/gtest.h>

#include <type_traits>

#include "support/uWinHandles.h"

namespace {

static_assert(!std::is_copy_constructible_v<TUniquePen>);
static_assert(!std::is_copy_assignable_v<TUniqueRegion>);
static_assert(std::is_nothrow_move_constructible_v<TUniqueFont>);
static_assert(!std::is_copy_constructible_v<TWindowDC>);
static_assert(!std::is_copy_constructible_v<TSelectObject>);

TEST(WinHandles, OwnersCountWhatTheyHoldAndMovesKeepTheCount) {
  const long before = LiveGdiObjects();
  {
    TUniquePen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    ASSERT_TRUE(pen);
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    TUniquePen moved(std::move(pen));
    EXPECT_FALSE(pen);
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    TUniquePen other(CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
    EXPECT_EQ(LiveGdiObjects(), before + 2);
    other = std::move(moved);  // the old pen of other is deleted
    EXPECT_EQ(LiveGdiObjects(), before + 1);
  }
  EXPECT_EQ(LiveGdiObjects(), before);
}

TEST(WinHandles, ReleaseGivesTheHandleAwayAndStopsCountingIt) {
  const long before = LiveGdiObjects();
  TUniqueRegion region(CreateRectRgn(0, 0, 10, 10));
  const HRGN raw = region.release();
  EXPECT_EQ(LiveGdiObjects(), before);
  EXPECT_FALSE(region);
  // Still a valid region: release must not have deleted it.
  EXPECT_TRUE(PtInRegion(raw, 5, 5));
  DeleteObject(raw);
}

TEST(WinHandles, DeviceContextsAreReturnedTheWayTheyWereObtained) {
  TUniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr));
  const long before = LiveGdiObjects();
  HDC windowDC = nullptr, memoryDC = nullptr;
  {
    TWindowDC dc(window.get());
    ASSERT_NE(dc.get(), nullptr);
    TUniqueMemoryDC memory(CreateCompatibleDC(dc.get()));
    ASSERT_TRUE(memory);
    windowDC = dc.get();
    memoryDC = memory.get();
    EXPECT_EQ(LiveGdiObjects(), before + 2);
  }
  EXPECT_EQ(LiveGdiObjects(), before);
  EXPECT_EQ(GetObjectType(memoryDC), 0u);  // deleted
  // Given back to the system's cache, the window's DC is the one it hands out next.
  TWindowDC again(window.get());
  EXPECT_EQ(again.get(), windowDC);
  // The paint DC validates what was to be painted and ends the paint, which gives it back.
  ShowWindow(window.get(), SW_SHOWNA);
  InvalidateRect(window.get(), nullptr, FALSE);
  HDC paintDC = nullptr;
  {
    TPaintDC paint(window.get());
    paintDC = paint.get();
  }
  EXPECT_FALSE(GetUpdateRect(window.get(), nullptr, FALSE));
  EXPECT_EQ(TWindowDC(window.get()).get(), paintDC);
  EXPECT_EQ(LiveGdiObjects(), before + 1);  // the window DC above
}

TEST(WinHandles, SelectGuardPutsThePreviousObjectBack) {
  TUniqueMemoryDC dc(CreateCompatibleDC(nullptr));
  const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_PEN);
  TUniquePen pen(CreatePen(PS_SOLID, 3, RGB(9, 9, 9)));
  {
    TSelectObject select(dc.get(), pen.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), original);
}

}  // namespace
