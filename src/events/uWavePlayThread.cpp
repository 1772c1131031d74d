#include "events/uWavePlayThread.h"

#include <chrono>
#include <utility>

#include "support/uSound.h"
#include "support/uTools.h"

TVarnPlayWave::TVarnPlayWave(TSound& sound, std::string fileName, int count, int interval)
    : FSound(sound), FFileName(std::move(fileName)), FCount(count), FInterval(interval) {}

TVarnPlayWave::~TVarnPlayWave() {
  if (FThread.joinable()) FThread.join();
}

void TVarnPlayWave::Start() {
  if (FThread.joinable()) return;
  FThread = std::thread([this] {
    try {
      Execute();
    } catch (...) {
      FFailure = std::current_exception();
    }
  });
}

void TVarnPlayWave::WaitFor() {
  if (FThread.joinable()) FThread.join();
  if (FFailure) std::rethrow_exception(std::exchange(FFailure, nullptr));
}

void TVarnPlayWave::Stop() {
  // The request first: a stroke cut before it would let the next one begin.
  FTerminated = true;
  FSound.Purge();
}

void TVarnPlayWave::Execute() {
  if (!SoundFileExists(FFileName)) return;
  for (int i = 0; !FTerminated && (FCount == -1 || i < FCount); ++i) {
    if (i > 0) {
      if (FInterval > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(FInterval));
      else
        std::this_thread::yield();
    }
    if (!FTerminated) FSound.PlaySync(FFileName);
  }
}
