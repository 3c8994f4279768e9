#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Unsigned integers as little-endian bytes, the order of every binary layout the tool reads or
// writes. Header only, so the standalone resource generator can use it too.
namespace zw {

// Appends the lowest width bytes of value (width at most 8), lowest byte first.
inline void AppendLittleEndian(std::string& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

// The width bytes (at most 8) at offset, lowest byte first. The caller has checked that they
// are there.
inline std::uint64_t LittleEndianAt(std::string_view bytes, std::size_t offset, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[offset + i]);
    value |= static_cast<std::uint64_t>(byte) << (8 * i);
  }
  return value;
}

}  // namespace zw
