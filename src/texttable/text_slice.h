#pragma once

#include <cstdint>

namespace zw {

// A run of bytes of a text by its offset and length. 32 bits each: the texts a table is made of
// stay below 4 GiB, and a line of many empty fields then needs half the room.
struct TextSlice {
  std::uint32_t Start = 0;
  std::uint32_t Length = 0;
};

}  // namespace zw
