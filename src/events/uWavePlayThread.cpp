#include "events/uWavePlayThread.h"

#include <chrono>

#include "support/uSound.h"
#include "support/uTools.h"

TVarnPlayWave::TVarnPlayWave(TSound& sound, std::string fileName, int count, int interval)
    : FSound(sound), FFileName(std::move(fileName)), FCount(count), FInterval(interval) {}

TVarnPlayWave::~TVarnPlayWave() { WaitFor(); }

void TVarnPlayWave::Start() {
  if (!FThread.joinable()) FThread = std::thread([this] { Execute(); });
}

void TVarnPlayWave::WaitFor() {
  if (FThread.joinable()) FThread.join();
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
