#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/text_sink.h"

// The binary component stream ("TPF0") in which the order application exchanges its objects:
// short texts with a length byte, and typed values that begin with a type byte.
namespace zw {

class ComponentStreamWriter {
 public:
  explicit ComponentStreamWriter(TextSink& out) : out_(out) {}
  ComponentStreamWriter(const ComponentStreamWriter&) = delete;
  ComponentStreamWriter& operator=(const ComponentStreamWriter&) = delete;

  void Signature();                       // "TPF0"
  void ShortText(std::string_view text);  // length byte, bytes; cut to 255
  // Bytes already in the stream's form, such as a name written once as a short text and then
  // copied for every line.
  void Encoded(std::string_view bytes) { out_.Put(bytes); }
  void Integer(std::int32_t value);  // 0x02, 0x03 or 0x04: the smallest that holds it
  void Text(std::string_view text);  // 0x06 up to 255 bytes, else 0x0C
  void Boolean(bool value);          // 0x08 false, 0x09 true
  void BeginCollection();            // 0x0E
  void BeginItem();                  // 0x01
  void EndOfList();                  // 0x00

 private:
  void Byte(std::uint8_t value) { out_.Put(static_cast<char>(value)); }
  // The type byte and the lowest `width` bytes of the value, lowest first.
  void TypedValue(std::uint8_t type, std::uint32_t value, std::size_t width);

  TextSink& out_;
};

}  // namespace zw
