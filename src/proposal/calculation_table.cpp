#include "proposal/calculation_table.h"

#include <algorithm>

#include "base/ascii.h"
#include "texttable/UFastCSV.h"
#include "texttable/normalize.h"
#include "texttable/row_table.h"

namespace zw {

std::string_view CalculationRow::Cell(int column) const {
  return column >= 0 && static_cast<std::size_t>(column) < Cells.size()
             ? std::string_view(Cells[static_cast<std::size_t>(column)])
             : std::string_view();
}

bool CalculationRow::IsBlank() const { return FilledCells() == 0; }

int CalculationRow::FilledCells() const {
  return static_cast<int>(std::count_if(Cells.begin(), Cells.end(), [](const std::string& cell) {
    return std::any_of(cell.begin(), cell.end(), [](char c) { return !IsBlankOrControl(c); });
  }));
}

char ProposedDelimiter(std::string_view text) {
  if (text.find('\t') != std::string_view::npos) return '\t';
  char best = '\0';
  std::ptrdiff_t best_count = 0;
  for (const char candidate : {';', ',', '|'}) {
    const std::ptrdiff_t count = std::count(text.begin(), text.end(), candidate);
    if (count > best_count) {
      best = candidate;
      best_count = count;
    }
  }
  return best;
}

CalculationTable ReadCalculation(std::string_view text, char delimiter) {
  CalculationTable table;
  table.Delimiter = delimiter;
  table.ColumnCount = CountColumns(text, delimiter);
  if (table.ColumnCount == 0) return table;
  TCSVReader reader(text, delimiter);
  int record = 0;
  for (reader.First(); !reader.Eof(); reader.Next()) {
    if (table.Rows.size() == kMaxProposalRows) {
      table.Shortened = true;
      break;
    }
    CalculationRow row;
    row.Record = ++record;
    const int fields = std::min(reader.FieldCount(), RowTable::kMaxColumns);
    for (int field = 0; field < fields; ++field) row.Cells.push_back(reader.Fields(field));
    table.Rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace zw
