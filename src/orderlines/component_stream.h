#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The binary component stream ("TPF0") in which the order application exchanges its objects:
// short texts with a length byte, and typed values that begin with a type byte.
namespace zw {

class ComponentStreamWriter {
 public:
  // Writes behind the bytes out holds. Room for `expected` bytes is made at once and the bytes
  // go straight into it; more room is made when that is not enough. Finish must follow.
  ComponentStreamWriter(std::string& out, std::size_t expected);
  ComponentStreamWriter(const ComponentStreamWriter&) = delete;
  ComponentStreamWriter& operator=(const ComponentStreamWriter&) = delete;

  void Signature();                       // "TPF0"
  void ShortText(std::string_view text);  // length byte, bytes; cut to 255
  void Integer(std::int32_t value);       // 0x02, 0x03 or 0x04: the smallest that holds it
  void Text(std::string_view text);       // 0x06 up to 255 bytes, else 0x0C
  void Boolean(bool value);               // 0x08 false, 0x09 true
  void BeginCollection();                 // 0x0E
  void BeginItem();                       // 0x01
  void EndOfList();                       // 0x00
  // Cuts out to the bytes written.
  void Finish() { out_.resize(end_); }

 private:
  // The place of the next `count` bytes, which the caller fills.
  char* Take(std::size_t count) {
    if (count > out_.size() - end_) Grow(count);
    char* const place = out_.data() + end_;
    end_ += count;
    return place;
  }
  void Grow(std::size_t count);
  void Byte(std::uint8_t value) { *Take(1) = static_cast<char>(value); }
  void Append(std::string_view bytes);
  // The type byte and the lowest `width` bytes of the value, lowest first.
  void TypedValue(std::uint8_t type, std::uint32_t value, std::size_t width);

  std::string& out_;
  std::size_t end_;  // the end of the bytes written so far
};

}  // namespace zw
