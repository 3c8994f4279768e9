#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zw {

// Copies `count` bytes that do not overlap. The texts of a line and of a rendering are mostly
// a few bytes long, which a call of memcpy costs more than copying: up to 16 bytes are copied
// inline as two pieces that may overlap in the middle, each read and written whole.
inline void CopyBytes(char* to, const char* from, std::size_t count) {
  if (count >= 8) {
    if (count > 16) {
      std::memcpy(to, from, count);
      return;
    }
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + count - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + count - 8, &tail, 8);
  } else if (count >= 4) {
    std::uint32_t head = 0;
    std::uint32_t tail = 0;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + count - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + count - 4, &tail, 4);
  } else if (count != 0) {
    // One, two or three bytes: the first, the middle and the last, some of them the same.
    to[0] = from[0];
    to[count / 2] = from[count / 2];
    to[count - 1] = from[count - 1];
  }
}

}  // namespace zw
