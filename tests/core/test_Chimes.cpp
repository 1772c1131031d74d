#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "config/uOptions.h"
#include "events/uTowerClock.h"
#include "support/uTestPlatform.h"

namespace {

using namespace std::chrono_literals;
using TPlays = std::vector<std::string>;

class ChimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quarter = TestFile("quarter.wav");
    half = TestFile("half.wav");
    threeQuarters = TestFile("threeQuarters.wav");
    top = TestFile("top.wav");
    options.ChimeQuarterSound = quarter;
    options.ChimeHalfSound = half;
    options.ChimeThreeQuartersSound = threeQuarters;
    options.ChimeTopSound = top;
  }
  void TearDown() override {
    platform.sound.Release();
    StopTowerClock();
    EXPECT_TRUE(AwaitTowerClocks(10s));
    for (const std::string* file : {&quarter, &half, &threeQuarters, &top})
      std::filesystem::remove(*file);
  }
  static TSystemTime At(int hour, int minute, int second = 0, int ms = 0) {
    const auto w = [](int v) { return static_cast<std::uint16_t>(v); };
    return {2026, 12, 0, 6, w(hour), w(minute), w(second), w(ms)};
  }
  // The strokes of one chime, after it has ended.
  TPlays Strike(const TSystemTime& time) {
    StartTowerClock(options, time);
    EXPECT_TRUE(AwaitTowerClocks(10s));
    EXPECT_FALSE(IsTowerClockRunning());
    return std::exchange(platform.sound.played, {});
  }
  TPlays Times(int count, const std::string& file) {
    return TPlays(static_cast<std::size_t>(count), file + " (sync)");
  }
  static TPlays Then(TPlays a, const TPlays& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  TTestPlatform platform;
  TOptions options;
  std::string quarter, half, threeQuarters, top;
};

TEST_F(ChimeTest, SingleSoundsOnlyEarlyInTheirQuarterAndInsideTheHours) {
  options.ChimeQuarter = options.ChimeHalf = options.ChimeThreeQuarters = options.ChimeTop = true;
  options.ChimeStart = 8.0 / 24;
  options.ChimeStop = 22.0 / 24;
  struct Case {
    TSystemTime now;
    bool minuteChanged;
    const char* played;  // empty: nothing
  };
  const Case cases[] = {
      {At(10, 30, 2), true, "half"},
      {At(10, 30, 7), true, ""},  // the minute's first tick came late
      {At(10, 30, 4, 999), true, "half"},
      {At(10, 30, 5), true, ""},
      {At(10, 30, 2), false, ""},
      {At(10, 15), true, "quarter"},
      {At(10, 45), true, "threeQuarters"},
      {At(11, 0), true, "top"},
      {At(10, 31), true, ""},
      {At(8, 0), true, "top"},
      {At(7, 45), true, ""},
      {At(22, 0, 0, 900), true, "top"},
      {At(22, 0, 1), true, ""},
      {At(22, 15), true, ""},
  };
  const std::map<std::string, std::string> files = {
      {"quarter", quarter}, {"half", half}, {"threeQuarters", threeQuarters}, {"top", top}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.now.wHour << ":" << c.now.wMinute << ":" << c.now.wSecond);
    CheckChime(options, c.now, c.minuteChanged);
    const TPlays expected = *c.played ? TPlays{files.at(c.played)} : TPlays{};
    EXPECT_EQ(std::exchange(platform.sound.played, {}), expected);
  }
  // Each switch on its own; and none at all with the chime off.
  options.ChimeHalf = false;
  CheckChime(options, At(10, 30), true);
  options.ChimeHalf = true;
  options.ChimeEnabled = false;
  CheckChime(options, At(10, 30), true);
  EXPECT_TRUE(platform.sound.played.empty());
}

TEST_F(ChimeTest, TowerClockStrikesQuartersThenHours) {
  options.ChimeTowerClock = options.ChimeQuarter = options.ChimeTop = true;
  options.ChimeHalf = true;  // plays no part in this style
  CheckChime(options, At(12, 0, 1), true);
  ASSERT_TRUE(AwaitTowerClocks(10s));
  EXPECT_EQ(platform.sound.played, Then(Times(4, quarter), Times(12, top)));
  ASSERT_EQ(platform.sound.syncStarts.size(), 16u);
  EXPECT_GE(platform.sound.syncStarts[4] - platform.sound.syncStarts[3], 200ms);
  platform.sound.played.clear();

  EXPECT_EQ(Strike(At(12, 30)), Times(2, quarter));
  EXPECT_EQ(Strike(At(13, 0)), Then(Times(4, quarter), Times(1, top)));
  EXPECT_EQ(Strike(At(0, 0)), Then(Times(4, quarter), Times(12, top)));
  EXPECT_EQ(Strike(At(15, 45)), Times(3, quarter));
  options.ChimeQuarter = false;
  EXPECT_EQ(Strike(At(9, 15)), TPlays{});
  EXPECT_EQ(Strike(At(9, 0)), Times(9, top));
  options.ChimeTopSound = top + ".missing";
  EXPECT_EQ(Strike(At(9, 0)), TPlays{});
}

TEST_F(ChimeTest, ANewChimeCutsTheOldOneWhichLeavesTheNewOneReachable) {
  options.ChimeTowerClock = options.ChimeQuarter = options.ChimeTop = true;
  platform.sound.holding = true;  // every stroke lasts until it is cut
  StartTowerClock(options, At(12, 0));
  ASSERT_TRUE(platform.sound.AwaitSyncPlays(1));
  StartTowerClock(options, At(15, 15));  // cuts the first stroke, skips the other fifteen
  ASSERT_TRUE(platform.sound.AwaitSyncPlays(2));
  // The first chime has ended by now or soon; it must not clear the second.
  std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(IsTowerClockRunning());
  StopTowerClock();
  ASSERT_TRUE(AwaitTowerClocks(10s));
  EXPECT_FALSE(IsTowerClockRunning());
  EXPECT_EQ(platform.sound.played, Times(2, quarter));
  EXPECT_EQ(platform.sound.purges, 2);
}

TEST_F(ChimeTest, StoppingAChimeWhileItEndsIsSafe) {
  options.ChimeTowerClock = options.ChimeQuarter = options.ChimeTop = true;
  for (int round = 0; round < 20; ++round) {
    StartTowerClock(options, At(round % 24, 0));
    // Stops race the chime's own end.
    for (int i = 0; i < round * 5; ++i) StopTowerClock();
  }
  StartTowerClock(options, At(1, 0));
  ASSERT_TRUE(AwaitTowerClocks(10s));
  EXPECT_FALSE(IsTowerClockRunning());
  StopTowerClock();  // nothing left to stop
  // The last chime was never stopped: it struck in full.
  const TPlays& played = platform.sound.played;
  ASSERT_GE(played.size(), 5u);
  EXPECT_EQ(TPlays(played.end() - 5, played.end()), Then(Times(4, quarter), Times(1, top)));
}

}  // namespace
