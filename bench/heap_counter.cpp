// Counts the heap of the benchmark process by replacing the global allocation functions.
#include "heap_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace zw::bench {
namespace {

std::atomic<std::size_t> in_use{0};
std::atomic<std::size_t> peak{0};

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const std::size_t now = in_use += malloc_usable_size(block);
  std::size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  in_use -= malloc_usable_size(block);
  std::free(block);
}

}  // namespace

std::size_t HeapInUse() { return in_use.load(); }
std::size_t HeapPeak() { return peak.load(); }
void ResetHeapPeak() { peak.store(in_use.load()); }

}  // namespace zw::bench

void* operator new(std::size_t size) { return zw::bench::Allocate(size); }
void* operator new[](std::size_t size) { return zw::bench::Allocate(size); }
void operator delete(void* block) noexcept { zw::bench::Release(block); }
void operator delete[](void* block) noexcept { zw::bench::Release(block); }
void operator delete(void* block, std::size_t) noexcept { zw::bench::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { zw::bench::Release(block); }
