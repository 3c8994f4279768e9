#pragma once

#include <windows.h>

#include <cstddef>

#include "base/byte_buffer.h"

namespace zw {

// Moveable global memory, the kind the clipboard takes, written as a growable block: an item is
// written straight into the memory the clipboard keeps instead of being copied into it. Frees
// the memory unless it was handed over.
class GlobalMemoryBlock final : public GrowableBlock {
 public:
  GlobalMemoryBlock() = default;
  ~GlobalMemoryBlock();
  GlobalMemoryBlock(const GlobalMemoryBlock&) = delete;
  GlobalMemoryBlock& operator=(const GlobalMemoryBlock&) = delete;

  std::size_t size() const override { return size_; }
  char* data() override { return data_; }
  char* Resize(std::size_t size) override;

  // The memory, unlocked and exactly as long as the block, for the clipboard to own; nullptr for
  // an empty block. Throws std::bad_alloc when the memory cannot be made that long. The block
  // is empty afterwards.
  HGLOBAL Release();

 private:
  void Unlock();
  // Locks the memory; throws std::bad_alloc when it cannot be.
  void Lock();

  HGLOBAL memory_ = nullptr;
  char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace zw
