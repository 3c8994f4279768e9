#include "texttable/fill_row_table.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ascii.h"
#include "texttable/rare_entry_bytes.h"
#include "texttable/record_scanner.h"
#include "texttable/table_room.h"

namespace zw {

namespace {

// Field slots of a quoted record, grown when a record has more fields.
constexpr std::size_t kInitialSlots = 100;

// Normalises the joined fields of a record: tabs and blanks are dropped while joining, the
// other characters of code 32 or less trimmed at both ends afterwards, and looks for the
// ignore entries in it. The buffers are kept between records so that a whole text is checked
// without an allocation per record.
class RecordNormalizer {
 public:
  // With rare_bytes, records are ruled out by them before the entries are looked for.
  RecordNormalizer(char delimiter, const std::vector<std::string>& ignore_entries,
                   RareEntryBytes* rare_bytes = nullptr)
      : ignore_entries_(ignore_entries),
        rare_bytes_(rare_bytes),
        delimiter_(delimiter),
        has_entries_(HasEntries(ignore_entries)),
        all_trimmed_(AllTrimmed(ignore_entries)) {
    for (int c = 0; c < 256; ++c) keep_in_field_[c] = c != '\t' && c != ' ';
    keep_in_record_ = keep_in_field_;
    keep_in_record_[static_cast<unsigned char>(delimiter)] = 0;
  }

  RecordCheck Check(const RecordFields& record) {
    if (record.Count == 0) return {RecordCheck::Verdict::NoFields, 0};
    const std::string_view span = record.Span();
    if (!record.Quoted) return CheckUnquoted(span);
    // A quoted field's delimiters are its content; a blank never is.
    bool content = false;
    for (std::size_t field = 0; field < record.Count && !content; ++field)
      content = HasContent(record.Value(field, scratch_), ' ');
    if (!content) return {RecordCheck::Verdict::Empty, 0};
    if (!has_entries_) return {};
    std::size_t length = 0;
    for (std::size_t field = 0; field < record.Count; ++field)
      length = Compact(record.Value(field, scratch_), keep_in_field_, length);
    // The values of quoted fields are made of the span's bytes too.
    if (rare_bytes_ != nullptr && !rare_bytes_->MayHoldAnEntry(span)) return {};
    return Find(Trimmed(length));
  }

  // Whether a record of at least one field, none of which begins with a quote, is kept for
  // what it can tell at once: it has content, and no entry or none of the entries' rare bytes.
  // False says nothing; CheckUnquoted has the verdict.
  bool KeepsAtOnce(std::string_view span) {
    return HasContent(span, delimiter_) &&
           (!has_entries_ || (rare_bytes_ != nullptr && !rare_bytes_->MayHoldAnEntry(span)));
  }

  // The check of a record of at least one field, none of which begins with a quote: its fields
  // are its span less its delimiters.
  RecordCheck CheckUnquoted(std::string_view span) {
    // The record is empty when all its bytes are trimmed ones or delimiters.
    if (!HasContent(span, delimiter_)) return {RecordCheck::Verdict::Empty, 0};
    if (!has_entries_) return {};
    if (rare_bytes_ != nullptr && !rare_bytes_->MayHoldAnEntry(span)) return {};
    return FindInSpan(span);
  }

 private:
  // The first entry that the fields of an unquoted record contain.
  RecordCheck FindInSpan(std::string_view span) {
    if (!all_trimmed_) return Find(Trimmed(Compact(span, keep_in_record_, 0)));
    // The entries are looked for in the span itself, stepping over what normalising drops,
    // without writing the normalised text.
    for (std::size_t entry = 0; entry < ignore_entries_.size(); ++entry) {
      const std::string& ignored = ignore_entries_[entry];
      if (!ignored.empty() && ContainsKept(span, ignored)) {
        return {RecordCheck::Verdict::Ignored, entry};
      }
    }
    return {};
  }

  // The first entry that the normalised text contains.
  RecordCheck Find(std::string_view text) const {
    for (std::size_t entry = 0; entry < ignore_entries_.size(); ++entry) {
      const std::string& ignored = ignore_entries_[entry];
      // An entry of blanks only normalises to nothing; it must not drop every row.
      if (ignored.empty()) continue;
      if (text.find(ignored) != std::string_view::npos) {
        return {RecordCheck::Verdict::Ignored, entry};
      }
    }
    return {};
  }

  // Whether the entry occurs in the bytes of the span that normalising keeps. The entry's first
  // and last bytes are above code 32, so a match never touches what the trimming drops.
  bool ContainsKept(std::string_view span, std::string_view entry) const {
    const auto first = static_cast<unsigned char>(entry.front());
    if (keep_in_record_[first] == 0) return false;
    for (std::size_t start = span.find(entry.front()); start != std::string_view::npos;
         start = span.find(entry.front(), start + 1)) {
      std::size_t at = start + 1;
      std::size_t matched = 1;
      while (matched < entry.size()) {
        while (at < span.size() && keep_in_record_[static_cast<unsigned char>(span[at])] == 0) ++at;
        if (at == span.size() || span[at] != entry[matched]) break;
        ++at;
        ++matched;
      }
      if (matched == entry.size()) return true;
      if (at == span.size()) return false;
    }
    return false;
  }

  // Whether no entry begins or ends with a byte that trimming drops, as normalised entries
  // never do; only such an entry can be looked for without trimming the record first.
  static bool AllTrimmed(const std::vector<std::string>& ignore_entries) {
    for (const std::string& entry : ignore_entries) {
      if (!entry.empty() && (IsBlankOrControl(entry.front()) || IsBlankOrControl(entry.back())))
        return false;
    }
    return true;
  }

  static bool HasEntries(const std::vector<std::string>& ignore_entries) {
    for (const std::string& entry : ignore_entries) {
      if (!entry.empty()) return true;
    }
    return false;
  }

  // Whether a byte of the part is neither one that normalising drops nor the delimiter.
  static bool HasContent(std::string_view part, char delimiter) {
    for (const char c : part) {
      if (!IsBlankOrControl(c) && c != delimiter) return true;
    }
    return false;
  }

  // The first `length` bytes of the buffer, less the trimmed bytes at both ends.
  std::string_view Trimmed(std::size_t length) const {
    const char* const data = buffer_.data();
    std::size_t begin = 0;
    while (begin < length && IsBlankOrControl(data[begin])) ++begin;
    std::size_t end = length;
    while (end > begin && IsBlankOrControl(data[end - 1])) --end;
    return std::string_view(data + begin, end - begin);
  }

  // Appends the kept bytes of the part behind the first `length` bytes of the buffer; every
  // byte is written and the end moves on only for a kept one, which needs no branch.
  std::size_t Compact(std::string_view part, const std::array<std::uint8_t, 256>& keep,
                      std::size_t length) {
    if (buffer_.size() < length + part.size()) buffer_.resize(2 * (length + part.size()));
    char* out = buffer_.data() + length;
    for (const char c : part) {
      *out = c;
      out += keep[static_cast<unsigned char>(c)];
    }
    return static_cast<std::size_t>(out - buffer_.data());
  }

  const std::vector<std::string>& ignore_entries_;
  RareEntryBytes* const rare_bytes_;
  const char delimiter_;
  const bool has_entries_;
  const bool all_trimmed_;
  std::array<std::uint8_t, 256> keep_in_field_{};
  std::array<std::uint8_t, 256> keep_in_record_{};
  std::string buffer_;
  std::string scratch_;
};

// Fills a table as FillRowTable tells. The records are read with the reader's rules, but the
// fields of a record without quotes go straight into the table as the cells of a row, which is
// kept unless the record is dropped.
class TableFill {
 public:
  TableFill(RowTable& table, std::string_view text, char delimiter, int column_count,
            const std::vector<std::string>& ignore_entries, const RecordDropped& on_dropped,
            const RowAdded& on_row)
      : table_(Defined(table, text, column_count)),
        text_(text),
        delimiter_(delimiter),
        column_count_(column_count),
        on_dropped_(on_dropped),
        on_row_(on_row),
        scanner_(text, delimiter),
        rare_bytes_(text, ignore_entries),
        normalizer_(delimiter, ignore_entries, &rare_bytes_) {
    // Room for the rows of the first records, counted ahead: a text that is refused after a
    // part of it is not read in full for it. Only a table that outgrows them counts the rest.
    room_ = CountTableRoom<kNativeBlocks>(text, 0, delimiter, column_count, kRowsCountedAhead);
    table.Reserve(room_.Rows, room_.Cells);
  }

  void Run() {
    std::size_t position = 0;
    Sink sink(this, OpenRow());
    scanner_.Read(position, sink);
  }

 private:
  // The table with its columns, viewing the text, before the scanner checks the text.
  static RowTable& Defined(RowTable& table, std::string_view text, int column_count) {
    table.DefineColumns(column_count);
    // Cells of unquoted fields stay slices of the text.
    table.ViewText(text);
    return table;
  }

  // The scanner's sink, which it works on as a copy in registers.
  class Sink {
   public:
    Sink(TableFill* fill, RowTable::SliceSink cells) : fill_(fill), cells_(cells) {}
    void MakeRoom(std::size_t) {}
    void Put(std::size_t start, std::size_t end) { cells_.Put(start, end); }
    bool Ended(const ScannedRecord& record, std::size_t first) {
      // Most records are kept at first sight; the others are judged out of the loop.
      if (!record.Quoted && cells_.Cells() != 0 &&
          fill_->normalizer_.KeepsAtOnce(fill_->text_.substr(first, record.Stop - first))) {
        fill_->Keep(cells_);
      } else {
        cells_ = fill_->Take(record, first, cells_);
      }
      return true;
    }

   private:
    TableFill* fill_;
    RowTable::SliceSink cells_;
  };

  // Keeps the row of a record without quotes and opens the next one.
  void Keep(RowTable::SliceSink& cells) {
    table_.KeepSlices(cells, record_++);
    // After the last row that there is room for, the next one is opened where there is more.
    if (table_.RowCount() == room_.Rows) cells = OpenRow();
    if (on_row_) on_row_(table_);
  }

  RowTable::SliceSink OpenRow() {
    if (table_.RowCount() == room_.Rows && room_.End < text_.size()) {
      const TableRoom rest =
          CountTableRoom<kNativeBlocks>(text_, room_.End, delimiter_, column_count_, text_.size());
      room_ = {room_.Rows + rest.Rows, room_.Cells + rest.Cells, rest.End};
      table_.Reserve(room_.Rows, room_.Cells);
    }
    return table_.OpenSlices();
  }

  // Judges the record whose fields the cells were given, keeps or drops its row and opens the
  // next one. Out of the class, so that it stays out of the scanner's loop.
  RowTable::SliceSink Take(const ScannedRecord& scanned, std::size_t first,
                           RowTable::SliceSink cells);

  // The values of quoted fields are not slices of the text: the record is read once more, as
  // the reader keeps it.
  RecordCheck TakeQuoted(std::size_t first) {
    FieldSlots fields(slots_);
    scanner_.Read(first, fields);
    const RecordFields values{text_, slots_.data(), fields.Count(), true, delimiter_};
    const RecordCheck check = normalizer_.Check(values);
    if (check.Result == RecordCheck::Verdict::Keep) {
      table_.BeginRow(record_);
      const std::size_t stored = std::min(static_cast<std::size_t>(column_count_), values.Count);
      for (std::size_t column = 0; column < stored; ++column)
        table_.AddCell(values.Value(column, scratch_));
    }
    return check;
  }

  RowTable& table_;
  const std::string_view text_;
  const char delimiter_;
  const int column_count_;
  const RecordDropped& on_dropped_;
  const RowAdded& on_row_;
  const RecordScanner<kNativeBlocks> scanner_;
  RareEntryBytes rare_bytes_;
  RecordNormalizer normalizer_;
  TableRoom room_;
  std::vector<TextSlice> slots_ = std::vector<TextSlice>(kInitialSlots);
  std::string scratch_;
  int record_ = 1;
};

RowTable::SliceSink TableFill::Take(const ScannedRecord& scanned, std::size_t first,
                                    RowTable::SliceSink cells) {
  if (!scanned.Quoted) {
    const RecordCheck check =
        cells.Cells() == 0 ? RecordCheck{RecordCheck::Verdict::NoFields, 0}
                           : normalizer_.CheckUnquoted(text_.substr(first, scanned.Stop - first));
    if (check.Result == RecordCheck::Verdict::Keep) {
      Keep(cells);
    } else {
      cells.Clear();
      if (on_dropped_) on_dropped_(record_, check);
      ++record_;
    }
    return cells;
  }
  const RecordCheck check = TakeQuoted(first);
  if (check.Result != RecordCheck::Verdict::Keep) {
    if (on_dropped_) on_dropped_(record_, check);
  } else if (on_row_) {
    on_row_(table_);
  }
  ++record_;
  // The row of a quoted record was added cell by cell.
  return OpenRow();
}

}  // namespace

RecordCheck CheckRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  return RecordNormalizer(reader.Delimiter(), ignore_entries).Check(reader.Record());
}

bool IsIgnoredRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  return CheckRecord(reader, ignore_entries).Result != RecordCheck::Verdict::Keep;
}

void FillRowTable(RowTable& table, std::string_view text, char delimiter, int column_count,
                  const std::vector<std::string>& ignore_entries, const RecordDropped& on_dropped,
                  const RowAdded& on_row) {
  TableFill(table, text, delimiter, column_count, ignore_entries, on_dropped, on_row).Run();
}

}  // namespace zw
