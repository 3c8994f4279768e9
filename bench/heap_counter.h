#pragma once

#include <cstddef>

namespace zw::bench {

// Counts the heap between Start and Stop: the most in use at once above the level at Start.
// Outside such a span allocation costs nothing extra, so timings stay honest.
void StartHeapCount();
std::size_t StopHeapCount();

// The peak heap of one call of work; the call also warms up the timed iterations after it.
template <class Work>
std::size_t PeakHeapOf(Work&& work) {
  StartHeapCount();
  work();
  return StopHeapCount();
}

}  // namespace zw::bench
