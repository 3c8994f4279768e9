#include "base/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>
#include <utility>

#include "base/ascii.h"

namespace zw {
namespace {

// Moves past a run of digits, appending them to out; false when there was none.
bool TakeDigits(std::string_view text, std::size_t& pos, std::string& out) {
  const std::size_t start = pos;
  while (pos < text.size() && IsAsciiDigit(text[pos])) out.push_back(text[pos++]);
  return pos > start;
}

// Writes the last `count` digits of the number, two at a time, ending at `end`; returns what is
// left of the number in front of them.
std::uint64_t WriteDigitsBackwards(char* end, std::uint64_t number, int count) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  for (; count >= 2; count -= 2, number /= 100) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (number % 100), 2);
  }
  if (count == 1) {
    *--end = static_cast<char>('0' + number % 10);
    number /= 10;
  }
  return number;
}

// The general form of a value from its 15 significant digits (`digits`, 10^14 to 10^15 - 1) and
// the exponent of the first of them: trailing zeros dropped, exponent form below 1e-4 and from
// 1e15 on. Returns the end of what it wrote.
char* WriteGeneralDigits(char* out, bool negative, std::uint64_t digits, int exponent,
                         char decimal_separator) {
  // The trailing zeros go first, most of them in few steps: whole numbers and prices have many.
  int count = 15;
  for (const auto& [power, zeros] :
       {std::pair<std::uint64_t, int>{100000000, 8}, {10000, 4}, {100, 2}, {10, 1}}) {
    if (digits % power == 0) {
      digits /= power;
      count -= zeros;
    }
  }
  if (negative) *out++ = '-';
  if (exponent >= 0 && exponent < 15) {
    // The usual form, written straight in place: the integer digits, padded with zeros when
    // the digits end before the point, then the separator and the fraction's digits.
    const int integer_digits = exponent + 1;
    if (count <= integer_digits) {
      WriteDigitsBackwards(out + count, digits, count);
      out += count;
      for (int i = count; i < integer_digits; ++i) *out++ = '0';
      return out;
    }
    const int fraction_digits = count - integer_digits;
    const std::uint64_t integer = WriteDigitsBackwards(out + count + 1, digits, fraction_digits);
    out[integer_digits] = decimal_separator;
    WriteDigitsBackwards(out + integer_digits, integer, integer_digits);
    return out + count + 1;
  }
  char text[15];
  WriteDigitsBackwards(text + count, digits, count);
  if (exponent < 0 && exponent >= -4) {
    *out++ = '0';
    *out++ = decimal_separator;
    for (int i = 1; i < -exponent; ++i) *out++ = '0';
    std::memcpy(out, text, static_cast<std::size_t>(count));
    return out + count;
  }
  *out++ = text[0];
  if (count > 1) {
    *out++ = decimal_separator;
    std::memcpy(out, text + 1, static_cast<std::size_t>(count - 1));
    out += count - 1;
  }
  *out++ = 'E';
  if (exponent < 0) *out++ = '-';
  const int power = exponent < 0 ? -exponent : exponent;
  const int power_digits = power >= 100 ? 3 : power >= 10 ? 2 : 1;
  WriteDigitsBackwards(out + power_digits, static_cast<std::uint64_t>(power), power_digits);
  return out + power_digits;
}

// The value's 15 significant digits and the exponent of the first of them, from one
// multiplication (or division) by an exact power of ten. The product is the exact one rounded
// once, so it lies within half its last bit of it; as that bit divides one half, the product
// rounds to the same integer as the exact one unless its fraction is exactly one half. False
// then, and where the power of ten would not be exact.
bool ScaledDigits(double magnitude, std::uint64_t& digits, int& exponent) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr int kLargest = 22;
  // The binary exponent times log10(2), about 78913 / 2^18: the decimal exponent or one below.
  const int binary_exponent =
      static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7FF) - 1023;
  exponent = (binary_exponent * 78913) >> 18;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int scale = 14 - exponent;
    if (scale > kLargest || scale < -kLargest) return false;
    const double product = scale >= 0 ? magnitude * kPowers[scale] : magnitude / kPowers[-scale];
    if (product >= 1e15) {
      ++exponent;
      continue;
    }
    if (product < 1e14) return false;
    const auto whole = static_cast<std::uint64_t>(product);
    const double fraction = product - static_cast<double>(whole);
    if (fraction == 0.5) return false;
    digits = whole + (fraction > 0.5 ? 1 : 0);
    if (digits == 1000000000000000) {
      // 999...9.5 and more rounds up to the next power of ten.
      digits = 100000000000000;
      ++exponent;
    }
    return true;
  }
  return false;
}

// The general form of a finite value other than zero through the full conversion: "%.15g"
// rounds to 15 significant digits, drops trailing zeros and switches to exponent form exactly
// below 0.0001 and from 16 digits before the point on. to_chars never looks at the C locale, so
// the separator is only ever the one given. Returns the end of what it wrote.
char* WriteGeneralExactly(char* out, double value, char decimal_separator) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (result.ec != std::errc()) {
    *out++ = '0';
    return out;
  }
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e_pos = std::min(text.find('e'), text.size());
  for (std::size_t i = 0; i < e_pos; ++i) *out++ = text[i] == '.' ? decimal_separator : text[i];
  if (e_pos == text.size()) return out;
  // "1.5e+20" becomes "1,5E20" and "1e-05" becomes "1E-5".
  *out++ = 'E';
  if (text[e_pos + 1] == '-') *out++ = '-';
  std::size_t digits = e_pos + 2;
  while (digits + 1 < text.size() && text[digits] == '0') ++digits;
  for (; digits < text.size(); ++digits) *out++ = text[digits];
  return out;
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text, const NumberReading& reading) {
  const auto is_blank = [&](char c) {
    return c == ' ' || (reading.AnyWhiteSpace && IsWhiteSpace(c));
  };
  const auto is_separator = [&](char c) {
    return c == reading.Separator || (reading.PointToo && c == '.');
  };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);

  // The text is rebuilt in the fixed form that std::from_chars reads, so neither the
  // separator nor the C locale can change how it is parsed.
  std::string ascii;
  std::size_t pos = 0;
  if (pos < text.size() && text[pos] == '+') {
    ++pos;
    if (reading.PlusBeforeMinus && pos < text.size() && text[pos] == '-') {
      ascii.push_back('-');
      ++pos;
    }
  } else if (pos < text.size() && text[pos] == '-') {
    ascii.push_back('-');
    ++pos;
  }
  std::string integer_digits;
  const bool has_integer = TakeDigits(text, pos, integer_digits);
  bool has_separator = false;
  std::string fraction_digits;
  bool has_fraction = false;
  if (pos < text.size() && is_separator(text[pos])) {
    has_separator = true;
    ++pos;
    has_fraction = TakeDigits(text, pos, fraction_digits);
  }
  if (!has_integer && !has_separator) return std::nullopt;
  if (reading.NeedsDigit && !has_integer && !has_fraction) return std::nullopt;
  // A lone separator reads as 0, so an empty integer part stands for 0.
  ascii += has_integer ? integer_digits : std::string("0");
  if (has_fraction) ascii += "." + fraction_digits;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    ++pos;
    ascii.push_back('e');
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      if (text[pos] == '-') ascii.push_back('-');
      ++pos;
    }
    if (!TakeDigits(text, pos, ascii)) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;

  double value = 0;
  const char* const end = ascii.data() + ascii.size();
  const auto [stop, error] = std::from_chars(ascii.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

double TextToNumber(std::string_view text, char decimal_separator) {
  return ReadNumber(text, NumberReading{.Separator = decimal_separator}).value_or(0);
}

std::string CleanNumberText(std::string_view text, char decimal_separator) {
  std::string kept;
  if (!text.empty() && text.front() == '-') kept.push_back('-');
  for (const char c : text) {
    if (IsAsciiDigit(c) || c == decimal_separator) kept.push_back(c);
  }
  return kept;
}

double CellNumber(std::string_view cell, char decimal_separator) {
  // Cleaning keeps only digits and separators, so the cleaned text is a number exactly when it
  // has a digit or a separator and at most one separator. Short numbers are computed here
  // directly: an integer of at most 15 digits divided by a power of ten is exact in both
  // operands, so the one division rounds correctly, just as the full reader would.
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = cell.data();
  const char* const end = p + cell.size();
  std::uint64_t mantissa = 0;
  int digits = 0;  // from the first digit other than 0 on: leading zeros carry no precision
  int fraction_digits = 0;
  bool any = false;
  // The digits before the separator, then those after it, each part in a loop of its own.
  for (; p != end; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
    if (digit < 10) {
      mantissa = mantissa * 10 + digit;
      digits += mantissa != 0 ? 1 : 0;
      any = true;
    } else if (*p == decimal_separator) {
      any = true;
      ++p;
      break;
    }
  }
  for (; p != end; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
    if (digit < 10) {
      mantissa = mantissa * 10 + digit;
      digits += mantissa != 0 ? 1 : 0;
      ++fraction_digits;
    } else if (*p == decimal_separator) {
      // A second separator: no number, which the full reader tells.
      return TextToNumber(CleanNumberText(cell, decimal_separator), decimal_separator);
    }
  }
  if (!any) return 0;
  // More digits than a double holds exactly, which may also have overflowed the integer.
  if (digits > 15 || fraction_digits > 22) {
    return TextToNumber(CleanNumberText(cell, decimal_separator), decimal_separator);
  }
  const double value = static_cast<double>(mantissa) / kPowersOfTen[fraction_digits];
  return !cell.empty() && cell.front() == '-' ? -value : value;
}

std::string_view WriteNumber(double value, char decimal_separator, NumberRoom& room,
                             NonFinite non_finite) {
  char* const begin = room.data();
  if (!std::isfinite(value) && non_finite == NonFinite::Named) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
  }
  if (!std::isfinite(value) || value == 0) return "0";
  char* end = nullptr;
  std::uint64_t digits = 0;
  int exponent = 0;
  // Subnormal numbers carry fewer digits than the scaled product shows.
  const double magnitude = std::fabs(value);
  if (magnitude >= std::numeric_limits<double>::min() &&
      ScaledDigits(magnitude, digits, exponent)) {
    end = WriteGeneralDigits(begin, value < 0, digits, exponent, decimal_separator);
  } else {
    end = WriteGeneralExactly(begin, value, decimal_separator);
  }
  return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

std::string FormatNumber(double value, char decimal_separator, NonFinite non_finite) {
  NumberRoom room;
  return std::string(WriteNumber(value, decimal_separator, room, non_finite));
}

}  // namespace zw
