#pragma once

#include <string>

// The platform's wave player.
class TSound {
 public:
  virtual ~TSound() = default;
  // Starts playing asynchronously; false when playback could not start.
  virtual bool PlayAsync(const std::string& file, bool loop) = 0;
  virtual bool PlaySync(const std::string& file) = 0;
  // Stops whatever PlayAsync started.
  virtual void Purge() = 0;
};
