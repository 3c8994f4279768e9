#include "texttable/fill_row_table.h"

#include "texttable/normalize.h"

namespace zw {

namespace {

// The buffers are the caller's so that a whole text is checked without an allocation per
// record.
RecordCheck CheckRecordWith(const TCSVReader& reader,
                            const std::vector<std::string>& ignore_entries, std::string& joined,
                            std::string& normalized) {
  if (reader.FieldCount() == 0) return {RecordCheck::Verdict::NoFields, 0};
  joined.clear();
  for (int field = 0; field < reader.FieldCount(); ++field) reader.AppendField(field, joined);
  NormalizeTextInto(joined, normalized);
  if (normalized.empty()) return {RecordCheck::Verdict::Empty, 0};
  for (std::size_t entry = 0; entry < ignore_entries.size(); ++entry) {
    const std::string& ignored = ignore_entries[entry];
    // An entry of blanks only normalises to nothing; it must not drop every row.
    if (ignored.empty()) continue;
    if (normalized.find(ignored) != std::string::npos) {
      return {RecordCheck::Verdict::Ignored, entry};
    }
  }
  return {};
}

}  // namespace

RecordCheck CheckRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  std::string joined;
  std::string normalized;
  return CheckRecordWith(reader, ignore_entries, joined, normalized);
}

bool IsIgnoredRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  return CheckRecord(reader, ignore_entries).Result != RecordCheck::Verdict::Keep;
}

void FillRowTable(RowTable& table, std::string_view text, char delimiter, int column_count,
                  const std::vector<std::string>& ignore_entries, const RecordDropped& on_dropped) {
  table.DefineColumns(column_count);
  TCSVReader reader(text, delimiter);
  std::string joined;
  std::string normalized;
  std::string cell;
  int record = 1;
  for (reader.First(); !reader.Eof(); reader.Next(), ++record) {
    const RecordCheck check = CheckRecordWith(reader, ignore_entries, joined, normalized);
    if (check.Result != RecordCheck::Verdict::Keep) {
      if (on_dropped) on_dropped(record, check);
      continue;
    }
    table.BeginRow(record);
    for (int column = 0; column < column_count; ++column) {
      cell.clear();
      reader.AppendField(column, cell);
      table.AddCell(cell);
    }
  }
}

}  // namespace zw
