#include "json/json_variant.h"

#include <cmath>
#include <limits>
#include <optional>

#include "base/ascii.h"
#include "base/number_text.h"
#include "json/json_errors.h"

namespace zw {
namespace {

constexpr std::int64_t kCurrencyScale = 10000;

std::string TypeName(const TJsonVariant& value) {
  static const char* const kNames[] = {"Null",   "Boolean",  "Integer",
                                       "Double", "Currency", "String"};
  return kNames[value.index()];
}

bool SameTextIgnoringCase(std::string_view text, const char* word) {
  std::size_t i = 0;
  for (; word[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return i == text.size();
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Text values read as numbers with the separator or '.', between any white space.
std::optional<double> NumberOf(std::string_view text, char decimal_separator) {
  return ReadNumber(text, NumberReading{.Separator = decimal_separator,
                                        .PointToo = true,
                                        .AnyWhiteSpace = true,
                                        .NeedsDigit = true,
                                        .PlusBeforeMinus = true});
}

// Exact, unlike the 15 digits of a double: the integer part and up to four decimals.
std::string CurrencyText(Currency value, char decimal_separator) {
  const bool negative = value.Scaled < 0;
  // Unsigned so that the smallest amount has a magnitude too.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.Scaled)
                                           : static_cast<std::uint64_t>(value.Scaled);
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / kCurrencyScale);
  std::string decimals = std::to_string(magnitude % kCurrencyScale);
  decimals.insert(0, 4 - decimals.size(), '0');
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  if (!decimals.empty()) text += decimal_separator + decimals;
  return text;
}

}  // namespace

double VariantToDouble(const TJsonVariant& value, char decimal_separator) {
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? 1 : 0;
  if (const auto* integer = std::get_if<std::int32_t>(&value)) return *integer;
  if (const auto* number = std::get_if<double>(&value)) return *number;
  if (const auto* amount = std::get_if<Currency>(&value)) {
    return static_cast<double>(amount->Scaled) / kCurrencyScale;
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    if (const std::optional<double> number = NumberOf(*text, decimal_separator)) {
      return *number;
    }
  }
  throw TJsonConversionError(TypeName(value), "Double");
}

bool VariantToBoolean(const TJsonVariant& value, char decimal_separator) {
  if (const auto* flag = std::get_if<bool>(&value)) return *flag;
  if (const auto* text = std::get_if<std::string>(&value)) {
    const std::string_view word = Trimmed(*text);
    if (SameTextIgnoringCase(word, "true")) return true;
    if (SameTextIgnoringCase(word, "false")) return false;
    if (const std::optional<double> number = NumberOf(word, decimal_separator)) {
      return *number != 0;
    }
    throw TJsonConversionError(TypeName(value), "Boolean");
  }
  if (std::holds_alternative<std::monostate>(value)) {
    throw TJsonConversionError(TypeName(value), "Boolean");
  }
  return VariantToDouble(value, decimal_separator) != 0;
}

std::string VariantToText(const TJsonVariant& value, char decimal_separator) {
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "True" : "False";
  if (const auto* integer = std::get_if<std::int32_t>(&value)) return std::to_string(*integer);
  if (const auto* number = std::get_if<double>(&value)) {
    return FormatNumber(*number, decimal_separator, NonFinite::Named);
  }
  if (const auto* amount = std::get_if<Currency>(&value)) {
    return CurrencyText(*amount, decimal_separator);
  }
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return {};
}

bool VariantIsNumeric(const TJsonVariant& value) {
  return std::holds_alternative<std::int32_t>(value) || std::holds_alternative<double>(value) ||
         std::holds_alternative<Currency>(value);
}

std::int32_t VariantToIndex(const TJsonVariant& value) {
  if (const auto* integer = std::get_if<std::int32_t>(&value)) return *integer;
  const double rounded = std::nearbyint(VariantToDouble(value, kVariantDecimalSeparator));
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    throw TJsonConversionError(TypeName(value), "Integer");
  }
  return static_cast<std::int32_t>(rounded);
}

}  // namespace zw
