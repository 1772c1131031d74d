#include "events/uTowerClock.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <iterator>
#include <list>
#include <mutex>
#include <system_error>
#include <thread>

#include "config/uOptions.h"
#include "events/uWavePlayThread.h"
#include "support/uPlatform.h"
#include "support/uReport.h"
#include "support/uTools.h"

namespace {

// A chime thread until it is joined; ended is set by the thread, under the lock.
struct TChimeThread {
  std::thread thread;
  bool ended = false;
};

// What the UI thread and the chime threads share: the current chime and the
// chime threads not yet joined, under one lock.
struct TChimes {
  std::mutex lock;
  std::condition_variable changed;
  std::shared_ptr<TTowerClock> current;
  std::list<TChimeThread> threads;
};

TChimes& Chimes() {
  // Never destroyed: a thread that no one joined still finds it at the process's end.
  static TChimes& chimes = *new TChimes;
  return chimes;
}

bool AllEnded(const TChimes& chimes) {
  return std::all_of(chimes.threads.begin(), chimes.threads.end(),
                     [](const TChimeThread& t) { return t.ended; });
}

// Joins the chime threads that have ended, or every one, outside the lock
// that their last step takes.
void JoinChimeThreads(bool all) {
  std::list<TChimeThread> joined;
  {
    TChimes& chimes = Chimes();
    std::lock_guard lock(chimes.lock);
    for (auto it = chimes.threads.begin(); it != chimes.threads.end();) {
      const auto next = std::next(it);
      if (all || it->ended) joined.splice(joined.end(), chimes.threads, it);
      it = next;
    }
  }
  for (TChimeThread& t : joined) t.thread.join();
}

// Whole seconds of a time of day (the fraction of a date-time), milliseconds dropped.
std::int64_t SecondOfDay(TDateTime timeOfDay) {
  return static_cast<std::int64_t>(std::nearbyint(TimeOfDay(timeOfDay) * 86400000.0)) / 1000;
}

}  // namespace

// The thread body and the stop reach the chime's private parts from here.
struct TChimeAccess {
  static void Run(const std::shared_ptr<TTowerClock>& chime) { chime->Execute(); }
  static void Stop(TTowerClock& chime) { chime.Stop(); }
};

TTowerClock::TTowerClock(TSound& sound, std::string quarterSound, const TSystemTime& time,
                         std::string hourSound, int quarterGap, int hourGap, int pause)
    : FSound(sound),
      FHourStrokes(time.wHour % 12 == 0 ? 12 : time.wHour % 12),
      FQuarterStrokes(time.wMinute / 15 % 4 == 0 ? 4 : time.wMinute / 15 % 4),
      FQuarterSound(std::move(quarterSound)),
      FHourSound(std::move(hourSound)),
      FQuarterGap(quarterGap),
      FHourGap(hourGap),
      FPause(pause) {}

TTowerClock::~TTowerClock() = default;

void TTowerClock::Execute() {
  if (SoundFileExists(FQuarterSound)) {
    Strike(FQuarterSound, FQuarterStrokes, FQuarterGap);
    std::unique_lock lock(Chimes().lock);
    // A stop wakes the pause early; a pause of 0 or less returns at once.
    Chimes().changed.wait_for(lock, std::chrono::milliseconds(FPause),
                              [this] { return FTerminated.load(); });
  }
  if (SoundFileExists(FHourSound) && FQuarterStrokes == 4 && !FTerminated)
    Strike(FHourSound, FHourStrokes, FHourGap);
}

void TTowerClock::Strike(const std::string& file, int count, int gap) {
  TVarnPlayWave* player = nullptr;
  {
    std::lock_guard lock(Chimes().lock);
    if (FTerminated) return;
    FPlayer = std::make_unique<TVarnPlayWave>(FSound, file, count, gap);
    player = FPlayer.get();
  }
  // The player lives until it is cleared below, under the lock a stop takes.
  player->Start();
  player->WaitFor();
  std::lock_guard lock(Chimes().lock);
  FPlayer.reset();
}

void TTowerClock::Stop() {
  FTerminated = true;
  if (FPlayer) FPlayer->Stop();
  Chimes().changed.notify_all();
}

void StopTowerClock() {
  TChimes& chimes = Chimes();
  std::lock_guard lock(chimes.lock);
  if (chimes.current) TChimeAccess::Stop(*chimes.current);
}

void StartTowerClock(const TOptions& options, const TSystemTime& time) {
  TSound* sound = Platform().sound;
  if (!sound) return;
  StopTowerClock();
  auto chime = std::make_shared<TTowerClock>(
      *sound, options.ChimeQuarter ? options.ChimeQuarterSound : std::string(), time,
      options.ChimeTop ? options.ChimeTopSound : std::string(), 0, 0, 200);
  JoinChimeThreads(false);
  TChimes& chimes = Chimes();
  std::lock_guard lock(chimes.lock);
  TChimeThread& entry = chimes.threads.emplace_back();
  try {
    entry.thread = std::thread([chime, &entry] {
      // A stroke that fails ends the chime, and only the chime.
      RunReported("chime thread", [&] { TChimeAccess::Run(chime); });
      TChimes& all = Chimes();
      std::lock_guard end(all.lock);
      // A newer chime stays reachable by the next stop.
      if (all.current == chime) all.current.reset();
      entry.ended = true;
      all.changed.notify_all();
    });
  } catch (const std::system_error&) {
    chimes.threads.pop_back();
    return;  // no thread, no chime
  }
  chimes.current = std::move(chime);
}

bool IsTowerClockRunning() {
  std::lock_guard lock(Chimes().lock);
  return Chimes().current != nullptr;
}

bool AwaitTowerClocks(std::chrono::milliseconds timeout) {
  TChimes& chimes = Chimes();
  bool ended = false;
  {
    std::unique_lock lock(chimes.lock);
    ended = chimes.changed.wait_for(lock, timeout, [&] { return AllEnded(chimes); });
  }
  JoinChimeThreads(false);
  return ended;
}

void EndTowerClocks() {
  StopTowerClock();
  JoinChimeThreads(true);
}

void CheckChime(const TOptions& options, const TSystemTime& now, bool minuteChanged) {
  if (!options.ChimeEnabled || !minuteChanged || now.wSecond >= 5) return;
  const std::int64_t second = (now.wHour * 60 + now.wMinute) * 60 + now.wSecond;
  if (second < SecondOfDay(options.ChimeStart) || second > SecondOfDay(options.ChimeStop)) return;
  if (now.wMinute % 15 != 0) return;
  if (options.ChimeTowerClock) {
    StartTowerClock(options, now);
    return;
  }
  struct TQuarter {
    bool TOptions::*on;
    std::string TOptions::*sound;
  };
  static constexpr TQuarter kQuarters[] = {
      {&TOptions::ChimeTop, &TOptions::ChimeTopSound},
      {&TOptions::ChimeQuarter, &TOptions::ChimeQuarterSound},
      {&TOptions::ChimeHalf, &TOptions::ChimeHalfSound},
      {&TOptions::ChimeThreeQuarters, &TOptions::ChimeThreeQuartersSound},
  };
  const TQuarter& quarter = kQuarters[now.wMinute / 15 % 4];
  if (options.*quarter.on) PlaySoundFile(options.*quarter.sound, false);
}
