#include "orderlines/global_memory_block_win32.h"

#include <cstring>
#include <new>
#include <utility>

namespace zw {

GlobalMemoryBlock::~GlobalMemoryBlock() {
  Unlock();
  if (memory_ != nullptr) GlobalFree(memory_);
}

char* GlobalMemoryBlock::Resize(std::size_t size) {
  if (size == size_) return data_;
  if (size == 0) {
    Unlock();
    GlobalFree(memory_);
    memory_ = nullptr;
    size_ = 0;
    return nullptr;
  }
  if (memory_ == nullptr) {
    memory_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (memory_ == nullptr) throw std::bad_alloc();
    size_ = size;
    Lock();
    return data_;
  }
  Unlock();
  HGLOBAL resized = GlobalReAlloc(memory_, size, GMEM_MOVEABLE);
  if (resized == nullptr) {
    Lock();
    // A shorter block keeps its longer memory; Release cuts it.
    if (size > size_) throw std::bad_alloc();
    size_ = size;
    return data_;
  }
  memory_ = resized;
  size_ = size;
  Lock();
  return data_;
}

HGLOBAL GlobalMemoryBlock::Release() {
  if (memory_ == nullptr) return nullptr;
  if (GlobalSize(memory_) != size_) {
    // Memory that could not be made shorter in place: the block is copied into memory of its
    // exact length, since readers of the clipboard take the memory's length for the item's.
    GlobalMemoryBlock exact;
    std::memcpy(exact.Resize(size_), data_, size_);
    std::swap(memory_, exact.memory_);
    std::swap(data_, exact.data_);
  }
  Unlock();
  HGLOBAL const released = memory_;
  memory_ = nullptr;
  size_ = 0;
  return released;
}

void GlobalMemoryBlock::Unlock() {
  if (data_ == nullptr) return;
  GlobalUnlock(memory_);
  data_ = nullptr;
}

void GlobalMemoryBlock::Lock() {
  data_ = static_cast<char*>(GlobalLock(memory_));
  if (data_ == nullptr) throw std::bad_alloc();
}

}  // namespace zw
