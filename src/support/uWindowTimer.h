#pragma once

// A timer of one window: Start (re)starts it with an interval, Stop ends it.
class TWindowTimer {
 public:
  virtual ~TWindowTimer() = default;
  virtual void Start(unsigned milliseconds) = 0;
  virtual void Stop() = 0;
};
