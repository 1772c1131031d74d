#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "support/uDateTime.h"

class TOptions;
class TSound;
class TVarnPlayWave;

// A tower-clock chime: the quarter sound once per quarter passed, then at the
// full hour the hour sound once per hour of a 12-hour dial. It runs on a thread
// of its own that ends by itself; it touches no window and no option.
class TTowerClock {
 public:
  TTowerClock(TSound& sound, std::string quarterSound, const TSystemTime& time,
              std::string hourSound, int quarterGap, int hourGap, int pause);
  ~TTowerClock();
  TTowerClock(const TTowerClock&) = delete;
  TTowerClock& operator=(const TTowerClock&) = delete;

 private:
  friend struct TChimeAccess;
  void Execute();
  // One series of strokes, unless a stop came first.
  void Strike(const std::string& file, int count, int gap);
  // Cuts the current stroke and ends the chime; called under the chime lock.
  void Stop();

  TSound& FSound;
  const int FHourStrokes;
  const int FQuarterStrokes;
  const std::string FQuarterSound;
  const std::string FHourSound;
  const int FQuarterGap;
  const int FHourGap;
  const int FPause;
  // Guarded by the chime lock, which a stop from the UI thread takes too.
  std::unique_ptr<TVarnPlayWave> FPlayer;
  std::atomic<bool> FTerminated{false};
};

// Starts the chime for time, stopping the one that is running; returns at once.
// The options say which sounds it strikes.
void StartTowerClock(const TOptions& options, const TSystemTime& time);
// Ends the running chime, cutting its stroke; does not wait for it.
void StopTowerClock();
// Whether a chime is the current one.
bool IsTowerClockRunning();
// Waits until every chime thread has ended, at most timeout; true when they have.
bool AwaitTowerClocks(std::chrono::milliseconds timeout);
// Stops the running chime and waits for every chime thread: the program's end
// calls it, so that no thread plays into its teardown.
void EndTowerClocks();

// The clock loop's chime rule for a tick at now (local time): in the first five
// seconds of a new quarter-hour minute, inside the chime hours, the tower clock
// or the single sound of that quarter.
void CheckChime(const TOptions& options, const TSystemTime& now, bool minuteChanged);
