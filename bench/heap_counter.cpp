// Counts the heap of the benchmark process by replacing the global allocation functions.
#include "heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace zw::bench {
namespace {

// The benchmarks run on one thread; the counters need no synchronisation.
bool counting = false;
long long in_use = 0;  // may dip below zero when blocks from before Start are freed
long long peak = 0;

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  if (counting) {
    in_use += static_cast<long long>(malloc_usable_size(block));
    if (in_use > peak) peak = in_use;
  }
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  if (counting) in_use -= static_cast<long long>(malloc_usable_size(block));
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

}  // namespace zw::bench

void* operator new(std::size_t size) { return zw::bench::Allocate(size); }
void* operator new[](std::size_t size) { return zw::bench::Allocate(size); }
void operator delete(void* block) noexcept { zw::bench::Release(block); }
void operator delete[](void* block) noexcept { zw::bench::Release(block); }
void operator delete(void* block, std::size_t) noexcept { zw::bench::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { zw::bench::Release(block); }
