#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/byte_words.h"

// The escapes of the JSON text form, byte by byte over 8-bit Windows-1252 text.
namespace zw {

// The escape of a byte that is not written as it stands; empty for the others.
std::string_view JsonEscapeOf(unsigned char byte);

namespace json_escape_detail {

constexpr std::array<std::uint8_t, 256> ExtraBytes() {
  std::array<std::uint8_t, 256> extra{};
  for (std::size_t byte = 0; byte < 0x20; ++byte) extra[byte] = 5;  // \u00XX
  // A backslash and one character.
  for (const int shortened : {0x08, 0x09, 0x0A, 0x0C, 0x0D, int{'"'}, int{'/'}, int{'\\'}}) {
    extra[static_cast<std::size_t>(shortened)] = 1;
  }
  extra[0x80] = 5;  // the euro sign as \u20ac
  return extra;
}

}  // namespace json_escape_detail

// How many bytes a byte's escape adds to it: 0 for a byte written as it stands.
inline constexpr std::array<std::uint8_t, 256> kJsonEscapeExtra = json_escape_detail::ExtraBytes();

// The high bit of a byte that needs an escape, a control byte, '"', '/', '\\' or 0x80, and
// possibly of bytes next to a control byte: not which bytes, only whether any of the word's do.
template <class Word>
Word JsonEscapeBits(Word word) {
  constexpr Word kOnes = static_cast<Word>(~Word{0}) / 0xFF;
  const auto below_blank = static_cast<Word>((word - kOnes * 0x20) & ~word & (kOnes * 0x80));
  return below_blank | BytesEqual(word, '"') | BytesEqual(word, '/') | BytesEqual(word, '\\') |
         BytesEqual(word, '\x80');
}

// The size of the escaped bytes, without quotes.
inline std::size_t JsonEscapedSize(std::string_view bytes) {
  std::size_t size = bytes.size();
  for (const char c : bytes) size += kJsonEscapeExtra[static_cast<unsigned char>(c)];
  return size;
}

// Copies the bytes to `to` and tells whether one of them needs an escape: a word at a time,
// as nearly all need none. Most texts of an order are short; they take two overlapping words
// inline instead of a call.
inline bool CopyJsonBytes(char* to, std::string_view bytes) {
  const char* const from = bytes.data();
  const std::size_t size = bytes.size();
  const auto copy_word = [&](auto word, std::size_t at) {
    std::memcpy(&word, from + at, sizeof word);
    std::memcpy(to + at, &word, sizeof word);
    return JsonEscapeBits(word);
  };
  if (size >= 8) {
    std::uint64_t bits = 0;
    std::size_t at = 0;
    for (; size - at > 8; at += 8) bits |= copy_word(std::uint64_t{}, at);
    return (bits | copy_word(std::uint64_t{}, size - 8)) != 0;
  }
  if (size >= 4) {
    return (copy_word(std::uint32_t{}, 0) | copy_word(std::uint32_t{}, size - 4)) != 0;
  }
  bool escapes = false;
  for (std::size_t i = 0; i < size; ++i) {
    to[i] = from[i];
    escapes |= kJsonEscapeExtra[static_cast<unsigned char>(from[i])] != 0;
  }
  return escapes;
}

// Writes the escaped bytes at `out`, which has room for them; returns the end.
inline char* WriteJsonEscaped(char* out, std::string_view bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (kJsonEscapeExtra[byte] == 0) {
      *out++ = c;
      continue;
    }
    const std::string_view escape = JsonEscapeOf(byte);
    std::memcpy(out, escape.data(), escape.size());
    out += escape.size();
  }
  return out;
}

}  // namespace zw
