#include "json/json_packed_members.h"

#include <algorithm>

namespace zw {
namespace {

template <std::size_t kSize>
void CopyWord(char* to, const char* from) {
  char word[kSize];
  std::memcpy(word, from, kSize);
  std::memcpy(to, word, kSize);
}

// Copies the bytes and returns their end. Most names and texts of an order are a few bytes
// long: those are copied as two overlapping words, inline, instead of through a call.
inline char* CopyBytes(char* to, const char* from, std::size_t size) {
  if (size <= 16) {
    if (size >= 8) {
      CopyWord<8>(to, from);
      CopyWord<8>(to + size - 8, from + size - 8);
    } else if (size >= 4) {
      CopyWord<4>(to, from);
      CopyWord<4>(to + size - 4, from + size - 4);
    } else {
      for (std::size_t i = 0; i < size; ++i) to[i] = from[i];
    }
  } else if (size <= 32) {
    CopyWord<16>(to, from);
    CopyWord<16>(to + size - 16, from + size - 16);
  } else {
    std::memcpy(to, from, size);
  }
  return to + size;
}

}  // namespace

char* TJsonPackedMembers::WriteText(char* out) const {
  *out++ = '{';
  bool first = true;
  ForEach([&](const TJsonNameShape& member, std::string_view text, bool escapes) {
    std::string_view lead = member.Lead();
    if (first) lead.remove_prefix(1);
    first = false;
    out = CopyBytes(out, lead.data(), lead.size());
    out = escapes ? WriteJsonEscaped(out, text) : CopyBytes(out, text.data(), text.size());
    *out++ = '"';
  });
  *out++ = '}';
  return out;
}

void TJsonPackedMembers::Clear() {
  if (bytes_ != nullptr) TJsonArena::Abandon(bytes_, room_);
  *this = TJsonPackedMembers();
}

bool TJsonPackedMembers::MoveToNewRoom(std::size_t size) {
  if (size > kMostRoom - used_) return false;
  const std::size_t least = used_ + size;
  // A first room of just the text, as the next ones usually extend it; a moved room doubles.
  const std::size_t room =
      bytes_ == nullptr ? least : std::min(std::max(least, std::size_t{2} * room_), kMostRoom);
  auto* const bytes = static_cast<char*>(shape_->Arena().Allocate(room, 1));
  if (used_ > 0) std::memcpy(bytes, bytes_, used_);
  if (bytes_ != nullptr) TJsonArena::Abandon(bytes_, room_);
  bytes_ = bytes;
  room_ = static_cast<std::uint32_t>(room);
  return true;
}

}  // namespace zw
