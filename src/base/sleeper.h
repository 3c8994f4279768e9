#pragma once

#include <chrono>

namespace zw {

// Waits between retries go through this seam so tests can count them instead of sleeping.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// Sleeps for real on the calling thread.
Sleeper& SystemSleeper();

}  // namespace zw
