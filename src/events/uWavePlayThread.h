#pragma once

#include <atomic>
#include <exception>
#include <string>
#include <thread>

class TSound;

// Plays one wave file a number of times on a thread of its own, each time to
// its end. Made suspended; its owner starts it, waits for it and destroys it.
// What fails the series is handed to the owner by WaitFor.
class TVarnPlayWave {
 public:
  // count -1 plays until stopped; interval is the pause before every repetition, in ms.
  TVarnPlayWave(TSound& sound, std::string fileName, int count, int interval);
  ~TVarnPlayWave();
  TVarnPlayWave(const TVarnPlayWave&) = delete;
  TVarnPlayWave& operator=(const TVarnPlayWave&) = delete;

  // Throws what the system throws when it cannot make the thread.
  void Start();
  // Throws what failed the series, once.
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
  std::exception_ptr FFailure;  // written by the thread, read after joining it
  std::thread FThread;
};
