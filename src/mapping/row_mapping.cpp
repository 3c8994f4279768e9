#include "mapping/row_mapping.h"

#include <cmath>
#include <vector>

#include "mapping/number_text.h"

namespace zw {
namespace {

constexpr double kPriceTolerance = 0.01;

// The number in the column that a rule names, if it names one.
std::optional<double> RuleNumber(const TemplateRules& rules, std::string_view key,
                                 const RowTable& table) {
  const std::optional<int> column = table.FindColumn(rules.Value(key));
  if (!column) return std::nullopt;
  return CellNumber(table.Cell(*column));
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Replaces every occurrence of pattern, ignoring ASCII letter case; inserted text is not
// searched again.
std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view pattern,
                                   std::string_view replacement) {
  std::string result;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text.size() - pos >= pattern.size() &&
        SameAscii(text.substr(pos, pattern.size()), pattern)) {
      result.append(replacement);
      pos += pattern.size();
    } else {
      result.push_back(text[pos++]);
    }
  }
  return result;
}

std::vector<std::string> PlaceholderNames(std::string_view text) {
  std::vector<std::string> names;
  std::string name;
  bool in_name = false;
  for (const char c : text) {
    if (!in_name) {
      if (c == '[') in_name = true;
    } else if (c == ']') {
      names.push_back(name);
      name.clear();
      in_name = false;
    } else if (c != '[') {
      // A second "[" does not restart the name: what came before it stays.
      name.push_back(c);
    }
  }
  return names;
}

}  // namespace

Amounts ComputeAmounts(const TemplateRules& rules, const RowTable& table) {
  Amounts amounts;
  if (const auto quantity = RuleNumber(rules, "Quantity", table)) amounts.Quantity = *quantity;
  if (const auto price = RuleNumber(rules, "Price", table)) amounts.Price = *price;
  if (const auto total = RuleNumber(rules, "TotalRow", table)) {
    amounts.Total = *total;
    if (amounts.Total != 0 && amounts.Quantity == 0) amounts.Quantity = 1;
    // The total wins unless the price column already holds it.
    if (amounts.Quantity != 0 && std::fabs(amounts.Total - amounts.Price) > kPriceTolerance) {
      amounts.Price = amounts.Total / amounts.Quantity;
    }
  }
  return amounts;
}

std::string ExpandLongText(const RowTable& table, std::string_view text) {
  const std::vector<std::string> names = PlaceholderNames(text);
  std::vector<std::string_view> cells;
  for (const std::string& name : names) {
    const std::optional<int> column = table.FindColumn(name);
    if (!column) return "";
    const std::string_view cell = table.Cell(*column);
    // An empty cell leaves the long text out rather than write it with a gap.
    if (cell.empty()) return "";
    cells.push_back(cell);
  }
  std::string result(text);
  for (std::size_t i = 0; i < names.size(); ++i) {
    result = ReplaceAllIgnoringCase(result, "[" + names[i] + "]", cells[i]);
  }
  return result;
}

std::optional<std::string> IsContinuationRow(std::string_view description_column,
                                             const RowTable& table) {
  const std::optional<int> column = table.FindColumn(description_column);
  if (!column) return std::nullopt;
  std::string description(table.Cell(*column));
  if (table.RowText() != description) return std::nullopt;
  return description;
}

void SplitLongDescriptions(TCustomDataGridLines& lines, int limit) {
  if (limit == 0) return;
  // Zero-based index of the first character after the limit.
  const std::size_t first_candidate = limit > 0 ? static_cast<std::size_t>(limit) : 0;
  for (int i = 0; i < lines.Count(); ++i) {
    TDataGridLine& line = lines.Items(i);
    if (!line.Second.empty() || line.Bezeichnung1.size() <= first_candidate) continue;
    const std::size_t blank = line.Bezeichnung1.find(' ', first_candidate);
    if (blank == std::string::npos) continue;
    // The blank ends the description and also begins the long text.
    line.Second = line.Bezeichnung1.substr(blank);
    line.Bezeichnung1.resize(blank + 1);
  }
}

}  // namespace zw
