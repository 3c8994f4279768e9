#pragma once

#include <atomic>

namespace zw {

// Sets the flag when the process is asked to stop (SIGINT/SIGTERM, Ctrl+C or closing).
void StopOnSignal(std::atomic<bool>& stop);

}  // namespace zw
