#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_buffer.h"
#include "base/errors.h"
#include "mapping/template_settings.h"
#include "orderlines/uCustomDataGridLines.h"
#include "templates/template_rules.h"
#include "texttable/row_table.h"

// The value rules that turn one row of the table into the amounts and texts of an order line.
namespace zw {

struct Amounts {
  double Quantity = 0;
  double Price = 0;
  double Total = 0;
};

// The columns that a template's keys name in one table. The keys do not change while a
// table is walked, so they are looked up once per table instead of once per row.
struct TemplateColumns {
  std::optional<int> Pos;          // "PosNumber"
  std::optional<int> Quantity;     // "Quantity"
  std::optional<int> Unit;         // "QuantityUnit"
  std::optional<int> Description;  // "Description1"
  std::optional<int> PartNumber;   // "PartNumber"
  std::optional<int> Price;        // "Price"
  std::optional<int> Tax;          // "TaxValue"
  std::optional<int> Total;        // "TotalRow"
  std::optional<int> LongText;     // "LongText", when it names a column

  static TemplateColumns Of(const ColumnKeys& keys, const RowTable& table);
};

// Quantity, unit price and total of the current row, with the price derived from the total;
// the cells are read with the decimal separator given.
Amounts ComputeAmounts(const TemplateRules& rules, const RowTable& table, char decimal_separator);
Amounts ComputeAmounts(const TemplateColumns& columns, const RowTable& table,
                       char decimal_separator);

// Placeholders are also filled inside the cell texts inserted before them, so a few cells
// such as "[E][E][E]..." can multiply a long text many times over. The long texts of one run
// are therefore limited; a run that would pass the limit stops with this error.
constexpr std::size_t kMaxLongTextBytes = 64 * 1024 * 1024;

class LongTextTooLargeError : public Error {
 public:
  LongTextTooLargeError();
};

// A long text with placeholders such as "[D]", parsed once for a table and filled per row.
class LongTextPattern {
 public:
  LongTextPattern(std::string_view text, const RowTable& table);

  // The text with every placeholder replaced by its cell of the current row; "" when a
  // placeholder names no column or an empty cell. Without placeholders, the text itself.
  // Throws LongTextTooLargeError as soon as the text grows beyond limit bytes.
  std::string Expand(const RowTable& table, std::size_t limit = kMaxLongTextBytes) const;
  // Expand without a copy: the text stays valid until the pattern fills the next row.
  std::string_view ExpandInPlace(const RowTable& table,
                                 std::size_t limit = kMaxLongTextBytes) const;

 private:
  // A part of the text: literal bytes (offset and length in the text), or the place of a
  // placeholder (its index).
  struct Piece {
    std::size_t Start = 0;
    std::size_t Length = 0;
    int Placeholder = -1;
  };

  // Finds the pieces when every "[" of the text opens a placeholder.
  void SplitIntoPieces();
  // The same text as the series of replacements gives, made in one pass from cells_. Only for
  // a row whose cells hold no "[", so that no replacement can make a placeholder of its own.
  std::string_view ExpandPieces(std::size_t limit) const;

  std::string text_;
  std::vector<std::string> placeholders_;  // "[name]" in order of appearance
  std::vector<int> columns_;               // the column of each name
  bool all_columns_ = true;                // every name is a column of the table
  // The text as literals and placeholders, each at the first placeholder whose name it has;
  // empty when some "[" opens none.
  std::vector<Piece> pieces_;
  // How many places of the text each placeholder fills.
  std::vector<std::size_t> places_;
  // Working buffers kept between rows, so filling a row allocates nothing.
  mutable std::vector<std::string_view> cells_;  // the current row's cell of each name
  mutable ByteBuffer expanded_;                  // the text made of pieces
  mutable std::string current_;                  // the texts of the series of replacements
  mutable std::string next_;
};

// LongTextPattern(text, table).Expand(table).
std::string ExpandLongText(const RowTable& table, std::string_view text);

// The "Description1" cell when every other cell of the current row is empty; none when the
// row has other content or the name is not a column.
std::optional<std::string> IsContinuationRow(std::string_view description_column,
                                             const RowTable& table);
// The same test for the column of the description already found: every other cell is empty.
bool IsContinuationRowAt(int description_column, const RowTable& table);

// Cuts every description longer than the limit at the first blank after it; the rest, blank
// included, becomes the long text. Lines that have a long text are left alone; 0 cuts nothing.
void SplitLongDescriptions(TCustomDataGridLines& lines, int limit);

}  // namespace zw
