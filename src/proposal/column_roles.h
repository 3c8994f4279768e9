#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "proposal/calculation_table.h"
#include "proposal/heading_words.h"

// Which column of a calculation holds what: first by the words of its heading row, then by
// what the columns hold where the words are missing or do not fit.
namespace zw {

struct ColumnChoice {
  std::optional<int> Column;
  std::string Reason;  // German, for the template's comment and --explain
};

struct ColumnRoles {
  std::array<ColumnChoice, kColumnRoles> Choices;

  std::optional<int> Of(ColumnRole role) const {
    return Choices[static_cast<std::size_t>(role)].Column;
  }
  ColumnChoice& Choice(ColumnRole role) { return Choices[static_cast<std::size_t>(role)]; }
};

// heading: the heading row, or none; items: the rows that list items (amounts read with the
// decimal separator given, as the conversion reads them).
ColumnRoles AssignColumnRoles(const CalculationTable& table, const CalculationRow* heading,
                              const std::vector<const CalculationRow*>& items,
                              char decimal_separator);

// "Spalte H \"CHF/Stk\"": how the comments name a column.
std::string ColumnLabel(int column, const CalculationRow* heading);

}  // namespace zw
