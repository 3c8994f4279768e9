#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zw {

// Copies `count` bytes, at least one Word's and at most two Words' size, as a first and a last
// Word, which overlap in the middle where count is less than two.
template <class Word>
inline void CopyFirstAndLastWord(char* to, const char* from, std::size_t count) {
  Word first = 0;
  Word last = 0;
  std::memcpy(&first, from, sizeof first);
  std::memcpy(&last, from + count - sizeof last, sizeof last);
  std::memcpy(to, &first, sizeof first);
  std::memcpy(to + count - sizeof last, &last, sizeof last);
}

// Copies `count` bytes that do not overlap. The texts of a line and of a rendering are mostly
// a few bytes long, which a call of memcpy costs more than copying: up to 16 bytes are copied
// inline, each byte read and written whole.
inline void CopyBytes(char* to, const char* from, std::size_t count) {
  if (count > 16) {
    std::memcpy(to, from, count);
  } else if (count >= 8) {
    CopyFirstAndLastWord<std::uint64_t>(to, from, count);
  } else if (count >= 4) {
    CopyFirstAndLastWord<std::uint32_t>(to, from, count);
  } else if (count != 0) {
    // One, two or three bytes: the first, the middle and the last, some of them the same.
    to[0] = from[0];
    to[count / 2] = from[count / 2];
    to[count - 1] = from[count - 1];
  }
}

}  // namespace zw
