#include "mapping/row_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/byte_copy.h"
#include "base/number_text.h"
#include "base/win1252.h"

namespace zw {
namespace {

constexpr double kPriceTolerance = 0.01;

std::optional<double> ColumnNumber(const std::optional<int>& column, const RowTable& table,
                                   char decimal_separator) {
  if (!column) return std::nullopt;
  return CellNumber(table.Cell(*column), decimal_separator);
}

// Writes the text into result with every occurrence of the pattern replaced, ignoring ASCII
// letter case; inserted text is not searched again. Throws LongTextTooLargeError before the
// result passes limit bytes.
void ReplaceAllIgnoringCase(std::string_view text, std::string_view pattern,
                            std::string_view replacement, std::string& result, std::size_t limit) {
  result.clear();
  const auto append = [&](std::string_view part) {
    if (part.size() > limit - result.size()) throw LongTextTooLargeError();
    result.append(part);
  };
  std::size_t copied = 0;
  // Every candidate starts with the pattern's first character, which is never a letter.
  for (std::size_t pos = text.find(pattern.front()); pos != std::string_view::npos;
       pos = text.find(pattern.front(), pos)) {
    if (text.size() - pos >= pattern.size() &&
        SameTextAscii(text.substr(pos, pattern.size()), pattern)) {
      append(text.substr(copied, pos - copied));
      append(replacement);
      pos += pattern.size();
      copied = pos;
    } else {
      ++pos;
    }
  }
  append(text.substr(copied));
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

TemplateColumns TemplateColumns::Of(const ColumnKeys& keys, const RowTable& table) {
  TemplateColumns columns;
  columns.Pos = table.FindColumn(keys.Pos);
  columns.Quantity = table.FindColumn(keys.Quantity);
  columns.Unit = table.FindColumn(keys.Unit);
  columns.Description = table.FindColumn(keys.Description);
  columns.PartNumber = table.FindColumn(keys.PartNumber);
  columns.Price = table.FindColumn(keys.Price);
  columns.Tax = table.FindColumn(keys.Tax);
  columns.Total = table.FindColumn(keys.Total);
  columns.LongText = table.FindColumn(keys.LongText);
  return columns;
}

Amounts ComputeAmounts(const TemplateRules& rules, const RowTable& table, char decimal_separator) {
  return ComputeAmounts(TemplateColumns::Of(TemplateSettings::Of(rules).Columns, table), table,
                        decimal_separator);
}

Amounts ComputeAmounts(const TemplateColumns& columns, const RowTable& table,
                       char decimal_separator) {
  Amounts amounts;
  if (const auto quantity = ColumnNumber(columns.Quantity, table, decimal_separator))
    amounts.Quantity = *quantity;
  if (const auto price = ColumnNumber(columns.Price, table, decimal_separator))
    amounts.Price = *price;
  if (const auto total = ColumnNumber(columns.Total, table, decimal_separator)) {
    amounts.Total = *total;
    if (amounts.Total != 0 && amounts.Quantity == 0) amounts.Quantity = 1;
    // The total wins unless the price column already holds it.
    if (amounts.Quantity != 0 && std::fabs(amounts.Total - amounts.Price) > kPriceTolerance) {
      amounts.Price = amounts.Total / amounts.Quantity;
    }
  }
  return amounts;
}

LongTextPattern::LongTextPattern(std::string_view text, const RowTable& table) : text_(text) {
  for (const std::string& name : PlaceholderNames(text)) {
    const std::optional<int> column = table.FindColumn(name);
    if (!column) {
      all_columns_ = false;
      break;
    }
    placeholders_.push_back("[" + name + "]");
    columns_.push_back(*column);
  }
  if (all_columns_) SplitIntoPieces();
  cells_.resize(columns_.size());
}

void LongTextPattern::SplitIntoPieces() {
  std::vector<Piece> pieces;
  std::vector<std::size_t> places(placeholders_.size(), 0);
  const std::string_view text = text_;
  std::size_t literal_start = 0;
  for (std::size_t open = text.find('['); open != std::string_view::npos;
       open = text.find('[', open)) {
    // A name holds no brackets, so a placeholder here ends at the first "]".
    const std::size_t close = text.find_first_of("[]", open + 1);
    if (close == std::string_view::npos || text[close] != ']') return;
    const std::string_view candidate = text.substr(open, close + 1 - open);
    std::size_t index = 0;
    while (index < placeholders_.size() && !SameTextAscii(candidate, placeholders_[index])) ++index;
    if (index == placeholders_.size()) return;
    pieces.push_back(Piece{literal_start, open - literal_start});
    pieces.push_back(Piece{0, 0, static_cast<int>(index)});
    ++places[index];
    open = close + 1;
    literal_start = open;
  }
  pieces.push_back(Piece{literal_start, text.size() - literal_start});
  pieces_ = std::move(pieces);
  places_ = std::move(places);
}

std::string_view LongTextPattern::ExpandPieces(std::size_t limit) const {
  // The series of replacements fails once any step's text passes the limit; step i changes
  // the length by its places times the difference between its cell and its placeholder. Each
  // place is as long as its placeholder, so after the last step this is the text's length.
  std::size_t length = text_.size();
  for (std::size_t i = 0; i < placeholders_.size(); ++i) {
    const std::size_t cell = cells_[i].size();
    const std::size_t placeholder = placeholders_[i].size();
    if (cell >= placeholder) {
      length += places_[i] * (cell - placeholder);
      if (length > limit) throw LongTextTooLargeError();
    } else {
      length -= places_[i] * (placeholder - cell);
    }
  }
  // Written in place into a buffer kept between rows: a run fills this for every row.
  expanded_.reserve(length);
  char* out = expanded_.data();
  for (const Piece& piece : pieces_) {
    const std::string_view part = piece.Placeholder < 0
                                      ? std::string_view(text_).substr(piece.Start, piece.Length)
                                      : cells_[static_cast<std::size_t>(piece.Placeholder)];
    CopyBytes(out, part.data(), part.size());
    out += part.size();
  }
  expanded_.commit(length);
  return expanded_.view();
}

LongTextTooLargeError::LongTextTooLargeError()
    : Error("Der Text ergibt Langtexte von mehr als " +
            std::to_string(kMaxLongTextBytes / (1024 * 1024)) + " MB und wird nicht umgewandelt") {}

std::string_view LongTextPattern::ExpandInPlace(const RowTable& table, std::size_t limit) const {
  if (!all_columns_) return {};
  bool opens_placeholder = false;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const std::string_view cell = table.Cell(columns_[i]);
    // An empty cell leaves the long text out rather than write it with a gap.
    if (cell.empty()) return {};
    cells_[i] = cell;
    // Cells are short: a loop of its own costs less than a call that looks for the byte.
    opens_placeholder = opens_placeholder || std::find(cell.begin(), cell.end(), '[') != cell.end();
  }
  if (text_.size() > limit) throw LongTextTooLargeError();
  if (placeholders_.empty()) return text_;
  if (!pieces_.empty() && !opens_placeholder) return ExpandPieces(limit);
  current_ = text_;
  for (std::size_t i = 0; i < placeholders_.size(); ++i) {
    // Each placeholder in turn over the text so far, as a series of replace-all calls would.
    ReplaceAllIgnoringCase(current_, placeholders_[i], cells_[i], next_, limit);
    current_.swap(next_);
  }
  return current_;
}

std::string LongTextPattern::Expand(const RowTable& table, std::size_t limit) const {
  return std::string(ExpandInPlace(table, limit));
}

std::string ExpandLongText(const RowTable& table, std::string_view text) {
  return LongTextPattern(text, table).Expand(table);
}

bool IsContinuationRowAt(int description_column, const RowTable& table) {
  // The joined row equals the description cell exactly when every other cell is empty; the
  // first filled one, mostly the first cell of all, decides.
  for (int column = 0; column < table.ColumnCount(); ++column) {
    if (column != description_column && !table.Cell(column).empty()) return false;
  }
  return true;
}

std::optional<std::string> IsContinuationRow(std::string_view description_column,
                                             const RowTable& table) {
  const std::optional<int> column = table.FindColumn(description_column);
  if (!column || !IsContinuationRowAt(*column, table)) return std::nullopt;
  return std::string(table.Cell(*column));
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
