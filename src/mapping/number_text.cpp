#include "mapping/number_text.h"

#include <charconv>
#include <cmath>
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

double CellNumber(std::string_view cell) { return TextToNumber(CleanNumberText(cell)); }

std::string FormatNumber(double value, char decimal_separator) {
  if (!std::isfinite(value) || value == 0) return "0";

  // Rounded to 15 significant digits: "d.dddddddddddddde<exponent>".
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  if (result.ec != std::errc()) return "0";
  const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e_pos = scientific.find('e');
  if (e_pos == std::string_view::npos) return "0";

  const bool negative = scientific.front() == '-';
  std::string digits;
  for (const char c : scientific.substr(0, e_pos)) {
    if (IsDigit(c)) digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string_view exponent_text = scientific.substr(e_pos + 1);
  if (!exponent_text.empty() && exponent_text.front() == '+') exponent_text.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);

  std::string text = negative ? "-" : "";
  // Digits before the separator when the value is written as 0.d1d2... times ten to this.
  const int point = exponent + 1;
  if (point < -3 || point > 15) {
    text.push_back(digits.front());
    if (digits.size() > 1) {
      text.push_back(decimal_separator);
      text.append(digits, 1);
    }
    text.push_back('E');
    text += std::to_string(exponent);
    return text;
  }
  const int digit_count = static_cast<int>(digits.size());
  if (point <= 0) {
    text += '0';
    text.push_back(decimal_separator);
    text.append(static_cast<std::size_t>(-point), '0');
    text += digits;
  } else if (point >= digit_count) {
    text += digits;
    text.append(static_cast<std::size_t>(point - digit_count), '0');
  } else {
    text.append(digits, 0, static_cast<std::size_t>(point));
    text.push_back(decimal_separator);
    text.append(digits, static_cast<std::size_t>(point));
  }
  return text;
}

std::string FormatNumber(double value) { return FormatNumber(value, Settings().DecimalSeparator); }

}  // namespace zw
