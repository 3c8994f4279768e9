#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zw {

// Reads a whole text as a 32-bit integer: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$" or "0x". Nothing may follow. Anything else, an
// empty text or a value out of range gives no value.
std::optional<std::int32_t> ReadInteger(std::string_view text);

}  // namespace zw
