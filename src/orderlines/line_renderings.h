#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/separators.h"
#include "orderlines/uCustomDataGridLines.h"

// The three text renderings of the order lines that go to the clipboard beside the private
// format: the key text (CF_TEXT), the HTML table ("HTML Format") and the CSV text ("CSV").
// Other programs parse all three byte for byte. Amounts are written with the separators given.
namespace zw {

class TextSink;

class TISO8859Adapter {
 public:
  // Blanks, the bytes 0xA1 to 0xFF and 0x95 become entities, CR becomes "<br>", LF is dropped;
  // every other byte, markup characters included, passes unchanged.
  static std::string ToHtmlText(std::string_view text);
};

// Each rendering is written into a sink, or returned as a string.

// 15 CR LF-ended key=value lines per order line.
void WriteKeyText(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out);
std::string KeyText(const TCustomDataGridLines& lines, const Separators& separators);

// The HTML table of the lines, not yet wrapped in the "HTML Format" envelope.
void WriteHtmlTable(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out);
std::string HtmlTable(const TCustomDataGridLines& lines, const Separators& separators);

// A header record and one record per line, every field quoted, joined by the list separator;
// records are separated by CR LF, the text ends without one.
void WriteCsvText(const TCustomDataGridLines& lines, const Separators& separators, TextSink& out);
std::string CsvText(const TCustomDataGridLines& lines, const Separators& separators);

// The three text renderings of a collection.
enum class Rendering { Text, HtmlTable, Csv };

// About the bytes a rendering takes, for the room it is given at first.
std::size_t RenderingSizeHint(const TCustomDataGridLines& lines, Rendering rendering);

}  // namespace zw
