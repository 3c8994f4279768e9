#pragma once

#include <string>
#include <string_view>

// Numbers read from and written to text with the process-wide decimal separator.
namespace zw {

// Keeps only the digits and the decimal separator of a cell text; a minus sign at its very
// start is kept in front.
std::string CleanNumberText(std::string_view text, char decimal_separator);
std::string CleanNumberText(std::string_view text);

// Reads a decimal number: blanks, optional sign, digits with at most one separator, an
// optional exponent, blanks. A text that is not a number, or overflows, reads as 0.
double TextToNumber(std::string_view text, char decimal_separator);
double TextToNumber(std::string_view text);

// The number of a spreadsheet cell: TextToNumber of CleanNumberText.
double CellNumber(std::string_view cell, char decimal_separator);
double CellNumber(std::string_view cell);

// General format with up to 15 significant digits and no trailing zeros; exponent form
// ("1,5E20", "1E-5") below 0.0001 or with more than 15 digits before the separator.
std::string FormatNumber(double value, char decimal_separator);
std::string FormatNumber(double value);

}  // namespace zw
