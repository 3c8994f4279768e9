#include "json/json_number_format.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zw {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatGeneralNumber(double value, char decimal_separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // to_chars never looks at the C locale, so the separator is only ever the one given.
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (result.ec != std::errc()) return "0";
  std::string text(buffer, result.ptr);
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text[point] = decimal_separator;
  const std::size_t e_pos = text.find('e');
  if (e_pos == std::string::npos) return text;
  // "1.5e+20" becomes "1.5E20" and "1e-05" becomes "1E-5".
  const bool negative_exponent = text[e_pos + 1] == '-';
  std::size_t digits = e_pos + 2;
  while (digits + 1 < text.size() && text[digits] == '0') ++digits;
  return text.substr(0, e_pos) + (negative_exponent ? "E-" : "E") + text.substr(digits);
}

std::optional<double> ReadNumberText(std::string_view text, char decimal_separator) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string number(text);
  if (!number.empty() && number.front() == '+') number.erase(0, 1);
  if (decimal_separator != '.') {
    for (char& c : number) {
      if (c == decimal_separator) c = '.';
    }
  }
  // from_chars would also take "inf" and "nan", which are no numbers here.
  const std::size_t first = (!number.empty() && number.front() == '-') ? 1 : 0;
  if (first >= number.size() || !(IsDigit(number[first]) || number[first] == '.')) {
    return std::nullopt;
  }
  double value = 0;
  const char* end = number.data() + number.size();
  const auto result = std::from_chars(number.data(), end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

}  // namespace zw
