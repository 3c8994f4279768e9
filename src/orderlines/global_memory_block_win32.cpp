#include "orderlines/global_memory_block_win32.h"

#include <cstring>
#include <new>

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
  Unlock();
  if (GlobalSize(memory_) != size_) {
    // Memory that could not be made shorter in place: the block is copied into memory of its
    // exact length, since readers of the clipboard take the memory's length for the item's.
    HGLOBAL exact = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size_);
    if (exact == nullptr) throw std::bad_alloc();
    void* const target = GlobalLock(exact);
    const void* const source = GlobalLock(memory_);
    if (target == nullptr || source == nullptr) {
      if (target != nullptr) GlobalUnlock(exact);
      if (source != nullptr) GlobalUnlock(memory_);
      GlobalFree(exact);
      throw std::bad_alloc();
    }
    std::memcpy(target, source, size_);
    GlobalUnlock(exact);
    GlobalUnlock(memory_);
    GlobalFree(memory_);
    memory_ = exact;
  }
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
