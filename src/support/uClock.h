#pragma once

#include <cstdint>

#include "support/uDateTime.h"

// The system clock as the core sees it.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual TSystemTime UtcNow() = 0;
  virtual TSystemTime LocalNow() = 0;
  // Milliseconds of system uptime; wraps after 49.7 days like the platform's.
  virtual std::uint32_t TickCount() = 0;
};
