#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "texttable/plain_array.h"

namespace zw {

// The column named by a text for a table of column_count columns: one character, "A" to "Z"
// (either case), then "[", "\", "]", "^" for columns 27 to 30. Zero-based index.
std::optional<int> ColumnOfName(std::string_view name, int column_count);

// The name of a zero-based column: the character with code 65 plus the index.
char ColumnName(int column);

// The clipboard text as a table of text cells, at most 100 characters each, with a cursor on
// one current row. A cell that lies within the viewed text is kept as a slice of it; any other
// cell is copied into one buffer of the table. Memory so stays well below the text's size.
class RowTable {
 public:
  static constexpr int kMaxColumns = 30;
  static constexpr std::size_t kMaxCellLength = 100;

  // Removes all rows and defines the columns A, B, ... (1 to 30); no text is viewed.
  void DefineColumns(int column_count);
  int ColumnCount() const { return column_count_; }
  // Cells added from within this text are kept as slices of it: it must outlive the rows.
  void ViewText(std::string_view text);
  // Room for this many rows and cells in all, so that filling up to them moves nothing.
  void Reserve(std::size_t rows, std::size_t cells);

  // Starts a new row taken from the given (1-based) record of the text; AddCell then fills its
  // columns in order. Cells beyond the column count are ignored, longer cells cut to 100.
  void BeginRow(int source_record);
  // Inline: a table is filled through it, cell by cell.
  void AddCell(std::string_view text) {
    if (rows_.empty()) ThrowNoRow();
    const std::size_t cells_in_row = cell_starts_.size() - rows_.back().FirstCell;
    if (cells_in_row >= static_cast<std::size_t>(column_count_)) return;
    text = text.substr(0, kMaxCellLength);
    const std::less_equal<const char*> not_after;
    if (text.empty()) {
      // An empty cell needs no bytes anywhere.
      PushCell(0, 0);
    } else if (!viewed_.empty() && not_after(viewed_.data(), text.data()) &&
               not_after(text.data() + text.size(), viewed_.data() + viewed_.size())) {
      PushCell(static_cast<std::size_t>(text.data() - viewed_.data()), text.size());
    } else {
      CopyCell(text);
    }
  }

  // Writes the fields of one record as the cells of a row straight into the table, as a sink of
  // RecordScanner: the fields are slices of the viewed text, start <= end, and the cells are
  // what AddCell with the fields' texts would give. A field beyond the column count is written
  // to a spare place. Inline: a table is filled through it, field by field.
  class SliceSink {
   public:
    void MakeRoom(std::size_t) {}
    void Put(std::size_t start, std::size_t end) {
      starts_[cells_] = static_cast<std::uint32_t>(start);
      lengths_[cells_] = static_cast<std::uint8_t>(std::min(end - start, kMaxCellLength));
      end_ = end;
      // Fields beyond the columns all go to the spare place after them.
      cells_ += cells_ < columns_;
    }
    // The cells put, at most one for each column: none for a record without fields.
    std::size_t Cells() const { return cells_; }
    // Forgets the fields put since the row was opened: the row is not kept.
    void Clear() {
      cells_ = 0;
      end_ = 0;
    }

   private:
    friend class RowTable;
    SliceSink(std::uint32_t* starts, std::uint8_t* lengths, std::size_t columns, std::size_t spare)
        : starts_(starts), lengths_(lengths), columns_(columns), spare_(spare) {}

    std::uint32_t* starts_;
    std::uint8_t* lengths_;
    std::size_t columns_;
    std::size_t spare_;  // cells that rows kept may take before the sink is opened anew
    std::size_t cells_ = 0;
    std::size_t end_ = 0;  // of the last field, the end of all as they come in order
  };
  // A sink for the next row; nothing of it is in the table before KeepSlices, and nothing else
  // may change the table before it. Inline, as the sink: a table is filled through it.
  SliceSink OpenSlices() {
    const auto columns = static_cast<std::size_t>(column_count_);
    const std::size_t first = cell_starts_.size();
    // Each row's first cell must have a 32-bit index.
    if (first >= std::numeric_limits<std::uint32_t>::max() - columns) ThrowTooLarge();
    // The columns and the place for fields beyond them; the room behind is for the rows after.
    std::uint32_t* const starts = cell_starts_.Ahead(columns + 1);
    std::uint8_t* const lengths = cell_lengths_.Ahead(columns + 1);
    const std::size_t spare =
        std::min({cell_starts_.RoomLeft(), cell_lengths_.RoomLeft(),
                  std::size_t{std::numeric_limits<std::uint32_t>::max() - 1} - first}) -
        (columns + 1);
    return SliceSink(starts, lengths, columns, spare);
  }
  // Appends the row that the sink, the one opened last, was given, for the given record, and
  // opens the sink for the next row.
  void KeepSlices(SliceSink& cells, int source_record) {
    if (cells.end_ > viewed_.size()) ThrowOutside();
    rows_.push_back({static_cast<std::uint32_t>(cell_starts_.size()), source_record});
    const std::size_t kept = cells.cells_;
    cell_starts_.Take(kept);
    cell_lengths_.Take(kept);
    if (kept > cells.spare_) {
      cells = OpenSlices();
      return;
    }
    cells.starts_ += kept;
    cells.lengths_ += kept;
    cells.spare_ -= kept;
    cells.Clear();
  }

  std::size_t RowCount() const { return rows_.size(); }
  bool IsEmpty() const { return rows_.empty(); }

  void First();
  void Next();
  // Makes the given (0-based) row current; Eof() beyond the last.
  void GoTo(std::size_t row) { current_ = row < RowCount() ? row : RowCount(); }
  bool Eof() const { return current_ >= RowCount(); }

  std::optional<int> FindColumn(std::string_view name) const;
  // The cell of the current row; "" for a column the row has no value in. Inline: the row loop
  // reads every cell of a row several times.
  std::string_view Cell(int column) const {
    if (Eof() || column < 0 || column >= column_count_) return {};
    const std::size_t cell = FirstCell() + static_cast<std::size_t>(column);
    if (cell >= EndCell()) return {};
    const std::size_t start = cell_starts_[cell];
    const std::size_t length = cell_lengths_[cell];
    if (start < viewed_.size()) return viewed_.substr(start, length);
    return std::string_view(copied_).substr(start - viewed_.size(), length);
  }
  // All cells of the current row joined without separator, in column order.
  std::string RowText() const;
  // The length of RowText(), without building it.
  std::size_t RowTextLength() const;
  // The record of the text that the current row came from (1-based).
  int SourceRecord() const;

 private:
  void PushCell(std::size_t start, std::size_t length) {
    cell_starts_.push_back(static_cast<std::uint32_t>(start));
    cell_lengths_.push_back(static_cast<std::uint8_t>(length));
  }
  // Keeps a cell from outside the viewed text in the table's own buffer.
  void CopyCell(std::string_view text);
  [[noreturn]] static void ThrowNoRow();
  [[noreturn]] static void ThrowTooLarge();
  [[noreturn]] static void ThrowOutside();

  // The cells of the current row: [first, end) in cell_starts_.
  std::size_t FirstCell() const { return rows_[current_].FirstCell; }
  std::size_t EndCell() const {
    return current_ + 1 < RowCount() ? rows_[current_ + 1].FirstCell : cell_starts_.size();
  }

  int column_count_ = 0;
  std::string_view viewed_;  // cells within it are slices of it
  std::string copied_;       // the other cells; offsets behind the viewed text
  // Offset of each stored cell: below viewed_.size() into viewed_, else into copied_. Its
  // length is at most 100, so a byte holds it.
  PlainArray<std::uint32_t> cell_starts_;
  PlainArray<std::uint8_t> cell_lengths_;
  // Each row's first cell in cell_starts_, and the record of the text it came from.
  struct Row {
    std::uint32_t FirstCell;
    int SourceRecord;
  };
  PlainArray<Row> rows_;
  std::size_t current_ = 0;
};

}  // namespace zw
