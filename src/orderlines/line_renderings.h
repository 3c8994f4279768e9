#pragma once

#include <string>
#include <string_view>

#include "orderlines/uCustomDataGridLines.h"

// The three text renderings of the order lines that go to the clipboard beside the private
// format: the key text (CF_TEXT), the HTML table ("HTML Format") and the CSV text ("CSV").
// Other programs parse all three byte for byte.
namespace zw {

// Both amount patterns round half away from zero on the shortest decimal digits that read back
// as the number, so 1,0005 gives 1,001 although the double lies just below it; a result of
// zero has no minus sign.

// An amount in the pattern "#0,.000": grouped integer digits, exactly three decimals. A text
// that reads as 0 (empty and non-numeric ones too) gives "".
std::string FormatAmount3(std::string_view text, char decimal_separator, char thousand_separator);
std::string FormatAmount3(std::string_view text);

// A price in the pattern "#############0.00": no grouping, exactly two decimals; zero is
// written too. Throws std::invalid_argument for infinity and NaN.
std::string FormatPrice(double value, char decimal_separator);
std::string FormatPrice(double value);

class TISO8859Adapter {
 public:
  // Blanks, the bytes 0xA1 to 0xFF and 0x95 become entities, CR becomes "<br>", LF is dropped;
  // every other byte, markup characters included, passes unchanged.
  static std::string ToHtmlText(std::string_view text);
};

// 15 CR LF-ended key=value lines per order line.
std::string KeyText(const TCustomDataGridLines& lines);

// The HTML table of the lines, not yet wrapped in the "HTML Format" envelope.
std::string HtmlTable(const TCustomDataGridLines& lines);
// The same table appended to out, so that it can be written straight into the envelope.
void AppendHtmlTable(const TCustomDataGridLines& lines, std::string& out);

// A header record and one record per line, every field quoted, joined by the list separator;
// records are separated by CR LF, the text ends without one.
std::string CsvText(const TCustomDataGridLines& lines);

}  // namespace zw
