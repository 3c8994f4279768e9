#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The copied text read into rows of cells, as the conversion's reader cuts it, for a person's
// reading of the table: cells are kept whole, blank records are kept as rows of no cells.
namespace zw {

struct CalculationRow {
  int Record = 0;                  // 1-based record of the text
  std::vector<std::string> Cells;  // at most the table's column count

  std::string_view Cell(int column) const;
  bool IsBlank() const;
  int FilledCells() const;
};

struct CalculationTable {
  char Delimiter = '\t';
  int ColumnCount = 0;
  std::vector<CalculationRow> Rows;
  bool Shortened = false;  // only the first kMaxRows records were read
};

// The delimiter a person sees: the tab when there is one (a spreadsheet's copy), else the most
// frequent of ';', ',' and '|'; '\0' when the text has none of them.
char ProposedDelimiter(std::string_view text);

// A proposal is made from the first records of a text; more add nothing but time.
constexpr std::size_t kMaxProposalRows = 20000;

CalculationTable ReadCalculation(std::string_view text, char delimiter);

}  // namespace zw
