#include "base/win1252.h"

#include <array>

namespace zw {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of Windows-1252 equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char AsChar(unsigned char byte) { return static_cast<char>(byte); }

}  // namespace

char16_t Win1252ToUtf16(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

std::u16string Win1252ToUtf16(std::string_view text) {
  std::u16string result(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    result[i] = Win1252ToUtf16(static_cast<unsigned char>(text[i]));
  return result;
}

char Win1252Of(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
    return AsChar(static_cast<unsigned char>(unit));
  char mapped = '?';
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == unit) mapped = AsChar(static_cast<unsigned char>(0x80 + i));
  }
  return mapped;
}

std::string Utf16ToWin1252(std::u16string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char16_t unit : text) result.push_back(Win1252Of(unit));
  return result;
}

std::string Win1252ToUtf8(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    const char16_t unit = Win1252ToUtf16(static_cast<unsigned char>(c));
    if (unit < 0x80) {
      result.push_back(AsChar(static_cast<unsigned char>(unit)));
    } else if (unit < 0x800) {
      result.push_back(AsChar(static_cast<unsigned char>(0xC0 | (unit >> 6))));
      result.push_back(AsChar(static_cast<unsigned char>(0x80 | (unit & 0x3F))));
    } else {
      result.push_back(AsChar(static_cast<unsigned char>(0xE0 | (unit >> 12))));
      result.push_back(AsChar(static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F))));
      result.push_back(AsChar(static_cast<unsigned char>(0x80 | (unit & 0x3F))));
    }
  }
  return result;
}

unsigned char UpperCase1252(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return static_cast<unsigned char>(byte - 32);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<unsigned char>(byte - 32);
  switch (byte) {
    case 0x9A:  // s caron
      return 0x8A;
    case 0x9C:  // oe
      return 0x8C;
    case 0x9E:  // z caron
      return 0x8E;
    case 0xFF:  // y diaeresis
      return 0x9F;
    default:
      return byte;
  }
}

unsigned char LowerCase1252(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 32);
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 32);
  switch (byte) {
    case 0x8A:  // S caron
      return 0x9A;
    case 0x8C:  // OE
      return 0x9C;
    case 0x8E:  // Z caron
      return 0x9E;
    case 0x9F:  // Y diaeresis
      return 0xFF;
    default:
      return byte;
  }
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

int CompareAsUpperCase(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = Win1252ToUtf16(UpperCase1252(static_cast<unsigned char>(a[i])));
    const char16_t y = Win1252ToUtf16(UpperCase1252(static_cast<unsigned char>(b[i])));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace zw
