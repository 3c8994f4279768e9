// The table reader and FillRowTable over arbitrary text, delimiter, column count and ignore
// entries, against definitions written a byte at a time: the records of the reader, eight and
// sixteen bytes at once, are those of the definition; for text without quotes and NULs they are
// exactly the lines of the text split at the delimiter. Every record is judged as its
// normalised fields are, and the table holds the cells of the records kept and reports the
// others, each with its verdict. The column count is that of the widest line, by both passes,
// and the room counted for the table holds it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "fuzz_check.h"
#include "texttable/UFastCSV.h"
#include "texttable/column_count.h"
#include "texttable/fill_row_table.h"
#include "texttable/normalize.h"
#include "texttable/row_table.h"
#include "texttable/table_room.h"

namespace {

using Record = std::vector<std::string>;
using Verdict = zw::RecordCheck::Verdict;

// The value of a field as read: a field that begins with a quote loses its first and last
// character, and each pair of quotes in between becomes one, from left to right.
std::string ValueOf(std::string_view field) {
  if (field.empty() || field.front() != '"') return std::string(field);
  std::string value;
  if (field.size() < 2) return value;
  const std::string_view inner = field.substr(1, field.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    value += inner[i];
    if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
  }
  return value;
}

// The records of a text by the reader's definition, a byte at a time: the text is followed by
// a CR and a NUL; a NUL, also inside an unclosed quote, ends the data and the record it is in.
std::vector<Record> DefinedRecords(std::string_view text, char delimiter) {
  const std::string data = std::string(text) + '\r' + '\0';
  std::vector<Record> records;
  std::size_t position = 0;
  for (;;) {
    Record fields;
    std::size_t at = position;
    std::size_t field_start = at;
    const auto skip_quoted = [&] {
      for (++at;;) {
        if (data[at] == '\0') return false;
        if (data[at] == '"') {
          if (data[at + 1] != '"') {
            ++at;
            return true;
          }
          at += 2;
        } else {
          ++at;
        }
      }
    };
    if (data[at] == '"' && !skip_quoted()) return records;
    for (;;) {
      const char c = data[at];
      if (c == '\0') return records;
      if (c == '\r') {
        if (at != position) fields.push_back(ValueOf(data.substr(field_start, at - field_start)));
        break;
      }
      if (c == delimiter) {
        fields.push_back(ValueOf(data.substr(field_start, at - field_start)));
        ++at;
        if (data[at] == '\0') return records;
        field_start = at;
        if (data[at] == '"' && !skip_quoted()) return records;
        continue;
      }
      ++at;
    }
    records.push_back(std::move(fields));
    if (data[at + 1] == '\0') return records;
    position = at + 1;
    if (data[position] == '\n') ++position;
  }
}

// The records a text without quotes and NULs consists of: lines end at CR or CR LF, the last
// line also at the end of the text; an empty line has no fields.
std::vector<Record> LinesOf(std::string_view text, char delimiter) {
  std::vector<Record> records;
  const std::string data = std::string(text) + '\r';
  std::size_t start = 0;
  while (start < data.size()) {
    const std::size_t end = data.find('\r', start);
    const std::string_view line = std::string_view(data).substr(start, end - start);
    Record fields;
    if (!line.empty()) {
      std::size_t field_start = 0;
      for (;;) {
        const std::size_t cut = line.find(delimiter, field_start);
        fields.emplace_back(line.substr(field_start, cut - field_start));
        if (cut == std::string_view::npos) break;
        field_start = cut + 1;
      }
    }
    records.push_back(std::move(fields));
    start = end + 1;
    if (start < data.size() && data[start] == '\n') ++start;
  }
  return records;
}

// The verdict on a record by its definition: the values of its fields joined and normalised,
// then the first entry that occurs in them.
Verdict DefinedVerdict(const Record& fields, const std::vector<std::string>& ignore_entries,
                       std::size_t& entry) {
  entry = 0;
  if (fields.empty()) return Verdict::NoFields;
  std::string joined;
  for (const std::string& field : fields) joined += field;
  const std::string normalized = zw::NormalizeText(joined);
  if (normalized.empty()) return Verdict::Empty;
  for (entry = 0; entry < ignore_entries.size(); ++entry) {
    if (!ignore_entries[entry].empty() &&
        normalized.find(ignore_entries[entry]) != std::string::npos) {
      return Verdict::Ignored;
    }
  }
  entry = 0;
  return Verdict::Keep;
}

// The column count by its definition: each CR or LF ends a line; the most delimiters of a
// line plus one, at most 30, and 0 when no line holds one.
int DefinedColumns(std::string_view text, char delimiter) {
  if (delimiter == '\r' || delimiter == '\n') return 0;
  std::size_t widest = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find_first_of("\r\n", start);
    const std::string_view line = text.substr(start, end - start);
    widest = std::max<std::size_t>(widest, std::count(line.begin(), line.end(), delimiter));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return widest == 0 ? 0 : static_cast<int>(std::min<std::size_t>(widest + 1, 30));
}

// Reads every record with the reader, checks each as CheckRecord does, and that reading past
// the end fails.
std::vector<Record> ReadRecords(zw::TCSVReader& reader,
                                const std::vector<std::string>& ignore_entries) {
  std::vector<Record> records;
  std::string scratch;
  for (reader.First(); !reader.Eof(); reader.Next()) {
    Record fields;
    for (int i = 0; i < reader.FieldCount(); ++i) {
      fields.push_back(reader.Fields(i));
      FUZZ_CHECK(reader.FieldView(i, scratch) == fields.back());
    }
    FUZZ_CHECK(reader.Fields(reader.FieldCount()).empty());
    FUZZ_CHECK(reader.Fields(-1).empty());
    std::size_t entry = 0;
    const zw::RecordCheck check = zw::CheckRecord(reader, ignore_entries);
    FUZZ_CHECK(check.Result == DefinedVerdict(fields, ignore_entries, entry));
    FUZZ_CHECK(check.Entry == entry);
    records.push_back(std::move(fields));
  }
  bool threw = false;
  try {
    reader.Next();
  } catch (const zw::Error&) {
    threw = true;
  }
  FUZZ_CHECK(threw);
  return records;
}

// The room counted ahead holds the rows and cells of all records it covers.
template <zw::ByteBlocks kBlocks>
void CheckRoom(std::string_view text, char delimiter, int column_count,
               const std::vector<Record>& records) {
  const zw::TableRoom room = zw::CountTableRoom<kBlocks>(text, 0, delimiter, column_count, 1 << 30);
  FUZZ_CHECK(room.End == text.size());
  FUZZ_CHECK(room.Rows >= records.size());
  std::size_t cells = 0;
  for (const Record& fields : records)
    cells += std::min(fields.size(), static_cast<std::size_t>(column_count));
  FUZZ_CHECK(room.Cells >= cells);
}

struct Drop {
  int Record;
  Verdict Result;
  std::size_t Entry;
  bool operator==(const Drop&) const = default;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const char delimiter = input.ConsumeBool() ? '\t' : input.ConsumeIntegral<char>();
  const int column_count = input.ConsumeIntegralInRange(1, zw::RowTable::kMaxColumns);
  std::vector<std::string> ignore_entries(input.ConsumeIntegralInRange(0, 3));
  for (std::string& entry : ignore_entries) entry = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const int columns = DefinedColumns(text, delimiter);
  FUZZ_CHECK(zw::CountColumns(text, delimiter) == columns);
  FUZZ_CHECK(zw::CountColumnsByWords(text, delimiter) == columns);

  const std::vector<Record> records = DefinedRecords(text, delimiter);
  zw::TCSVReader reader(text, delimiter);
  FUZZ_CHECK(ReadRecords(reader, ignore_entries) == records);
  zw::TCSVReader by_words(text, delimiter, zw::ByteBlocks::Words);
  FUZZ_CHECK(ReadRecords(by_words, ignore_entries) == records);
  const bool plain = text.find_first_of(std::string_view("\"\0", 2)) == std::string::npos &&
                     delimiter != '\r' && delimiter != '\0' && delimiter != '"';
  if (plain) FUZZ_CHECK(records == LinesOf(text, delimiter));

  CheckRoom<zw::kNativeBlocks>(text, delimiter, column_count, records);
  CheckRoom<zw::ByteBlocks::Words>(text, delimiter, column_count, records);

  zw::RowTable table;
  std::vector<Drop> drops;
  std::size_t rows_told = 0;
  zw::FillRowTable(
      table, text, delimiter, column_count, ignore_entries,
      [&](int record, const zw::RecordCheck& check) {
        drops.push_back({record, check.Result, check.Entry});
      },
      [&](zw::RowTable& filling) { FUZZ_CHECK(filling.RowCount() == ++rows_told); });
  FUZZ_CHECK(rows_told == table.RowCount());
  std::vector<Drop> expected_drops;
  table.First();
  for (std::size_t index = 0; index < records.size(); ++index) {
    const Record& fields = records[index];
    const int record = static_cast<int>(index) + 1;
    std::size_t entry = 0;
    const Verdict verdict = DefinedVerdict(fields, ignore_entries, entry);
    if (verdict != Verdict::Keep) {
      expected_drops.push_back({record, verdict, entry});
      continue;
    }
    FUZZ_CHECK(!table.Eof());
    FUZZ_CHECK(table.SourceRecord() == record);
    std::string joined;
    for (int column = 0; column < column_count; ++column) {
      const std::string_view cell = table.Cell(column);
      const std::string field =
          column < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(column)] : "";
      FUZZ_CHECK(cell == std::string_view(field).substr(0, zw::RowTable::kMaxCellLength));
      joined += cell;
    }
    FUZZ_CHECK(table.Cell(column_count).empty());
    FUZZ_CHECK(table.RowText() == joined);
    FUZZ_CHECK(table.RowTextLength() == joined.size());
    table.Next();
  }
  FUZZ_CHECK(table.Eof());
  FUZZ_CHECK(drops == expected_drops);
  return 0;
}
