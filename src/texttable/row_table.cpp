#include "texttable/row_table.h"

#include <algorithm>
#include <functional>
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
  viewed_ = {};
  copied_.clear();
  cell_starts_.clear();
  cell_lengths_.clear();
  rows_.clear();
  current_ = 0;
}

void RowTable::ViewText(std::string_view text) {
  if (!cell_starts_.empty()) throw std::logic_error("ViewText after AddCell");
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("table too large");
  }
  viewed_ = text;
}

void RowTable::Reserve(std::size_t rows, std::size_t cells) {
  rows_.Reserve(rows);
  cell_starts_.Reserve(cells);
  cell_lengths_.Reserve(cells);
}

void RowTable::BeginRow(int source_record) {
  if (cell_starts_.size() >= std::numeric_limits<std::uint32_t>::max()) ThrowTooLarge();
  rows_.push_back({static_cast<std::uint32_t>(cell_starts_.size()), source_record});
}

void RowTable::CopyCell(std::string_view text) {
  const std::size_t start = viewed_.size() + copied_.size();
  if (start + text.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("table too large");
  }
  copied_.append(text);
  PushCell(start, text.size());
}

void RowTable::ThrowNoRow() { throw std::logic_error("AddCell before BeginRow"); }

void RowTable::ThrowTooLarge() { throw std::length_error("table too large"); }

void RowTable::ThrowOutside() { throw std::logic_error("cell outside the viewed text"); }

void RowTable::First() { current_ = 0; }

void RowTable::Next() {
  if (current_ < RowCount()) ++current_;
}

std::optional<int> RowTable::FindColumn(std::string_view name) const {
  return ColumnOfName(name, column_count_);
}

std::string RowTable::RowText() const {
  std::string joined;
  joined.reserve(RowTextLength());
  for (int column = 0; column < column_count_; ++column) joined.append(Cell(column));
  return joined;
}

std::size_t RowTable::RowTextLength() const {
  if (Eof()) return 0;
  std::size_t length = 0;
  for (std::size_t cell = FirstCell(), end = EndCell(); cell < end; ++cell)
    length += cell_lengths_[cell];
  return length;
}

int RowTable::SourceRecord() const { return Eof() ? 0 : rows_[current_].SourceRecord; }

}  // namespace zw
