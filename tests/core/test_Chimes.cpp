#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <thread>

#include "config/uOptions.h"
#include "events/uTowerClock.h"
#include "events/uWavePlayThread.h"
#include "support/uReport.h"
#include "support/uTestPlatform.h"

namespace {

using namespace std::chrono_literals;
using TPlays = std::vector<std::string>;

class ChimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
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
  // So many strokes of the quarter sound, then so many of the hour sound.
  TPlays Strokes(int quarters, int hours) {
    TPlays plays(static_cast<std::size_t>(quarters), quarter + " (sync)");
    plays.insert(plays.end(), static_cast<std::size_t>(hours), top + " (sync)");
    return plays;
  }

  TTestPlatform platform;
  TOptions options;
  const std::string quarter = TestFile("quarter.wav"), half = TestFile("half.wav"),
                    threeQuarters = TestFile("threeQuarters.wav"), top = TestFile("top.wav");
};

TEST_F(ChimeTest, SingleSoundsOnlyEarlyInTheirQuarterAndInsideTheHours) {
  options.ChimeQuarter = options.ChimeHalf = options.ChimeThreeQuarters = options.ChimeTop = true;
  options.ChimeStart = 8.0 / 24;
  options.ChimeStop = 22.0 / 24;
  struct Case {
    TSystemTime now;
    bool minuteChanged;
    const std::string* played;
  };
  const Case cases[] = {
      {At(10, 30, 2), true, &half},       {At(10, 30, 4, 999), true, &half},
      {At(10, 30, 5), true, nullptr},  // the minute's first tick came late
      {At(10, 30, 2), false, nullptr},    {At(10, 15), true, &quarter},
      {At(10, 45), true, &threeQuarters}, {At(11, 0), true, &top},
      {At(10, 31), true, nullptr},        {At(8, 0), true, &top},
      {At(7, 45), true, nullptr},         {At(22, 0, 0, 900), true, &top},
      {At(22, 0, 1), true, nullptr},      {At(22, 15), true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.now.wHour << ":" << c.now.wMinute << ":" << c.now.wSecond);
    CheckChime(options, c.now, c.minuteChanged);
    EXPECT_EQ(std::exchange(platform.sound.played, {}), c.played ? TPlays{*c.played} : TPlays{});
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
  EXPECT_EQ(platform.sound.played, Strokes(4, 12));
  ASSERT_EQ(platform.sound.syncStarts.size(), 16u);
  EXPECT_GE(platform.sound.syncStarts[4] - platform.sound.syncStarts[3], 200ms);
  platform.sound.played.clear();

  EXPECT_EQ(Strike(At(12, 30)), Strokes(2, 0));
  EXPECT_EQ(Strike(At(13, 0)), Strokes(4, 1));
  EXPECT_EQ(Strike(At(15, 45)), Strokes(3, 0));
  options.ChimeQuarter = false;
  EXPECT_EQ(Strike(At(9, 15)), TPlays{});
  EXPECT_EQ(Strike(At(9, 0)), Strokes(0, 9));
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
  EndTowerClocks();  // as the program's end: stopped, and every thread has ended
  EXPECT_TRUE(AwaitTowerClocks(0ms));
  EXPECT_FALSE(IsTowerClockRunning());
  EXPECT_EQ(platform.sound.played, Strokes(2, 0));
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
  EXPECT_EQ(TPlays(played.end() - 5, played.end()), Strokes(4, 1));
}

std::mutex gReportsLock;
std::string gReports;

TEST_F(ChimeTest, AStrokeThatFailsEndsItsChimeWithAReportAndTheNextChimeStrikes) {
  options.ChimeTowerClock = options.ChimeQuarter = options.ChimeTop = true;
  platform.sound.failing = true;
  const TReportWriter before = SetReportWriter([](const std::string& text) {
    std::lock_guard lock(gReportsLock);
    gReports += text;
  });
  EXPECT_EQ(Strike(At(12, 0)), TPlays{});
  SetReportWriter(before);
  EXPECT_NE(gReports.find("chime thread: no sound service"), std::string::npos) << gReports;
  platform.sound.failing = false;
  EXPECT_EQ(Strike(At(12, 30)), Strokes(2, 0));
}

// The player on its own: the interval lies between strokes, and a count of -1 plays until stopped.
TEST_F(ChimeTest, APlayerWaitsItsIntervalBetweenStrokesAndEndlessOnesStopWhenAsked) {
  const auto& starts = platform.sound.syncStarts;
  {
    TVarnPlayWave strokes(platform.sound, top, 3, 60);
    strokes.Start();
  }  // the destructor waits for the thread
  ASSERT_EQ(starts.size(), 3u);
  for (std::size_t i = 1; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 60ms);
  TVarnPlayWave endless(platform.sound, top, -1, 0);
  endless.Start();
  EXPECT_TRUE(platform.sound.AwaitSyncPlays(8));
  endless.Stop();
  endless.WaitFor();
  TVarnPlayWave none(platform.sound, top, 0, 0);
  const std::size_t before = starts.size();
  none.Start();
  none.WaitFor();
  EXPECT_GE(before, 8u);
  EXPECT_EQ(starts.size(), before);  // a count of 0 plays nothing
  TVarnPlayWave once(platform.sound, top, 1, 30000);
  once.Start();
  EXPECT_TRUE(platform.sound.AwaitSyncPlays(before + 1));  // the first stroke does not wait
  once.WaitFor();
}

}  // namespace
