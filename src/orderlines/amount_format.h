#pragma once

#include <string>
#include <string_view>

// The two patterns in which the renderings write amounts. Both round half away from zero on
// the shortest decimal digits that read back as the number, so 1,0005 gives 1,001 although the
// double lies just below it; a result of zero has no minus sign.
namespace zw {

// An amount in the pattern "#0,.000": grouped integer digits, exactly three decimals. A text
// that reads as 0 (empty and non-numeric ones too) gives "".
std::string FormatAmount3(std::string_view text, char decimal_separator, char thousand_separator);
// The same appended to out; false when nothing was written.
bool AppendAmount3(std::string& out, std::string_view text, char decimal_separator,
                   char thousand_separator);

// A price in the pattern "#############0.00": no grouping, exactly two decimals; zero is
// written too. Throws std::invalid_argument for infinity and NaN.
std::string FormatPrice(double value, char decimal_separator);
// The price pattern applied to an amount text, appended to out.
void AppendPrice(std::string& out, std::string_view text, char decimal_separator);

}  // namespace zw
