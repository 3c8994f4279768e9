#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "proposal/cell_kinds.h"

// The copied text read into rows of cells, as the conversion's reader cuts it, for a person's
// reading of the table: cells are kept whole, blank records are kept as rows of no cells.
namespace zw {

struct CalculationRow {
  int Record = 0;                  // 1-based record of the text
  std::vector<std::string> Cells;  // at most the table's column count
  std::vector<CellKind> Kinds;     // the kind of each cell

  std::string_view Cell(int column) const;
  CellKind Kind(int column) const;
  bool IsBlank() const;
  int FilledCells() const;
};

struct CalculationTable {
  char Delimiter = '\t';
  int ColumnCount = 0;
  std::vector<CalculationRow> Rows;
  bool Shortened = false;  // only the first kMaxRows records were read
};

// The row as a rule value: with tabs, as the spreadsheet copies it; with another delimiter the
// cells follow each other, as records are compared without their delimiters.
std::string RowValue(const CalculationRow& row, char delimiter);
// The row as the text writes it, delimiters included: "MustContaintsLine" is looked for in
// the lines of the text.
std::string RowLine(const CalculationRow& row, char delimiter);
// "Zeile 3", as the reports number records.
std::string RowName(const CalculationRow& row);
// A cell or row in a comment: quoted, tabs as blanks, at most 60 characters.
std::string Shown(std::string_view text);

// The delimiter a person sees: the tab when there is one (a spreadsheet's copy), else the most
// frequent of ';', ',' and '|'; '\0' when the text has none of them.
char ProposedDelimiter(std::string_view text);

// A proposal is made from the first records of a text; more add nothing but time.
constexpr std::size_t kMaxProposalRows = 20000;

CalculationTable ReadCalculation(std::string_view text, char delimiter);

}  // namespace zw
