#pragma once

#include <string_view>

// Character classes of the ASCII range. Cell texts are Windows-1252 bytes, so these never
// depend on the C locale, and a byte above 0x7F is never a digit or a blank.
namespace zw {

constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A blank or a control character: every byte up to and including the space.
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

// The blanks that a number or a JSON value may stand between.
constexpr bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without the blanks and control characters at either end.
constexpr std::string_view TrimBlankOrControl(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace zw
