#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "base/sleeper.h"

namespace zw::test {

// Records the pauses asked for instead of sleeping; can run an action at each pause.
class FakeSleeper final : public Sleeper {
 public:
  void Sleep(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    if (on_sleep) on_sleep();
  }

  std::vector<std::chrono::milliseconds> pauses;
  std::function<void()> on_sleep;
};

}  // namespace zw::test
