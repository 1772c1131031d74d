#pragma once

#include <atomic>
#include <string>
#include <thread>

class TSound;

// Plays one wave file a number of times on a thread of its own, each time to
// its end. Made suspended; its owner starts it, waits for it and destroys it.
class TVarnPlayWave {
 public:
  // count -1 plays until stopped; interval is the pause before every repetition, in ms.
  TVarnPlayWave(TSound& sound, std::string fileName, int count, int interval);
  ~TVarnPlayWave();
  TVarnPlayWave(const TVarnPlayWave&) = delete;
  TVarnPlayWave& operator=(const TVarnPlayWave&) = delete;

  void Start();
  void WaitFor();
  // Ends the series and cuts the stroke now playing; does not wait. Any thread.
  void Stop();

 private:
  void Execute();

  TSound& FSound;
  const std::string FFileName;
  const int FCount;
  const int FInterval;
  std::atomic<bool> FTerminated{false};
  std::thread FThread;
};
