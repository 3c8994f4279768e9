// Counts the heap of the benchmark process by replacing the global allocation functions.
#include "heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace zw::bench {
namespace {

// The benchmarks run on one thread; the counters need no synchronisation.
bool counting = false;
long long in_use = 0;  // may dip below zero when blocks from before Start are freed
long long peak = 0;

// While tracing: each block and its size, in order, from room reserved before the work so that
// recording allocates nothing itself.
struct RawStep {
  void* Block;
  std::size_t Size;  // 0 for a release
};
std::vector<RawStep>* tracing = nullptr;

void Record(void* block, std::size_t size) {
  if (tracing != nullptr && tracing->size() < tracing->capacity())
    tracing->push_back({block, size});
}

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  Record(block, size == 0 ? 1 : size);
  if (counting) {
    in_use += static_cast<long long>(malloc_usable_size(block));
    if (in_use > peak) peak = in_use;
  }
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  if (counting) in_use -= static_cast<long long>(malloc_usable_size(block));
  Record(block, 0);
  std::free(block);
}

}  // namespace

void StartHeapCount() {
  in_use = 0;
  peak = 0;
  counting = true;
}

std::size_t StopHeapCount() {
  counting = false;
  return static_cast<std::size_t>(peak);
}

HeapTrace TraceHeapOf(void (*work)(void*), void* context) {
  std::vector<RawStep> raw;
  raw.reserve(std::size_t{1} << 22);
  tracing = &raw;
  work(context);
  tracing = nullptr;
  if (raw.size() == raw.capacity()) throw std::length_error("heap trace too long");

  HeapTrace trace;
  trace.Steps.reserve(raw.size());
  std::unordered_map<void*, std::size_t> slot_of;
  for (const RawStep& step : raw) {
    if (step.Size != 0) {
      slot_of[step.Block] = trace.Slots;
      trace.Steps.push_back({true, step.Size, trace.Slots++});
      continue;
    }
    // Blocks from before the work stay out of the trace.
    const auto found = slot_of.find(step.Block);
    if (found == slot_of.end()) continue;
    trace.Steps.push_back({false, 0, found->second});
    slot_of.erase(found);
  }
  return trace;
}

void ReplayHeap(const HeapTrace& trace, std::vector<void*>& slots) {
  slots.assign(trace.Slots, nullptr);
  for (const HeapStep& step : trace.Steps) {
    if (step.Allocates) {
      void* const block = std::malloc(step.Size);
      if (block == nullptr) throw std::bad_alloc();
      std::memset(block, 0x5A, step.Size);
      slots[step.Slot] = block;
    } else {
      std::free(slots[step.Slot]);
      slots[step.Slot] = nullptr;
    }
  }
  for (void* const block : slots) std::free(block);
}

}  // namespace zw::bench

void* operator new(std::size_t size) { return zw::bench::Allocate(size); }
void* operator new[](std::size_t size) { return zw::bench::Allocate(size); }
void operator delete(void* block) noexcept { zw::bench::Release(block); }
void operator delete[](void* block) noexcept { zw::bench::Release(block); }
void operator delete(void* block, std::size_t) noexcept { zw::bench::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { zw::bench::Release(block); }
