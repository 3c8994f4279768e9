#include "json/json_escape.h"

namespace zw {
namespace {

struct Escape {
  char Bytes[6] = {};
  std::uint8_t Size = 0;
};

constexpr std::array<Escape, 256> Escapes() {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::array<Escape, 256> escapes{};
  for (std::size_t byte = 0; byte < 0x20; ++byte) {
    escapes[byte] = {{'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0x0F]}, 6};
  }
  const auto shortened = [&](unsigned char byte, char letter) {
    escapes[byte] = {{'\\', letter}, 2};
  };
  shortened(0x08, 'b');
  shortened(0x09, 't');
  shortened(0x0A, 'n');
  shortened(0x0C, 'f');
  shortened(0x0D, 'r');
  shortened('"', '"');
  shortened('/', '/');
  shortened('\\', '\\');
  escapes[0x80] = {{'\\', 'u', '2', '0', 'a', 'c'}, 6};  // the euro sign
  return escapes;
}

constexpr std::array<Escape, 256> kEscapes = Escapes();

// The table of sizes and the table of escapes must agree.
constexpr bool TablesAgree() {
  for (std::size_t byte = 0; byte < 256; ++byte) {
    const std::size_t size = kEscapes[byte].Size;
    if ((size == 0 ? 0 : size - 1) != kJsonEscapeExtra[byte]) return false;
  }
  return true;
}
static_assert(TablesAgree());

}  // namespace

std::string_view JsonEscapeOf(unsigned char byte) {
  const Escape& escape = kEscapes[byte];
  return std::string_view(escape.Bytes, escape.Size);
}

}  // namespace zw
