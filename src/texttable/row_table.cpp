#include "texttable/row_table.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace zw {

std::optional<int> ColumnOfName(std::string_view name, int column_count) {
  if (name.size() != 1) return std::nullopt;
  char c = name.front();
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  const int column = c - 'A';
  if (column < 0 || column >= column_count) return std::nullopt;
  return column;
}

char ColumnName(int column) { return static_cast<char>('A' + column); }

void RowTable::DefineColumns(int column_count) {
  if (column_count < 1 || column_count > kMaxColumns) {
    throw std::invalid_argument("column count out of range");
  }
  column_count_ = column_count;
  text_.clear();
  cell_ends_.clear();
  row_first_cell_.clear();
  row_records_.clear();
  current_ = 0;
}

void RowTable::Reserve(std::size_t cell_bytes, std::size_t cells) {
  text_.reserve(cell_bytes);
  cell_ends_.reserve(cells);
}

void RowTable::BeginRow(int source_record) {
  if (cell_ends_.size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("table too large");
  }
  row_first_cell_.push_back(static_cast<std::uint32_t>(cell_ends_.size()));
  row_records_.push_back(source_record);
}

void RowTable::AddCell(std::string_view text) {
  if (row_records_.empty()) throw std::logic_error("AddCell before BeginRow");
  const std::size_t cells_in_row = cell_ends_.size() - row_first_cell_.back();
  if (cells_in_row >= static_cast<std::size_t>(column_count_)) return;
  const std::size_t length = std::min(text.size(), kMaxCellLength);
  const std::size_t start = text_.size();
  if (start + length > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("table too large");
  }
  text_.resize(start + length);
  std::copy_n(text.data(), length, text_.data() + start);
  cell_ends_.push_back(static_cast<std::uint32_t>(start + length));
}

void RowTable::First() { current_ = 0; }

void RowTable::Next() {
  if (current_ < RowCount()) ++current_;
}

std::optional<int> RowTable::FindColumn(std::string_view name) const {
  return ColumnOfName(name, column_count_);
}

std::string_view RowTable::Cell(int column) const {
  if (Eof() || column < 0 || column >= column_count_) return {};
  const std::size_t first = row_first_cell_[current_];
  const std::size_t end_cell =
      current_ + 1 < RowCount() ? row_first_cell_[current_ + 1] : cell_ends_.size();
  const std::size_t cell = first + static_cast<std::size_t>(column);
  if (cell >= end_cell) return {};
  const std::size_t begin = cell == 0 ? 0 : cell_ends_[cell - 1];
  return std::string_view(text_.data() + begin, cell_ends_[cell] - begin);
}

std::string RowTable::RowText() const {
  std::string joined;
  for (int column = 0; column < column_count_; ++column) joined.append(Cell(column));
  return joined;
}

std::size_t RowTable::RowTextLength() const {
  if (Eof()) return 0;
  const std::size_t first = row_first_cell_[current_];
  const std::size_t end_cell =
      current_ + 1 < RowCount() ? row_first_cell_[current_ + 1] : cell_ends_.size();
  if (end_cell == first) return 0;
  const std::size_t begin = first == 0 ? 0 : cell_ends_[first - 1];
  return cell_ends_[end_cell - 1] - begin;
}

int RowTable::SourceRecord() const { return Eof() ? 0 : row_records_[current_]; }

}  // namespace zw
