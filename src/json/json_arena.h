#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "json/json_values.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZW_JSON_ARENA_POISONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZW_JSON_ARENA_POISONS 1
#endif
#endif

// Room for the values of one JSON document, taken from a few large blocks and freed with them.
namespace zw {

class TJsonNameShape;
class TJsonObject;

// A document of a hundred thousand parts would otherwise be a hundred thousand heap blocks,
// made and freed one by one. Values made here are still owned by std::unique_ptr and still
// destroyed one by one, from the last child to the first; only their room is given back at
// once when the arena ends, so the arena must outlive every value made in it. Under
// AddressSanitizer, room that is not handed out or no longer used is poisoned, so a stray
// access is reported as it would be for a heap block.
class TJsonArena {
 public:
  TJsonArena();
  ~TJsonArena();
  TJsonArena(const TJsonArena&) = delete;
  TJsonArena& operator=(const TJsonArena&) = delete;

  // Room for `size` bytes aligned to `alignment` (a power of two, at most that of
  // std::max_align_t), for as long as the arena lasts.
  void* Allocate(std::size_t size, std::size_t alignment);
  // Lengthens the room that ends at `end` by `more` bytes, when that room was the last one
  // handed out and its block has space left; otherwise false and nothing changes.
  bool Extend(const void* end, std::size_t more) {
    // Before the first block both ends are null, and there is no space.
    if (end != next_ || more > static_cast<std::size_t>(end_ - next_)) return false;
    Unpoison(next_, more);
    next_ += more;
    return true;
  }
  // Room the caller no longer uses; it stays the arena's.
  static void Abandon(const void* room, std::size_t size);

  // A value placed in the arena. Deleting it runs its destructor only.
  template <class Value, class... Args>
  std::unique_ptr<Value> Make(Args&&... args) {
    Value* value =
        new (AllocateValue(sizeof(Value), alignof(Value))) Value(std::forward<Args>(args)...);
    static_cast<TJsonBase*>(value)->in_arena_ = true;
    return std::unique_ptr<Value>(value);
  }
  // An object that keeps the strings it is given by name as packed members, whose names it
  // shares with the other objects of this arena (see TJsonPackedMembers).
  std::unique_ptr<TJsonObject> MakeObject(bool use_name_tree);

  // Called by TJsonBase's delete for a value made here, after its destructor.
#if defined(ZW_JSON_ARENA_POISONS)
  static void Release(void* value);
#else
  static void Release(void*) {}
#endif

 private:
  struct Block {
    std::unique_ptr<std::byte[]> Bytes;
    std::size_t Size = 0;
  };

  void* AllocateValue(std::size_t size, std::size_t alignment);
  // Makes room usable that was poisoned for AddressSanitizer; nothing in other builds.
#if defined(ZW_JSON_ARENA_POISONS)
  static void Unpoison(const void* room, std::size_t size);
#else
  static void Unpoison(const void*, std::size_t) {}
#endif
  void AddBlock(std::size_t least);

  std::vector<Block> blocks_;
  std::byte* next_ = nullptr;
  std::byte* end_ = nullptr;
  std::size_t next_block_size_;
  TJsonNameShape* no_names_ = nullptr;
};

}  // namespace zw
