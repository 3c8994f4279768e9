#include "orderlines/amount_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "base/ascii.h"
#include "base/number_text.h"

namespace zw {
namespace {

// A decimal number as digit text: sign, integer digits (possibly none) and fraction digits.
struct DecimalDigits {
  bool Negative = false;
  std::string_view Integer;
  std::string_view Fraction;
};

// Appends the number with exactly `decimals` decimals, rounded half away from zero on its
// decimal digits. A thousand separator of '\0' means no grouping.
void AppendRoundedDigits(std::string& out, const DecimalDigits& number, std::size_t decimals,
                         char decimal_separator, char thousand_separator) {
  // One leading '0' takes the carry out of the integer digits (999,9995 -> 1.000,000).
  constexpr std::size_t kMaxDigits = 400;
  if (number.Integer.size() + decimals + 1 > kMaxDigits) {
    throw std::invalid_argument("amount has too many digits");
  }
  char digits[kMaxDigits];
  std::size_t count = 0;
  digits[count++] = '0';
  for (const char c : number.Integer) digits[count++] = c;
  const std::size_t integer_end = count;
  const std::string_view fraction = number.Fraction;
  for (std::size_t i = 0; i < decimals; ++i)
    digits[count++] = i < fraction.size() ? fraction[i] : '0';
  if (fraction.size() > decimals && fraction[decimals] >= '5') {
    std::size_t i = count;
    while (i-- > 0) {
      if (digits[i] != '9') {
        ++digits[i];
        break;
      }
      digits[i] = '0';
    }
  }

  bool zero = true;
  for (std::size_t i = 0; i < count && zero; ++i) zero = digits[i] == '0';
  // A value that rounds to zero carries no sign: -0,0004 is written 0,000.
  if (number.Negative && !zero) out.push_back('-');
  std::size_t first = 0;
  while (first + 1 < integer_end && digits[first] == '0') ++first;
  if (thousand_separator == '\0') {
    out.append(digits + first, integer_end - first);
  } else {
    for (std::size_t i = first; i < integer_end; ++i) {
      if (i != first && (integer_end - i) % 3 == 0) out.push_back(thousand_separator);
      out.push_back(digits[i]);
    }
  }
  out.push_back(decimal_separator);
  out.append(digits + integer_end, decimals);
}

// Rounds on the shortest digits that read back as the value, i.e. on the number the user
// sees, not on the binary value: 1.0005 is held a little below 1.0005 and must still give
// 1,001, and 1,23456789012345E20 keeps its zeros instead of showing the binary value's digits.
void AppendRounded(std::string& out, double value, std::size_t decimals, char decimal_separator,
                   char thousand_separator) {
  if (!std::isfinite(value)) throw std::invalid_argument("amount is not a finite number");
  // At most 17 digits, a point, a sign and a three-digit exponent: "-1.2345678901234567e-308".
  char shortest[32];
  const auto [end, error] =
      std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
  if (error != std::errc()) throw std::invalid_argument("amount cannot be written");
  const char* p = shortest;
  DecimalDigits number;
  number.Negative = *p == '-';
  if (number.Negative) ++p;
  char mantissa[24];
  int mantissa_length = 0;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') mantissa[mantissa_length++] = *p;
  }
  int exponent = 0;
  if (p != end) ++p;
  const bool negative_exponent = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+')) ++p;
  for (; p != end; ++p) exponent = exponent * 10 + (*p - '0');
  if (negative_exponent) exponent = -exponent;

  // The plain form: the point stands after mantissa digit exponent + 1. Doubles stay within
  // 309 integer digits and 340 decimals.
  char plain[400];
  int length = 0;
  int integer_length = 0;
  if (exponent >= 0) {
    integer_length = exponent + 1;
    for (int i = 0; i < integer_length; ++i)
      plain[length++] = i < mantissa_length ? mantissa[i] : '0';
    for (int i = integer_length; i < mantissa_length; ++i) plain[length++] = mantissa[i];
  } else {
    for (int i = 1; i < -exponent; ++i) plain[length++] = '0';
    for (int i = 0; i < mantissa_length; ++i) plain[length++] = mantissa[i];
  }
  const std::string_view digits(plain, static_cast<std::size_t>(length));
  number.Integer = digits.substr(0, static_cast<std::size_t>(integer_length));
  number.Fraction = digits.substr(static_cast<std::size_t>(integer_length));
  AppendRoundedDigits(out, number, decimals, decimal_separator, thousand_separator);
}

// Recognises the common amount texts ("-12", "15,2", ",5") whose digits can be rounded as they
// stand. With at most 15 significant digits in the normal range a decimal text has the value of
// the shortest digits of the double it reads as, so this gives what reading and then rounding
// the double gives, without the cost of both conversions. Anything else is left to TextToNumber.
bool ReadPlainDecimal(std::string_view text, char decimal_separator, DecimalDigits& number,
                      bool& zero) {
  std::size_t pos = 0;
  number.Negative = !text.empty() && text[0] == '-';
  if (number.Negative) ++pos;
  const std::size_t integer_start = pos;
  while (pos < text.size() && IsAsciiDigit(text[pos])) ++pos;
  number.Integer = text.substr(integer_start, pos - integer_start);
  number.Fraction = {};
  if (pos < text.size() && text[pos] == decimal_separator) {
    const std::size_t fraction_start = ++pos;
    while (pos < text.size() && IsAsciiDigit(text[pos])) ++pos;
    number.Fraction = text.substr(fraction_start, pos - fraction_start);
  }
  constexpr std::size_t kMaxSide = 22;
  if (pos != text.size() || (number.Integer.empty() && number.Fraction.empty()) ||
      number.Integer.size() > kMaxSide || number.Fraction.size() > kMaxSide) {
    return false;
  }
  // Significant digits run from the first to the last non-zero digit.
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t index = 0;
  bool any = false;
  for (const std::string_view part : {number.Integer, number.Fraction}) {
    for (const char c : part) {
      if (c != '0') {
        if (!any) first = index;
        last = index;
        any = true;
      }
      ++index;
    }
  }
  zero = !any;
  return zero || last - first < 15;
}

// The most common amount texts ("", "2", "15,20", "-10,0666666666667": a sign, digits and at
// most one separator, at most 15 digits besides the integer's leading zeros) rounded in one 64-bit
// integer of the unit 10^-decimals. Such a text has at most 15 significant digits, so it is
// its number's shortest form (see ReadPlainDecimal). False, with nothing written, for any
// other text; `written` tells whether anything was. The decimals are a constant of each
// pattern, so the divisions by their powers of ten become multiplications.
template <std::size_t decimals>
bool AppendShortDecimal(std::string& out, std::string_view text, char decimal_separator,
                        char thousand_separator, bool write_zero, bool& written) {
  static constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000};
  static_assert(decimals < std::size(kPowers));
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  const char* const integer_start = p;
  // The integer's leading zeros are no digits of the value; a longer text than 15 digits is
  // refused below, so the wrap of a longer one does no harm.
  while (p != end && *p == '0') ++p;
  const char* const significant = p;
  std::uint64_t units = 0;
  for (; p != end && IsAsciiDigit(*p); ++p) units = units * 10 + static_cast<unsigned>(*p - '0');
  std::size_t counted = static_cast<std::size_t>(p - significant);
  bool any_digit = p != integer_start;
  bool nonzero = p != significant;  // the text reads as a number other than 0
  bool round_up = false;
  std::size_t used = 0;  // fraction digits in the units
  if (p != end && *p == decimal_separator) {
    const char* const fraction = ++p;
    while (p != end && IsAsciiDigit(*p)) ++p;
    const std::size_t fraction_digits = static_cast<std::size_t>(p - fraction);
    counted += fraction_digits;
    any_digit = any_digit || fraction_digits != 0;
    used = std::min(fraction_digits, decimals);
    for (std::size_t i = 0; i < used; ++i)
      units = units * 10 + static_cast<unsigned>(fraction[i] - '0');
    round_up = fraction_digits > decimals && fraction[decimals] >= '5';
    for (const char* digit = fraction; !nonzero && digit != p; ++digit) nonzero = *digit != '0';
  }
  // An empty text reads as 0, as every text that is no number does; lines leave most amounts
  // empty, so it is the most common of all.
  if (p != end || (!any_digit && !text.empty()) || counted > 15) return false;
  units *= kPowers[decimals - used];
  if (round_up) ++units;
  written = nonzero || write_zero;
  if (!written) return true;

  // Written from the end: the decimals, the separator, the grouped integer digits (at least
  // one) and the sign; a value that rounds to zero carries none.
  char result[48];
  char* const result_end = result + sizeof result;
  char* at = result_end;
  std::uint64_t fraction = units % kPowers[decimals];
  for (std::size_t i = 0; i < decimals; ++i, fraction /= 10)
    *--at = static_cast<char>('0' + fraction % 10);
  *--at = decimal_separator;
  std::uint64_t integer = units / kPowers[decimals];
  int in_group = 0;
  do {
    if (in_group == 3 && thousand_separator != '\0') {
      *--at = thousand_separator;
      in_group = 0;
    }
    *--at = static_cast<char>('0' + integer % 10);
    integer /= 10;
    ++in_group;
  } while (integer != 0);
  if (negative && units != 0) *--at = '-';
  out.append(at, static_cast<std::size_t>(result_end - at));
  return true;
}

// Appends the amount text read as a number and rounded to `decimals`; a zero amount is written
// only when asked for. False when nothing was written.
template <std::size_t decimals>
bool AppendAmountText(std::string& out, std::string_view text, char decimal_separator,
                      char thousand_separator, bool write_zero) {
  bool written = false;
  if (AppendShortDecimal<decimals>(out, text, decimal_separator, thousand_separator, write_zero,
                                   written)) {
    return written;
  }
  DecimalDigits number;
  bool zero = false;
  if (ReadPlainDecimal(text, decimal_separator, number, zero)) {
    if (zero) {
      if (!write_zero) return false;
      AppendRoundedDigits(out, DecimalDigits{}, decimals, decimal_separator, thousand_separator);
      return true;
    }
    AppendRoundedDigits(out, number, decimals, decimal_separator, thousand_separator);
    return true;
  }
  const double value = TextToNumber(text, decimal_separator);
  if (value == 0 && !write_zero) return false;
  AppendRounded(out, value, decimals, decimal_separator, thousand_separator);
  return true;
}

}  // namespace

// Appends FormatAmount3 of the text; false when that is empty.
bool AppendAmount3(std::string& out, std::string_view text, char decimal_separator,
                   char thousand_separator) {
  if (text.empty()) return false;
  return AppendAmountText<3>(out, text, decimal_separator, thousand_separator, false);
}

// The price pattern of the key text applied to an amount text.
void AppendPrice(std::string& out, std::string_view text, char decimal_separator) {
  AppendAmountText<2>(out, text, decimal_separator, '\0', true);
}

std::string FormatAmount3(std::string_view text, char decimal_separator, char thousand_separator) {
  std::string out;
  AppendAmount3(out, text, decimal_separator, thousand_separator);
  return out;
}

std::string FormatPrice(double value, char decimal_separator) {
  std::string out;
  AppendRounded(out, value, 2, decimal_separator, '\0');
  return out;
}

}  // namespace zw
