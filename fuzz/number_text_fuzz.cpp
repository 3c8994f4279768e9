// The number readers and writers over arbitrary cell texts and separators: every text reads
// as a finite number, the writers produce their patterns and read back as the number, and an
// amount text is rounded as the number it reads as.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/number_text.h"
#include "fuzz_check.h"
#include "orderlines/amount_format.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional minus, integer digits (grouped when a thousand separator is given), the decimal
// separator and exactly the given number of decimals; never a negative zero.
bool HasAmountPattern(std::string_view text, std::size_t decimals, char decimal_separator,
                      char thousand_separator) {
  if (!text.empty() && text.front() == '-') {
    text.remove_prefix(1);
    if (text.find_first_not_of(std::string("0") + decimal_separator + thousand_separator) ==
        std::string_view::npos) {
      return false;
    }
  }
  const std::size_t separator = text.rfind(decimal_separator);
  if (separator == std::string_view::npos || text.size() - separator - 1 != decimals) return false;
  for (std::size_t i = separator + 1; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
  }
  const std::string_view integer = text.substr(0, separator);
  if (integer.empty()) return false;
  for (std::size_t i = 0; i < integer.size(); ++i) {
    const std::size_t from_end = integer.size() - i;
    const bool group_place = thousand_separator != '\0' && from_end % 4 == 0;
    if (group_place ? integer[i] != thousand_separator : !IsDigit(integer[i])) return false;
  }
  return IsDigit(integer.front());
}

// The value of a text in the amount pattern, read without its thousand separators.
double AmountValue(std::string_view text, char decimal_separator, char thousand_separator) {
  std::string plain;
  for (const char c : text) {
    if (c != thousand_separator || thousand_separator == '\0') plain.push_back(c);
  }
  return zw::TextToNumber(plain, decimal_separator);
}

// "%.15g" with the separator and the exponent written as FormatNumber writes them: E, a minus
// sign only, no leading zeros.
std::string PrintedGeneral(double value, char decimal_separator) {
  char printed[64];
  std::snprintf(printed, sizeof printed, "%.15g", value);
  std::string text = printed;
  const std::size_t point = text.find('.');
  if (point != std::string::npos) text[point] = decimal_separator;
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  std::string exponent = text.substr(e + 2);
  while (exponent.size() > 1 && exponent.front() == '0') exponent.erase(0, 1);
  return text.substr(0, e) + (text[e + 1] == '-' ? "E-" : "E") + exponent;
}

bool Near(double a, double b, double absolute) {
  return std::fabs(a - b) <= absolute + 1e-12 * std::fmax(std::fabs(a), std::fabs(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool comma = input.ConsumeBool();
  const char decimal_separator = comma ? ',' : '.';
  const char thousand_separator = input.ConsumeBool() ? '\0' : (comma ? '.' : '\'');
  const double raw = input.ConsumeFloatingPoint<double>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string clean = zw::CleanNumberText(text, decimal_separator);
  for (std::size_t i = 0; i < clean.size(); ++i) {
    const char c = clean[i];
    FUZZ_CHECK(IsDigit(c) || c == decimal_separator || (c == '-' && i == 0));
  }
  const double value = zw::TextToNumber(text, decimal_separator);
  FUZZ_CHECK(std::isfinite(value));
  const double cell = zw::CellNumber(text, decimal_separator);
  FUZZ_CHECK(std::isfinite(cell));
  FUZZ_CHECK(cell == zw::TextToNumber(clean, decimal_separator));

  for (const double number : {value, cell, std::isfinite(raw) ? raw : 0.0}) {
    const std::string general = zw::FormatNumber(number, decimal_separator);
    if (number != 0) FUZZ_CHECK(general == PrintedGeneral(number, decimal_separator));
    // Fifteen digits cannot hold the extremes: near the largest double the rounded text
    // overflows, and subnormal numbers carry fewer digits than that.
    const double magnitude = std::fabs(number);
    if (magnitude < 1e300 && (magnitude == 0 || magnitude > 1e-300)) {
      FUZZ_CHECK(Near(zw::TextToNumber(general, decimal_separator), number, 0));
    }

    const std::string price = zw::FormatPrice(number, decimal_separator);
    FUZZ_CHECK(HasAmountPattern(price, 2, decimal_separator, '\0'));
    FUZZ_CHECK(Near(zw::TextToNumber(price, decimal_separator), number, 0.005));
    // A line's amount text is rounded as the number it reads as, however it is read.
    std::string price_of_text;
    zw::AppendPrice(price_of_text, general, decimal_separator);
    FUZZ_CHECK(price_of_text ==
               zw::FormatPrice(zw::TextToNumber(general, decimal_separator), decimal_separator));
  }
  std::string price_of_text;
  zw::AppendPrice(price_of_text, text, decimal_separator);
  FUZZ_CHECK(price_of_text == zw::FormatPrice(value, decimal_separator));

  const std::string amount = zw::FormatAmount3(text, decimal_separator, thousand_separator);
  if (value == 0) {
    FUZZ_CHECK(amount.empty());
  } else if (!amount.empty()) {
    FUZZ_CHECK(HasAmountPattern(amount, 3, decimal_separator, thousand_separator));
    FUZZ_CHECK(Near(AmountValue(amount, decimal_separator, thousand_separator), value, 0.0005));
  }
  return 0;
}
