#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

// Eight bytes of a text at a time: finding given bytes in a word with a few integer steps
// instead of one comparison per byte. Header only: its callers are inner loops.
namespace zw {

// The word of eight bytes in memory order with the first byte in the lowest bits, and back:
// a swap of the bytes on a big-endian machine, nothing on the others.
inline std::uint64_t FirstByteLowest(std::uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) {
    std::uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped = (swapped << 8) | ((word >> (8 * i)) & 0xFF);
    word = swapped;
  }
  return word;
}

// The eight bytes at offset, the first in the lowest bits; the caller has checked that they
// are there.
inline std::uint64_t WordAt(std::string_view text, std::size_t offset) {
  std::uint64_t word;
  std::memcpy(&word, text.data() + offset, sizeof word);
  return FirstByteLowest(word);
}

// Writes the eight bytes of a word as WordAt reads them: the lowest bits as the first byte.
inline void StoreWordAt(char* to, std::uint64_t word) {
  word = FirstByteLowest(word);
  std::memcpy(to, &word, sizeof word);
}

// The top bit of every byte of the word that equals the given byte, no other bit. Exact for
// every byte value: no carry runs from one byte into the next. For words of eight bytes, or of
// four where a text is shorter.
template <class Word = std::uint64_t>
Word BytesEqual(Word word, char byte) {
  constexpr Word kOnes = static_cast<Word>(~Word{0}) / 0xFF;
  constexpr Word kLow7 = kOnes * 0x7F;
  const Word differs = word ^ static_cast<Word>(kOnes * static_cast<unsigned char>(byte));
  return static_cast<Word>(~(((differs & kLow7) + kLow7) | differs | kLow7));
}

// How many bytes a mask of BytesEqual marks. One multiplication adds the eight bytes, so no
// processor instruction for counting bits is needed.
inline int MarkedBytes(std::uint64_t marks) {
  return static_cast<int>(((marks >> 7) * 0x0101010101010101ULL) >> 56);
}

}  // namespace zw
