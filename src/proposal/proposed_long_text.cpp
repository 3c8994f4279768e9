#include "proposal/proposed_long_text.h"

#include "proposal/cell_kinds.h"
#include "proposal/heading_words.h"
#include "texttable/row_table.h"

namespace zw {

std::optional<ProposedLongText> ProposeMeasureLongText(const Reading& reading) {
  const CalculationRow* heading = reading.HeadingRow();
  if (heading == nullptr) return std::nullopt;
  const int columns = reading.Table.ColumnCount;
  auto free = [&](int column) {
    for (const ColumnChoice& choice : reading.Roles.Choices) {
      if (choice.Column == column) return false;
    }
    return column < columns;
  };
  auto measured = [&](int column) {
    int numbers = 0;
    for (std::size_t i = 0; i < reading.Table.Rows.size(); ++i) {
      if (reading.Fates[i] != RowFate::Item) continue;
      if (reading.Table.Rows[i].Kind(column) == CellKind::Number) ++numbers;
    }
    return numbers > 0;
  };
  for (int d = 0; d + 1 < columns; ++d) {
    const std::string_view first = TrimBlankOrControl(heading->Cell(d));
    const std::string_view second = TrimBlankOrControl(heading->Cell(d + 1));
    std::string title;
    if (IsMeasurePair(first) && second.empty()) {
      title = first;
    } else if (IsMeasure(first) && IsMeasure(second)) {
      title = std::string(first) + " x " + std::string(second);
    } else {
      continue;
    }
    if (!free(d) || !free(d + 1) || !measured(d) || !measured(d + 1)) continue;
    const auto name = [](int column) { return "[" + std::string(1, ColumnName(column)) + "]"; };
    std::string text = title + ": " + name(d) + " x " + name(d + 1);
    std::string reason = "Langtext aus den Massen in " + ColumnLabel(d, heading) + " und Spalte " +
                         std::string(1, ColumnName(d + 1));
    if (free(d + 2) && IsArea(heading->Cell(d + 2)) && measured(d + 2)) {
      text += " = " + name(d + 2) + " " + std::string(TrimBlankOrControl(heading->Cell(d + 2)));
      reason +=
          ", mit der Fl\xE4"
          "che aus " +
          ColumnLabel(d + 2, heading);
    }
    return ProposedLongText{text, reason};
  }
  return std::nullopt;
}

}  // namespace zw
