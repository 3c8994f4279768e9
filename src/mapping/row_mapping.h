#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// Quantity, unit price and total of the current row, with the price derived from the total.
Amounts ComputeAmounts(const TemplateRules& rules, const RowTable& table);

// Fills placeholders such as "[D]" from the current row; "" when a placeholder names no
// column or an empty cell. A text without placeholders comes back unchanged.
std::string ExpandLongText(const RowTable& table, std::string_view text);

// The "Description1" cell when every other cell of the current row is empty; none when the
// row has other content or the name is not a column.
std::optional<std::string> IsContinuationRow(std::string_view description_column,
                                             const RowTable& table);

// Cuts every description longer than the limit at the first blank after it; the rest, blank
// included, becomes the long text. Lines that have a long text are left alone; 0 cuts nothing.
void SplitLongDescriptions(TCustomDataGridLines& lines, int limit);

}  // namespace zw
