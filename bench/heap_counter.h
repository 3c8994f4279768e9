#pragma once

#include <cstddef>
#include <vector>

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

// The heap traffic of one call of work, in order: what it allocates and frees, with a slot for
// each block so that it can be replayed.
struct HeapStep {
  bool Allocates = false;
  std::size_t Size = 0;  // of an allocation
  std::size_t Slot = 0;  // the block: an allocation fills the slot, a release empties it
};
struct HeapTrace {
  std::vector<HeapStep> Steps;
  std::size_t Slots = 0;
};
HeapTrace TraceHeapOf(void (*work)(void*), void* context);
template <class Work>
HeapTrace TraceHeapOf(Work& work) {
  return TraceHeapOf([](void* context) { (*static_cast<Work*>(context))(); }, &work);
}

// The traffic replayed without the work: every block allocated as the work allocated it and
// each of its bytes written once; what the memory alone costs the work at the least.
void ReplayHeap(const HeapTrace& trace, std::vector<void*>& slots);

}  // namespace zw::bench
