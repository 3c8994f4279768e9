#include "orderlines/component_stream.h"

#include <cstring>

namespace zw {
namespace {

constexpr std::uint8_t kEndOfList = 0x00;
constexpr std::uint8_t kItem = 0x01;
constexpr std::uint8_t kInt8 = 0x02;
constexpr std::uint8_t kInt16 = 0x03;
constexpr std::uint8_t kInt32 = 0x04;
constexpr std::uint8_t kShortString = 0x06;
constexpr std::uint8_t kFalse = 0x08;
constexpr std::uint8_t kTrue = 0x09;
constexpr std::uint8_t kLongString = 0x0C;
constexpr std::uint8_t kCollection = 0x0E;
constexpr std::size_t kShortLimit = 255;

}  // namespace

void ComponentStreamWriter::TypedValue(std::uint8_t type, std::uint32_t value, std::size_t width) {
  char* place = out_.Room(1 + width);
  *place++ = static_cast<char>(type);
  for (std::size_t i = 0; i < width; ++i) place[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  out_.Advance(place + width);
}

void ComponentStreamWriter::Signature() { out_.Put("TPF0"); }

void ComponentStreamWriter::ShortText(std::string_view text) {
  if (text.size() > kShortLimit) text = text.substr(0, kShortLimit);
  // The length byte and the bytes in one piece of room: the writer's most frequent call.
  char* const place = out_.Room(1 + text.size());
  place[0] = static_cast<char>(text.size());
  if (!text.empty()) std::memcpy(place + 1, text.data(), text.size());
  out_.Advance(place + 1 + text.size());
}

void ComponentStreamWriter::Integer(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  if (value >= -128 && value <= 127) {
    TypedValue(kInt8, bits, 1);
  } else if (value >= -32768 && value <= 32767) {
    TypedValue(kInt16, bits, 2);
  } else {
    TypedValue(kInt32, bits, 4);
  }
}

void ComponentStreamWriter::Text(std::string_view text) {
  if (text.size() > kShortLimit) {
    TypedValue(kLongString, static_cast<std::uint32_t>(text.size()), 4);
    out_.Put(text);
    return;
  }
  if (out_.CountsOnly()) {
    out_.Skip(2 + text.size());
    return;
  }
  // The type byte, the length byte and the bytes in one piece of room: most texts are short.
  char* const place = out_.Room(2 + text.size());
  place[0] = static_cast<char>(kShortString);
  place[1] = static_cast<char>(text.size());
  if (!text.empty()) std::memcpy(place + 2, text.data(), text.size());
  out_.Advance(place + 2 + text.size());
}

void ComponentStreamWriter::Boolean(bool value) { Byte(value ? kTrue : kFalse); }

void ComponentStreamWriter::BeginCollection() { Byte(kCollection); }

void ComponentStreamWriter::BeginItem() { Byte(kItem); }

void ComponentStreamWriter::EndOfList() { Byte(kEndOfList); }

}  // namespace zw
