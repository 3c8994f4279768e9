#include "proposal/row_reading.h"

#include <algorithm>

#include "proposal/cell_kinds.h"
#include "proposal/heading_words.h"
#include "proposal/template_proposal.h"

namespace zw {
namespace {

struct RowCounts {
  int Filled = 0;
  int Numbers = 0;
  int Words = 0;
};

RowCounts CountsOf(const CalculationRow& row) {
  RowCounts counts;
  for (const CellKind kind : row.Kinds) {
    if (kind == CellKind::Empty) continue;
    ++counts.Filled;
    if (kind == CellKind::Number) ++counts.Numbers;
    if (kind == CellKind::Words) ++counts.Words;
  }
  return counts;
}

// A row that lists something with an amount: at least two cells, one of them a number.
bool ShowsAmounts(const CalculationRow& row) {
  const RowCounts counts = CountsOf(row);
  return counts.Filled >= 2 && counts.Numbers >= 1;
}

// A row of mostly words: at least two cells, more than half of them words.
bool ReadsAsHeading(const CalculationRow& row) {
  const RowCounts counts = CountsOf(row);
  return counts.Words >= 2 && counts.Words * 2 > counts.Filled && counts.Numbers == 0;
}

bool HasSummaryLabel(const CalculationRow& row) {
  for (std::size_t i = 0; i < row.Cells.size(); ++i) {
    if (row.Kinds[i] == CellKind::Words && IsSummaryLabel(row.Cells[i])) return true;
  }
  return false;
}

// A later row that repeats heading words, such as the heading of a second block.
bool RepeatsHeading(const CalculationRow& row) {
  if (!ReadsAsHeading(row)) return false;
  const auto known = std::count_if(row.Cells.begin(), row.Cells.end(), [](const std::string& c) {
    return RoleOfHeading(c).has_value();
  });
  return known >= 2;
}

// The heading: the row above the first row with amounts that reads as a heading, blank rows
// between them skipped; title rows above it stay outside the table.
std::optional<std::size_t> FindHeading(const CalculationTable& table) {
  for (std::size_t i = 0; i < table.Rows.size(); ++i) {
    if (!ShowsAmounts(table.Rows[i])) continue;
    std::size_t above = i;
    while (above > 0 && table.Rows[above - 1].IsBlank()) --above;
    if (above > 0 && ReadsAsHeading(table.Rows[above - 1])) return above - 1;
  }
  return std::nullopt;
}

bool ShowsAmountCell(const Reading& reading, const CalculationRow& row) {
  for (const ColumnRole role : {ColumnRole::Quantity, ColumnRole::Price, ColumnRole::Total}) {
    const std::optional<int> column = reading.Roles.Of(role);
    if (column && row.Kind(*column) == CellKind::Number) return true;
  }
  return false;
}

// What a person reads in each row below the heading, with the columns known.
void ReadRows(Reading& reading) {
  const bool no_amounts =
      !reading.Roles.Of(ColumnRole::Quantity) && !reading.Roles.Of(ColumnRole::Total);
  bool current = false;  // a line exists that a description-only row continues
  for (std::size_t i = 0; i < reading.Table.Rows.size(); ++i) {
    RowFate& fate = reading.Fates[i];
    const CalculationRow& row = reading.Table.Rows[i];
    const double quantity = reading.Amount(row, ColumnRole::Quantity);
    if (fate == RowFate::Summary && quantity != 0) fate = RowFate::Other;  // "Total-Set", 2 Stk
    if (fate != RowFate::Other) continue;
    const double total = reading.Amount(row, ColumnRole::Total);
    const double price = reading.Amount(row, ColumnRole::Price);
    if (reading.Description(row).empty()) {
      current = false;
    } else if (quantity != 0 || total != 0 || (no_amounts && price != 0)) {
      fate = RowFate::Item;
      current = true;
    } else if (current && row.FilledCells() == 1) {
      fate = RowFate::Continuation;
    } else if (!ShowsAmountCell(reading, row)) {
      fate = RowFate::Section;
      current = true;
    } else {
      fate = RowFate::Zero;
      current = false;
    }
  }
  // Below the last item, descriptions without amounts are notes, and so is more description
  // once a sum stands between it and the item.
  const auto last_item = std::find(reading.Fates.rbegin(), reading.Fates.rend(), RowFate::Item);
  bool summed = false;
  for (auto fate = reading.Fates.rbegin(); fate != last_item; ++fate) {
    if (*fate == RowFate::Section) *fate = RowFate::Footnote;
  }
  for (auto fate = last_item.base(); fate != reading.Fates.end(); ++fate) {
    if (*fate == RowFate::Summary) summed = true;
    if (*fate == RowFate::Continuation && summed) *fate = RowFate::Footnote;
  }
}

}  // namespace

Reading ReadCalculationRows(const CalculationTable& table, char decimal_separator) {
  Reading reading{table, FindHeading(table), {}, {}, decimal_separator};
  reading.Fates.assign(table.Rows.size(), RowFate::Other);
  std::vector<const CalculationRow*> items;
  const std::size_t first = reading.Heading ? *reading.Heading + 1 : 0;
  for (std::size_t i = 0; i < table.Rows.size(); ++i) {
    const CalculationRow& row = table.Rows[i];
    RowFate& fate = reading.Fates[i];
    if (reading.Heading && i == *reading.Heading) {
      fate = RowFate::Heading;
    } else if (i < first) {
      fate = RowFate::Outside;
    } else if (row.IsBlank()) {
      fate = RowFate::Blank;
    } else if (RepeatsHeading(row)) {
      fate = RowFate::Heading;
    } else if (HasSummaryLabel(row)) {
      fate = RowFate::Summary;  // unless it turns out to give a quantity
    } else if (ShowsAmounts(row)) {
      items.push_back(&row);
    }
  }
  // Items whose description holds a word of sums ("Total-Set") are told apart once the
  // quantity's column is known; a table of only such rows is read from them.
  if (items.empty()) {
    for (std::size_t i = 0; i < table.Rows.size(); ++i) {
      if (reading.Fates[i] == RowFate::Summary && ShowsAmounts(table.Rows[i])) {
        items.push_back(&table.Rows[i]);
      }
    }
  }
  if (items.empty()) {
    throw NoTableError("keine Zeile mit Betr\xE4gen gefunden");
  }
  reading.Roles = AssignColumnRoles(table, reading.HeadingRow(), items, decimal_separator);
  if (!reading.Roles.Of(ColumnRole::Description)) {
    throw NoTableError("keine Spalte mit Bezeichnungen gefunden");
  }
  ReadRows(reading);
  return reading;
}

}  // namespace zw
