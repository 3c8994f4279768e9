#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Numbers read from and written to text with a given decimal separator. The cells of a
// calculation, the amounts of the order lines and the values of the JSON tree all go through
// the one reader and the one writer here; the options hold where they differ.
namespace zw {

// How a number text is read. The defaults are those of cell and order-line texts.
struct NumberReading {
  char Separator = ',';
  bool PointToo = false;         // '.' separates as well (JSON values)
  bool AnyWhiteSpace = false;    // tabs and line ends may stand around it, not only blanks
  bool NeedsDigit = false;       // a lone separator is no number, rather than 0
  bool PlusBeforeMinus = false;  // "+-5" reads as -5 (JSON values)
};

// Reads a whole text as a decimal number: blanks, an optional sign, digits with at most one
// separator, an optional exponent ("E5", "e-3"), blanks. Nothing for any other text and for
// a value beyond the range of a double.
std::optional<double> ReadNumber(std::string_view text, const NumberReading& reading);

// ReadNumber with the defaults; a text that is not a number, or overflows, reads as 0.
double TextToNumber(std::string_view text, char decimal_separator);

// Keeps only the digits and the decimal separator of a cell text; a minus sign at its very
// start is kept in front.
std::string CleanNumberText(std::string_view text, char decimal_separator);

// The number of a spreadsheet cell: TextToNumber of CleanNumberText.
double CellNumber(std::string_view cell, char decimal_separator);

// What FormatNumber writes for NaN and the infinities.
enum class NonFinite {
  Zero,   // "0", as in order lines
  Named,  // "NAN", "INF", "-INF", as in JSON
};

// General format with up to 15 significant digits, no trailing zeros and no trailing
// separator; exponent form ("1,5E20", "1E-5") below 0.0001 or with more than 15 digits before
// the separator. Zero is "0".
std::string FormatNumber(double value, char decimal_separator,
                         NonFinite non_finite = NonFinite::Zero);

// Room for the longest text FormatNumber writes.
using NumberRoom = std::array<char, 32>;
// FormatNumber without a string of its own: the text lies in the room, or is a constant.
std::string_view WriteNumber(double value, char decimal_separator, NumberRoom& room,
                             NonFinite non_finite = NonFinite::Zero);

}  // namespace zw
