#include "json/json_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include "json/json_name_shape.h"
#include "json/json_object.h"

#if defined(ZW_JSON_ARENA_POISONS)
#include <sanitizer/asan_interface.h>
#endif

namespace zw {
namespace {

// The first block holds a short document; later blocks double up to the largest size, so
// that a short document takes little room and a long one a block per megabyte.
constexpr std::size_t kFirstBlockSize = 4096;
constexpr std::size_t kLargestBlockSize = std::size_t{1} << 20;

#if defined(ZW_JSON_ARENA_POISONS)
// Before each value: its size, so that its room can be poisoned when it is deleted.
constexpr std::size_t kValueHeader = alignof(std::max_align_t);

void Poison(const void* room, std::size_t size) { ASAN_POISON_MEMORY_REGION(room, size); }
#else
void Poison(const void*, std::size_t) {}
#endif

}  // namespace

#if defined(ZW_JSON_ARENA_POISONS)
void TJsonArena::Unpoison(const void* room, std::size_t size) {
  ASAN_UNPOISON_MEMORY_REGION(room, size);
}
#endif

TJsonArena::TJsonArena() : next_block_size_(kFirstBlockSize) {}

TJsonArena::~TJsonArena() {
  for (const Block& block : blocks_) Unpoison(block.Bytes.get(), block.Size);
}

void* TJsonArena::Allocate(std::size_t size, std::size_t alignment) {
  if (size > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc();
  const auto padding = [&] {
    const auto at = reinterpret_cast<std::uintptr_t>(next_);
    return static_cast<std::size_t>(((at + alignment - 1) & ~(alignment - 1)) - at);
  };
  const auto space = static_cast<std::size_t>(end_ - next_);
  if (next_ == nullptr || padding() > space || size > space - padding()) {
    AddBlock(size + alignment - 1);
  }
  std::byte* const room = next_ + padding();
  next_ = room + size;
  Unpoison(room, size);
  return room;
}

void TJsonArena::Abandon(const void* room, std::size_t size) { Poison(room, size); }

std::unique_ptr<TJsonObject> TJsonArena::MakeObject(bool use_name_tree) {
  if (no_names_ == nullptr) no_names_ = &TJsonNameShape::Empty(*this);
  return Make<TJsonObject>(*no_names_, use_name_tree);
}

#if defined(ZW_JSON_ARENA_POISONS)
void TJsonArena::Release(void* value) {
  std::size_t size = 0;
  std::memcpy(&size, static_cast<std::byte*>(value) - kValueHeader, sizeof size);
  Poison(value, size);
}
#endif

void* TJsonArena::AllocateValue(std::size_t size, std::size_t alignment) {
#if defined(ZW_JSON_ARENA_POISONS)
  static_cast<void>(alignment);
  auto* const room =
      static_cast<std::byte*>(Allocate(kValueHeader + size, alignof(std::max_align_t)));
  std::memcpy(room, &size, sizeof size);
  return room + kValueHeader;
#else
  return Allocate(size, alignment);
#endif
}

void TJsonArena::AddBlock(std::size_t least) {
  const std::size_t size = std::max(least, next_block_size_);
  next_block_size_ = std::min(next_block_size_ * 2, kLargestBlockSize);
  // Room is written before it is read, so it need not be cleared first.
  blocks_.push_back(Block{std::make_unique_for_overwrite<std::byte[]>(size), size});
  next_ = blocks_.back().Bytes.get();
  end_ = next_ + size;
  Poison(next_, size);
}

}  // namespace zw
