// The table reader and FillRowTable over arbitrary text, delimiter, column count and ignore
// entries. For text without quotes and NULs the records must be exactly the lines of the text
// split at the delimiter: nothing lost, nothing invented. Every record is judged as its
// normalised fields are. The column count is that of the widest line, by both passes.
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

namespace {

using Record = std::vector<std::string>;

// The records a text without quotes and NULs consists of: lines end at CR or CR LF, the last
// line also at the end of the text; an empty line has no fields.
std::vector<Record> ExpectedRecords(std::string_view text, char delimiter) {
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
zw::RecordCheck::Verdict ExpectedVerdict(const zw::TCSVReader& reader,
                                         const std::vector<std::string>& ignore_entries,
                                         std::size_t& entry) {
  using Verdict = zw::RecordCheck::Verdict;
  if (reader.FieldCount() == 0) return Verdict::NoFields;
  std::string joined;
  for (int i = 0; i < reader.FieldCount(); ++i) joined += reader.Fields(i);
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
int ExpectedColumns(std::string_view text, char delimiter) {
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

std::vector<Record> ReadRecords(zw::TCSVReader& reader,
                                const std::vector<std::string>& ignore_entries) {
  std::vector<Record> records;
  std::string scratch;
  for (reader.First(); !reader.Eof(); reader.Next()) {
    std::size_t entry = 0;
    const zw::RecordCheck check = zw::CheckRecord(reader, ignore_entries);
    FUZZ_CHECK(check.Result == ExpectedVerdict(reader, ignore_entries, entry));
    FUZZ_CHECK(check.Entry == entry);
    Record fields;
    for (int i = 0; i < reader.FieldCount(); ++i) {
      fields.push_back(reader.Fields(i));
      FUZZ_CHECK(reader.FieldView(i, scratch) == fields.back());
    }
    FUZZ_CHECK(reader.Fields(reader.FieldCount()).empty());
    FUZZ_CHECK(reader.Fields(-1).empty());
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const char delimiter = input.ConsumeBool() ? '\t' : input.ConsumeIntegral<char>();
  const int column_count = input.ConsumeIntegralInRange(1, zw::RowTable::kMaxColumns);
  std::vector<std::string> ignore_entries(input.ConsumeIntegralInRange(0, 3));
  for (std::string& entry : ignore_entries) entry = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const int columns = ExpectedColumns(text, delimiter);
  FUZZ_CHECK(zw::CountColumns(text, delimiter) == columns);
  FUZZ_CHECK(zw::CountColumnsByWords(text, delimiter) == columns);

  zw::TCSVReader reader(text, delimiter);
  const std::vector<Record> records = ReadRecords(reader, ignore_entries);
  const bool plain = text.find_first_of(std::string_view("\"\0", 2)) == std::string::npos &&
                     delimiter != '\r' && delimiter != '\0' && delimiter != '"';
  if (plain) FUZZ_CHECK(records == ExpectedRecords(text, delimiter));

  zw::RowTable table;
  std::size_t dropped = 0;
  zw::FillRowTable(table, text, delimiter, column_count, ignore_entries,
                   [&](int, const zw::RecordCheck&) { ++dropped; });
  FUZZ_CHECK(table.RowCount() + dropped == records.size());
  int previous_record = 0;
  for (table.First(); !table.Eof(); table.Next()) {
    const int record = table.SourceRecord();
    FUZZ_CHECK(record > previous_record && record <= static_cast<int>(records.size()));
    previous_record = record;
    const Record& fields = records[static_cast<std::size_t>(record - 1)];
    std::string joined;
    for (int column = 0; column < column_count; ++column) {
      const std::string_view cell = table.Cell(column);
      FUZZ_CHECK(cell.size() <= zw::RowTable::kMaxCellLength);
      const std::string field =
          column < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(column)] : "";
      FUZZ_CHECK(cell == std::string_view(field).substr(0, zw::RowTable::kMaxCellLength));
      joined += cell;
    }
    FUZZ_CHECK(table.RowText() == joined);
    FUZZ_CHECK(table.RowTextLength() == joined.size());
  }
  return 0;
}
