#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "base/ascii.h"
#include "base/number_text.h"
#include "proposal/calculation_table.h"
#include "proposal/column_roles.h"

// What a person reads in each row of a calculation: titles, the heading, items, more
// description, section headings, sums and notes.
namespace zw {

enum class RowFate {
  Outside,  // above the heading: titles, the customer, the date
  Blank,
  Heading,       // the heading row, or a later one that repeats its words
  Summary,       // a sum, a subtotal, the tax, a discount
  Item,          // an order line
  Continuation,  // more description of the item above
  Section,       // a description without amounts between the items: a text line
  Zero,          // an item not ordered: quantity and total 0, other amounts shown
  Footnote,      // a description without amounts after the last item
  Other,
};

// A person's reading of the calculation: the heading, what each row is, what each column
// holds. It refers to the table it was made from.
struct Reading {
  const CalculationTable& Table;
  std::optional<std::size_t> Heading;
  std::vector<RowFate> Fates;
  ColumnRoles Roles;
  char Decimal;

  const CalculationRow* HeadingRow() const { return Heading ? &Table.Rows[*Heading] : nullptr; }
  double Amount(const CalculationRow& row, ColumnRole role) const {
    const std::optional<int> column = Roles.Of(role);
    return column ? CellNumber(row.Cell(*column), Decimal) : 0;
  }
  std::string_view Description(const CalculationRow& row) const {
    return TrimBlankOrControl(row.Cell(*Roles.Of(ColumnRole::Description)));
  }
};

// The heading, the fate of every row and the roles of the columns. Amounts are read with the
// decimal separator given. Throws NoTableError when there are no items or no descriptions.
Reading ReadCalculationRows(const CalculationTable& table, char decimal_separator);

}  // namespace zw
