#include "proposal/column_roles.h"

#include <cmath>

#include "base/ascii.h"
#include "base/number_text.h"
#include "proposal/cell_kinds.h"
#include "texttable/row_table.h"

namespace zw {
namespace {

constexpr std::array<ColumnRole, 3> kAmountRoles = {ColumnRole::Quantity, ColumnRole::Price,
                                                    ColumnRole::Total};

class ColumnFacts {
 public:
  ColumnFacts(const CalculationTable& table, const std::vector<const CalculationRow*>& items,
              char decimal_separator)
      : items_(items), decimal_(decimal_separator) {
    const auto columns = static_cast<std::size_t>(table.ColumnCount);
    numbers_.resize(columns);
    words_.resize(columns);
    filled_.resize(columns);
    whole_.resize(columns);
    for (const CalculationRow* row : items) {
      for (std::size_t column = 0; column < columns; ++column) {
        const std::string_view cell = row->Cell(static_cast<int>(column));
        const CellKind kind = row->Kind(static_cast<int>(column));
        if (kind == CellKind::Empty) continue;
        ++filled_[column];
        if (kind == CellKind::Words) ++words_[column];
        if (kind == CellKind::Number) {
          ++numbers_[column];
          const double value = CellNumber(cell, decimal_);
          if (value == std::floor(value)) ++whole_[column];
        }
      }
    }
  }

  bool HoldsNumbers(int column) const {
    const auto c = static_cast<std::size_t>(column);
    return numbers_[c] > 0 && numbers_[c] * 2 >= filled_[c];
  }
  int Words(int column) const { return words_[static_cast<std::size_t>(column)]; }
  int WholeNumbers(int column) const { return whole_[static_cast<std::size_t>(column)]; }
  int Columns() const { return static_cast<int>(numbers_.size()); }

  double Value(const CalculationRow& row, int column) const {
    return CellNumber(row.Cell(column), decimal_);
  }

  // Rows in which quantity times price gives the total, and the rows that show all three.
  std::pair<int, int> ProductMatches(int quantity, int price, int total) const {
    int matches = 0;
    int checked = 0;
    for (const CalculationRow* row : items_) {
      const double q = Value(*row, quantity);
      const double p = Value(*row, price);
      const double t = Value(*row, total);
      if (q == 0 || p == 0 || t == 0) continue;
      ++checked;
      // Totals are rounded to the cent, prices may be rounded too.
      if (std::abs(q * p - t) <= 0.01 + 0.005 * std::abs(q)) ++matches;
    }
    return {matches, checked};
  }

 private:
  const std::vector<const CalculationRow*>& items_;
  char decimal_;
  std::vector<int> numbers_;
  std::vector<int> words_;
  std::vector<int> filled_;
  std::vector<int> whole_;
};

bool Taken(const ColumnRoles& roles, int column) {
  for (const ColumnChoice& choice : roles.Choices) {
    if (choice.Column == column) return true;
  }
  return false;
}

void ByHeadingWords(ColumnRoles& roles, const CalculationRow& heading, const ColumnFacts& facts) {
  for (int column = 0; column < facts.Columns(); ++column) {
    const std::optional<ColumnRole> role = RoleOfHeading(heading.Cell(column));
    if (!role) continue;
    ColumnChoice& choice = roles.Choice(*role);
    if (choice.Column) continue;  // the first column of a role holds it
    if (HoldsNumbers(*role) && !facts.HoldsNumbers(column)) continue;
    choice.Column = column;
    choice.Reason = ColumnLabel(column, &heading) + ": " + std::string(RoleName(*role)) +
                    ", nach der \xDC" + "berschrift";
  }
}

struct Product {
  int Quantity;
  int Price;
  int Total;
  int Matches;
  int Checked;
};

// The columns where quantity times price gives the total in at least four rows of five; a
// role already known is kept. Of two columns that could be the quantity, the one with more
// whole numbers is.
std::optional<Product> FindProduct(const ColumnRoles& roles, const ColumnFacts& facts) {
  std::vector<int> free;
  for (int column = 0; column < facts.Columns(); ++column) {
    if (!Taken(roles, column) && facts.HoldsNumbers(column)) free.push_back(column);
  }
  auto candidates = [&](ColumnRole role) {
    const std::optional<int> known = roles.Of(role);
    return known ? std::vector<int>{*known} : free;
  };
  std::optional<Product> best;
  for (const int q : candidates(ColumnRole::Quantity)) {
    for (const int p : candidates(ColumnRole::Price)) {
      for (const int t : candidates(ColumnRole::Total)) {
        if (q == p || q == t || p == t) continue;
        const auto [matches, checked] = facts.ProductMatches(q, p, t);
        if (matches == 0 || matches * 5 < checked * 4) continue;
        const bool better = !best || matches > best->Matches ||
                            (matches == best->Matches &&
                             facts.WholeNumbers(q) > facts.WholeNumbers(best->Quantity));
        if (better) best = Product{q, p, t, matches, checked};
      }
    }
  }
  return best;
}

void ByProduct(ColumnRoles& roles, const CalculationRow* heading, const ColumnFacts& facts) {
  bool missing = false;
  for (const ColumnRole role : kAmountRoles) missing = missing || !roles.Of(role);
  if (!missing) return;
  const std::optional<Product> product = FindProduct(roles, facts);
  if (!product) return;
  const std::string relation = "denn " + std::string(1, ColumnName(product->Quantity)) + " \xD7 " +
                               std::string(1, ColumnName(product->Price)) + " = " +
                               std::string(1, ColumnName(product->Total)) + " in " +
                               std::to_string(product->Matches) + " von " +
                               std::to_string(product->Checked) + " Zeilen";
  const std::array<int, 3> columns = {product->Quantity, product->Price, product->Total};
  for (std::size_t i = 0; i < kAmountRoles.size(); ++i) {
    ColumnChoice& choice = roles.Choice(kAmountRoles[i]);
    if (choice.Column) continue;
    choice.Column = columns[i];
    choice.Reason = ColumnLabel(columns[i], heading) + ": " +
                    std::string(RoleName(kAmountRoles[i])) + ", " + relation;
  }
}

void DescriptionByWords(ColumnRoles& roles, const CalculationRow* heading,
                        const ColumnFacts& facts) {
  ColumnChoice& choice = roles.Choice(ColumnRole::Description);
  if (choice.Column) return;
  int best = -1;
  for (int column = 0; column < facts.Columns(); ++column) {
    if (Taken(roles, column) || facts.Words(column) == 0) continue;
    if (best < 0 || facts.Words(column) > facts.Words(best)) best = column;
  }
  if (best < 0) return;
  choice.Column = best;
  choice.Reason =
      ColumnLabel(best, heading) + ": Bezeichnung, die Spalte mit den meisten W\xF6rtern";
}

}  // namespace

std::string ColumnLabel(int column, const CalculationRow* heading) {
  std::string label = "Spalte " + std::string(1, ColumnName(column));
  if (heading != nullptr) {
    const std::string_view text = TrimBlankOrControl(heading->Cell(column));
    if (!text.empty()) label += " \"" + std::string(text) + "\"";
  }
  return label;
}

ColumnRoles AssignColumnRoles(const CalculationTable& table, const CalculationRow* heading,
                              const std::vector<const CalculationRow*>& items,
                              char decimal_separator) {
  const ColumnFacts facts(table, items, decimal_separator);
  ColumnRoles roles;
  if (heading != nullptr) ByHeadingWords(roles, *heading, facts);
  ByProduct(roles, heading, facts);
  DescriptionByWords(roles, heading, facts);
  return roles;
}

}  // namespace zw
