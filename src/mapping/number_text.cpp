#include "mapping/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "app/regional_settings.h"

namespace zw {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Moves past a run of digits, appending them to out; false when there was none.
bool TakeDigits(std::string_view text, std::size_t& pos, std::string& out) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) out.push_back(text[pos++]);
  return pos > start;
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

}  // namespace

std::string CleanNumberText(std::string_view text, char decimal_separator) {
  std::string kept;
  if (!text.empty() && text.front() == '-') kept.push_back('-');
  for (const char c : text) {
    if (IsDigit(c) || c == decimal_separator) kept.push_back(c);
  }
  return kept;
}

std::string CleanNumberText(std::string_view text) {
  return CleanNumberText(text, Settings().DecimalSeparator);
}

double TextToNumber(std::string_view text, char decimal_separator) {
  // The text is rebuilt in the fixed form that std::from_chars reads, so neither the
  // separator setting nor the C locale can change how it is parsed.
  std::string ascii;
  std::size_t pos = 0;
  SkipBlanks(text, pos);
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') ascii.push_back('-');
    ++pos;
  }
  std::string integer_digits;
  const bool has_integer = TakeDigits(text, pos, integer_digits);
  bool has_separator = false;
  std::string fraction_digits;
  if (pos < text.size() && text[pos] == decimal_separator) {
    has_separator = true;
    ++pos;
    TakeDigits(text, pos, fraction_digits);
  }
  if (!has_integer && !has_separator) return 0;
  // A lone separator reads as 0, so an empty integer part stands for 0.
  ascii += has_integer ? integer_digits : std::string("0");
  if (!fraction_digits.empty()) ascii += "." + fraction_digits;
  if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
    ++pos;
    ascii.push_back('e');
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      if (text[pos] == '-') ascii.push_back('-');
      ++pos;
    }
    if (!TakeDigits(text, pos, ascii)) return 0;
  }
  SkipBlanks(text, pos);
  if (pos != text.size()) return 0;

  double value = 0;
  const char* const end = ascii.data() + ascii.size();
  const auto [stop, error] = std::from_chars(ascii.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return 0;
  return value;
}

double TextToNumber(std::string_view text) {
  return TextToNumber(text, Settings().DecimalSeparator);
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
    any = any || IsDigit(c) || c == decimal_separator;
    if (IsDigit(c)) {
      if (mantissa != 0 || c != '0') ++digits;  // leading zeros carry no precision
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      if (separators == 1) ++fraction_digits;
      if (digits > 15)
        return TextToNumber(CleanNumberText(cell, decimal_separator), decimal_separator);
    } else if (c == decimal_separator) {
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

double CellNumber(std::string_view cell) { return CellNumber(cell, Settings().DecimalSeparator); }

std::string FormatNumber(double value, char decimal_separator) {
  if (!std::isfinite(value) || value == 0) return "0";
  // "%.15g" rounds to 15 significant digits, drops trailing zeros and switches to exponent
  // form exactly below 0.0001 and from 16 digits before the point on.
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

std::string FormatNumber(double value) { return FormatNumber(value, Settings().DecimalSeparator); }

}  // namespace zw
