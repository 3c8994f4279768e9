#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as the JSON generator and the variant conversions write and read them.
namespace zw {

// General format: at most 15 significant digits, trailing zeros and a trailing separator
// dropped, exponent form ("1.5E20", "1E-5") below 0.0001 or from 16 digits before the
// separator on. Zero is "0"; NaN and the infinities are "NAN", "INF" and "-INF".
std::string FormatGeneralNumber(double value, char decimal_separator);

// Reads a whole text as a decimal number: blanks, optional sign, digits with the given
// separator or '.', optional exponent, blanks. Nothing for any other text or an overflow.
std::optional<double> ReadNumberText(std::string_view text, char decimal_separator);

}  // namespace zw
