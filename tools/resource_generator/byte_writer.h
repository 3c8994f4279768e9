#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The generator builds on its own, without the product's libraries or include path.
#include "../../src/base/little_endian.h"

namespace resgen {

// Appends little-endian fields, as all RIFF and Windows bitmap headers are laid out.
class ByteWriter {
 public:
  void U8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  void U16(std::uint16_t value) { zw::AppendLittleEndian(bytes_, value, 2); }
  void U32(std::uint32_t value) { zw::AppendLittleEndian(bytes_, value, 4); }
  void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void Tag(std::string_view four_chars) { bytes_.append(four_chars); }
  void Bytes(std::string_view bytes) { bytes_.append(bytes); }

  std::size_t Size() const { return bytes_.size(); }
  const std::string& Result() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace resgen
