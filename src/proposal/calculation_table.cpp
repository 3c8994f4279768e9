#include "proposal/calculation_table.h"

#include <algorithm>

#include "base/ascii.h"
#include "texttable/UFastCSV.h"
#include "texttable/column_count.h"
#include "texttable/row_table.h"

namespace zw {

std::string_view CalculationRow::Cell(int column) const {
  return column >= 0 && static_cast<std::size_t>(column) < Cells.size()
             ? std::string_view(Cells[static_cast<std::size_t>(column)])
             : std::string_view();
}

namespace {

// The cells up to the last one with content, joined by the separator given.
std::string JoinedCells(const CalculationRow& row, std::string_view separator) {
  std::size_t last = row.Cells.size();
  while (last > 0 && TrimBlankOrControl(row.Cells[last - 1]).empty()) --last;
  std::string joined;
  for (std::size_t i = 0; i < last; ++i) {
    if (i > 0) joined += separator;
    joined += row.Cells[i];
  }
  return joined;
}

}  // namespace

std::string RowValue(const CalculationRow& row, char delimiter) {
  return JoinedCells(row, delimiter == '\t' ? "\t" : "");
}

std::string RowLine(const CalculationRow& row, char delimiter) {
  return JoinedCells(row, std::string_view(&delimiter, 1));
}

std::string RowName(const CalculationRow& row) { return "Zeile " + std::to_string(row.Record); }

std::string Shown(std::string_view text) {
  constexpr std::size_t kShown = 60;
  std::string shown(TrimBlankOrControl(text.substr(0, kShown)));
  std::replace(shown.begin(), shown.end(), '\t', ' ');
  return "\"" + shown + (text.size() > kShown ? "...\"" : "\"");
}

CellKind CalculationRow::Kind(int column) const {
  return column >= 0 && static_cast<std::size_t>(column) < Kinds.size()
             ? Kinds[static_cast<std::size_t>(column)]
             : CellKind::Empty;
}

bool CalculationRow::IsBlank() const { return FilledCells() == 0; }

int CalculationRow::FilledCells() const {
  return static_cast<int>(Kinds.size()) -
         static_cast<int>(std::count(Kinds.begin(), Kinds.end(), CellKind::Empty));
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
    for (int field = 0; field < fields; ++field) {
      row.Cells.push_back(reader.Fields(field));
      row.Kinds.push_back(KindOfCell(row.Cells.back()));
    }
    table.Rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace zw
