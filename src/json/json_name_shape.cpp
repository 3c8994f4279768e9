#include "json/json_name_shape.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

#include "json/json_arena.h"
#include "json/json_escape.h"

namespace zw {

// Shapes are never destroyed: their arena frees their room.
static_assert(std::is_trivially_destructible_v<TJsonNameShape>);

TJsonNameShape& TJsonNameShape::Empty(TJsonArena& arena) {
  auto* const shape =
      new (arena.Allocate(sizeof(TJsonNameShape), alignof(TJsonNameShape))) TJsonNameShape();
  shape->arena_ = &arena;
  return *shape;
}

int TJsonNameShape::IndexOf(std::string_view name) const {
  for (int i = 0; i < count_; ++i) {
    if (path_[i]->Name() == name) return i;
  }
  return -1;
}

TJsonNameShape* TJsonNameShape::NextAfterLatest(std::string_view name) {
  // A name that a shape was extended by is never one of its own, so a match needs no IndexOf.
  TJsonNameShape* next = first_next_ == nullptr ? nullptr : first_next_->next_sibling_;
  for (int searched = 1; next != nullptr && searched < kNextShapesSearched; ++searched) {
    if (next->HasName(name)) return next;
    next = next->next_sibling_;
  }
  if (count_ >= kMostNames || name.size() > kLongestName || IndexOf(name) >= 0) return nullptr;
  return MakeNext(name);
}

TJsonNameShape* TJsonNameShape::MakeNext(std::string_view name) {
  const std::size_t lead_size = 2 + JsonEscapedSize(name) + 3;
  TJsonArena& arena = *arena_;
  auto* const next =
      new (arena.Allocate(sizeof(TJsonNameShape), alignof(TJsonNameShape))) TJsonNameShape();
  next->arena_ = &arena;
  next->count_ = count_ + 1;

  auto** const path = static_cast<const TJsonNameShape**>(arena.Allocate(
      sizeof(TJsonNameShape*) * static_cast<std::size_t>(next->count_), alignof(TJsonNameShape*)));
  std::copy(path_, path_ + count_, path);
  path[count_] = next;
  next->path_ = path;

  auto* const name_bytes = static_cast<char*>(arena.Allocate(name.size(), 1));
  if (!name.empty()) std::memcpy(name_bytes, name.data(), name.size());
  next->name_ = name_bytes;
  next->name_size_ = static_cast<std::uint32_t>(name.size());

  auto* const lead = static_cast<char*>(arena.Allocate(lead_size, 1));
  char* written = lead;
  *written++ = ',';
  *written++ = '"';
  written = WriteJsonEscaped(written, name);
  *written++ = '"';
  *written++ = ':';
  *written++ = '"';
  next->lead_ = lead;
  next->lead_size_ = static_cast<std::uint32_t>(lead_size);
  // The first member's lead has no comma before it.
  next->added_text_size_ = static_cast<std::uint32_t>(lead_size - (count_ == 0 ? 1 : 0) + 1);

  next->next_sibling_ = first_next_;
  first_next_ = next;
  return next;
}

}  // namespace zw
