#include "texttable/fill_row_table.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ascii.h"

namespace zw {

namespace {

// Normalises the joined fields of a record: tabs and blanks are dropped while joining, the
// other characters of code 32 or less trimmed at both ends afterwards, and looks for the
// ignore entries in it. The buffers are kept between records so that a whole text is checked
// without an allocation per record.
class RecordNormalizer {
 public:
  RecordNormalizer(char delimiter, const std::vector<std::string>& ignore_entries)
      : ignore_entries_(ignore_entries),
        has_entries_(HasEntries(ignore_entries)),
        all_trimmed_(AllTrimmed(ignore_entries)) {
    for (int c = 0; c < 256; ++c) keep_in_field_[c] = c != '\t' && c != ' ';
    keep_in_record_ = keep_in_field_;
    keep_in_record_[static_cast<unsigned char>(delimiter)] = 0;
  }

  RecordCheck Check(const TCSVReader& reader) {
    const std::vector<std::string>& ignore_entries = ignore_entries_;
    if (reader.FieldCount() == 0) return {RecordCheck::Verdict::NoFields, 0};
    bool quoted = false;
    const std::string_view span = reader.RecordSpan(quoted);
    if (!has_entries_) {
      // Only emptiness matters: the record is empty when all its bytes are trimmed ones.
      return HasContent(reader, span, quoted) ? RecordCheck{}
                                              : RecordCheck{RecordCheck::Verdict::Empty, 0};
    }
    if (!quoted && all_trimmed_) {
      // The fields are the span less its delimiters: the entries are looked for in the span
      // itself, stepping over what normalising drops, without writing the normalised text.
      if (!HasContent(reader, span, quoted)) return {RecordCheck::Verdict::Empty, 0};
      for (std::size_t entry = 0; entry < ignore_entries.size(); ++entry) {
        const std::string& ignored = ignore_entries[entry];
        if (!ignored.empty() && ContainsKept(span, ignored)) {
          return {RecordCheck::Verdict::Ignored, entry};
        }
      }
      return {};
    }
    const std::string_view text = Normalized(reader, span, quoted);
    if (text.empty()) return {RecordCheck::Verdict::Empty, 0};
    for (std::size_t entry = 0; entry < ignore_entries.size(); ++entry) {
      const std::string& ignored = ignore_entries[entry];
      // An entry of blanks only normalises to nothing; it must not drop every row.
      if (ignored.empty()) continue;
      if (text.find(ignored) != std::string_view::npos) {
        return {RecordCheck::Verdict::Ignored, entry};
      }
    }
    return {};
  }

 private:
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

  bool HasContent(const TCSVReader& reader, std::string_view span, bool quoted) {
    const auto content = [](std::string_view part, char delimiter) {
      for (const char c : part) {
        if (!IsBlankOrControl(c) && c != delimiter) return true;
      }
      return false;
    };
    // Without quotes the fields are the span less its delimiters.
    if (!quoted) return content(span, reader.Delimiter());
    for (int field = 0; field < reader.FieldCount(); ++field) {
      // A quoted field's delimiters are its content; a blank never is.
      if (content(reader.FieldView(field, scratch_), ' ')) return true;
    }
    return false;
  }

  std::string_view Normalized(const TCSVReader& reader, std::string_view span, bool quoted) {
    std::size_t length = 0;
    if (!quoted) {
      length = Compact(span, keep_in_record_, 0);
    } else {
      for (int field = 0; field < reader.FieldCount(); ++field)
        length = Compact(reader.FieldView(field, scratch_), keep_in_field_, length);
    }
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
  const bool has_entries_;
  const bool all_trimmed_;
  std::array<std::uint8_t, 256> keep_in_field_{};
  std::array<std::uint8_t, 256> keep_in_record_{};
  std::string buffer_;
  std::string scratch_;
};

}  // namespace

RecordCheck CheckRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  return RecordNormalizer(reader.Delimiter(), ignore_entries).Check(reader);
}

bool IsIgnoredRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  return CheckRecord(reader, ignore_entries).Result != RecordCheck::Verdict::Keep;
}

void FillRowTable(RowTable& table, std::string_view text, char delimiter, int column_count,
                  const std::vector<std::string>& ignore_entries, const RecordDropped& on_dropped,
                  const RowAdded& on_row) {
  table.DefineColumns(column_count);
  // Cells of unquoted fields stay slices of the text.
  table.ViewText(text);
  // The table grows as it fills: counting its size first would read a text, which may be
  // refused after a part of it, once more in full.
  TCSVReader reader(text, delimiter);
  RecordNormalizer normalizer(delimiter, ignore_entries);
  std::string scratch;
  int record = 1;
  for (reader.First(); !reader.Eof(); reader.Next(), ++record) {
    const RecordCheck check = normalizer.Check(reader);
    if (check.Result != RecordCheck::Verdict::Keep) {
      if (on_dropped) on_dropped(record, check);
      continue;
    }
    table.BeginRow(record);
    const int stored = std::min(column_count, reader.FieldCount());
    for (int column = 0; column < stored; ++column)
      table.AddCell(reader.FieldView(column, scratch));
    if (on_row) on_row(table);
  }
}

}  // namespace zw
