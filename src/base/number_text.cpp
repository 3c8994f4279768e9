#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "base/ascii.h"

namespace zw {
namespace {

// Moves past a run of digits, appending them to out; false when there was none.
bool TakeDigits(std::string_view text, std::size_t& pos, std::string& out) {
  const std::size_t start = pos;
  while (pos < text.size() && IsAsciiDigit(text[pos])) out.push_back(text[pos++]);
  return pos > start;
}

// Whole numbers and amounts of at most two decimals, the usual quantities and prices, are
// written from their integer of hundredths. A decimal of at most 15 digits is the only one of
// that many digits that reads back as its double, so these are also the shortest digits, and
// the value lies between 0.01 and 1e13, where the general form has no exponent. False for any
// other value.
bool AppendHundredths(std::string& out, double value, char decimal_separator) {
  if (!(std::fabs(value) < 1e13)) return false;
  // A candidate only: it counts when dividing it back gives the very value.
  const auto hundredths = static_cast<std::int64_t>(value * 100 + (value < 0 ? -0.5 : 0.5));
  if (hundredths == 0 || static_cast<double>(hundredths) / 100 != value) return false;
  if (hundredths < 0) out.push_back('-');
  // The digits from the last: hundredths, tenths, then the integer part, at least a 0.
  char digits[20];
  int count = 0;
  for (std::uint64_t rest = hundredths < 0 ? 0 - static_cast<std::uint64_t>(hundredths)
                                           : static_cast<std::uint64_t>(hundredths);
       rest != 0 || count < 3; rest /= 10) {
    digits[count++] = static_cast<char>('0' + rest % 10);
  }
  for (int i = count - 1; i >= 2; --i) out.push_back(digits[i]);
  if (digits[0] != '0' || digits[1] != '0') {
    out.push_back(decimal_separator);
    out.push_back(digits[1]);
    if (digits[0] != '0') out.push_back(digits[0]);
  }
  return true;
}

// Rounds the 16 or 17 shortest digits of a value to the value's 15 significant digits; false
// when only the full conversion can tell. No decimal of fewer digits than the shortest ones
// reads back as the value, and none of the same count lies closer to it. So no rounding
// boundary of the 15-digit grid, a 16-digit decimal ending in 5, lies between the value and its
// shortest digits, unless those digits are such a boundary themselves: then the value may lie
// on either side of it. The count of digits may shrink by a carry; the exponent then grows.
bool RoundShortestTo15(char (&digits)[20], int& count, int& exponent) {
  if (count == 16 && digits[15] == '5') return false;
  const bool up = digits[15] >= '5';
  count = 15;
  if (up) {
    int i = count - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = '1';
      ++exponent;
    }
  }
  // The general form drops trailing zeros.
  while (count > 1 && digits[count - 1] == '0') --count;
  return true;
}

// The general form of the value rounded to 15 significant digits, taken from the shortest
// digits that read back as it. With at most 15 of them they are already those digits: a double
// lies closer to its shortest digits than half a step of the 15-digit grid. With more they are
// rounded, where that is certain to give the same digits. False otherwise, for the full
// conversion.
bool AppendShortGeneral(std::string& out, double value, char decimal_separator) {
  char shortest[32];
  const auto [end, error] =
      std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
  if (error != std::errc()) return false;
  const char* p = shortest;
  const bool negative = *p == '-';
  if (negative) ++p;
  char digits[20];
  int count = 0;
  for (; p != end && *p != 'e'; ++p) {
    if (*p == '.') continue;
    if (count == 17) return false;
    digits[count++] = *p;
  }
  if (p == end) return false;
  ++p;
  const bool negative_exponent = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int exponent = 0;
  for (; p != end; ++p) exponent = exponent * 10 + (*p - '0');
  if (negative_exponent) exponent = -exponent;
  if (count > 15 && !RoundShortestTo15(digits, count, exponent)) return false;

  if (negative) out.push_back('-');
  if (exponent < -4 || exponent >= 15) {
    out.push_back(digits[0]);
    if (count > 1) {
      out.push_back(decimal_separator);
      out.append(digits + 1, static_cast<std::size_t>(count - 1));
    }
    out.push_back('E');
    if (exponent < 0) out.push_back('-');
    out += std::to_string(exponent < 0 ? -exponent : exponent);
  } else if (exponent >= 0) {
    const int integer_digits = exponent + 1;
    for (int i = 0; i < integer_digits; ++i) out.push_back(i < count ? digits[i] : '0');
    if (count > integer_digits) {
      out.push_back(decimal_separator);
      out.append(digits + integer_digits, static_cast<std::size_t>(count - integer_digits));
    }
  } else {
    out.push_back('0');
    out.push_back(decimal_separator);
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits, static_cast<std::size_t>(count));
  }
  return true;
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
  constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fraction_digits = 0;
  int separators = 0;
  bool any = false;
  for (const char c : cell) {
    const unsigned digit = static_cast<unsigned char>(c) - static_cast<unsigned>('0');
    if (digit < 10) {
      any = true;
      if (mantissa != 0 || digit != 0) ++digits;  // leading zeros carry no precision
      mantissa = mantissa * 10 + digit;
      if (separators == 1) ++fraction_digits;
      if (digits > 15)
        return TextToNumber(CleanNumberText(cell, decimal_separator), decimal_separator);
    } else if (c == decimal_separator) {
      any = true;
      ++separators;
    }
  }
  if (!any) return 0;
  if (separators > 1 || fraction_digits > 22) {
    return TextToNumber(CleanNumberText(cell, decimal_separator), decimal_separator);
  }
  const double value = static_cast<double>(mantissa) / kPowersOfTen[fraction_digits];
  return !cell.empty() && cell.front() == '-' ? -value : value;
}

std::string FormatNumber(double value, char decimal_separator, NonFinite non_finite) {
  if (!std::isfinite(value) && non_finite == NonFinite::Named) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
  }
  if (!std::isfinite(value) || value == 0) return "0";
  // Subnormal numbers carry fewer digits than their shortest form shows.
  if (std::fabs(value) >= std::numeric_limits<double>::min()) {
    std::string text;
    if (AppendHundredths(text, value, decimal_separator)) return text;
    if (AppendShortGeneral(text, value, decimal_separator)) return text;
  }
  // "%.15g" rounds to 15 significant digits, drops trailing zeros and switches to exponent
  // form exactly below 0.0001 and from 16 digits before the point on. to_chars never looks at
  // the C locale, so the separator is only ever the one given.
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (result.ec != std::errc()) return "0";
  std::string text(buffer, result.ptr);
  const std::size_t e_pos = text.find('e');
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text[point] = decimal_separator;
  if (e_pos == std::string::npos) return text;
  // "1.5e+20" becomes "1,5E20" and "1e-05" becomes "1E-5".
  const bool negative_exponent = text[e_pos + 1] == '-';
  std::size_t digits = e_pos + 2;
  while (digits + 1 < text.size() && text[digits] == '0') ++digits;
  return text.substr(0, e_pos) + (negative_exponent ? "E-" : "E") + text.substr(digits);
}

}  // namespace zw
