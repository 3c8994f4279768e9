#pragma once

#include <cstddef>

namespace zw::bench {

// Counts the heap between Start and Stop: the most in use at once above the level at Start.
// Outside such a span allocation costs nothing extra, so timings stay honest.
void StartHeapCount();
std::size_t StopHeapCount();

}  // namespace zw::bench
