#pragma once

#include <cstdint>
#include <string>
#include <variant>

// The tagged value at the interface of GetValue and SetValue.
namespace zw {

// A fixed-point amount with four decimals: 12.5 is held as 125000.
struct Currency {
  std::int64_t Scaled = 0;

  friend bool operator==(const Currency&, const Currency&) = default;
};

// Null, boolean, integer, floating point, currency or 8-bit text.
using TJsonVariant =
    std::variant<std::monostate, bool, std::int32_t, double, Currency, std::string>;

// The decimal separator of the value tree's own conversions (SetValue, numeric keys given as
// text). The order export sets only texts and booleans, so no number of an order passes it.
constexpr char kVariantDecimalSeparator = ',';

// Conversions by the usual variant rules; a value that cannot be converted (null, or text
// that is no number or boolean) raises TJsonConversionError. Text is read and written with
// the given decimal separator ('.' is read as well).
double VariantToDouble(const TJsonVariant& value, char decimal_separator);
// Numbers are true when not zero; text is "true", "false" (any case) or a number.
bool VariantToBoolean(const TJsonVariant& value, char decimal_separator);
// Null gives the empty text, booleans "True" and "False".
std::string VariantToText(const TJsonVariant& value, char decimal_separator);

// Integer, floating point and currency keys address children by index.
bool VariantIsNumeric(const TJsonVariant& value);
// A numeric key as an index, rounded to the nearest integer (halves to even).
std::int32_t VariantToIndex(const TJsonVariant& value);

}  // namespace zw
