#include "texttable/fill_row_table.h"

#include <algorithm>

#include "base/ascii.h"

namespace zw {

namespace {

// Normalises the joined fields in one pass: tabs and blanks are dropped while joining, the
// other characters of code 32 or less trimmed at both ends afterwards. The buffers are the
// caller's so that a whole text is checked without an allocation per record.
RecordCheck CheckRecordWith(const TCSVReader& reader,
                            const std::vector<std::string>& ignore_entries, std::string& scratch,
                            std::string& normalized) {
  if (reader.FieldCount() == 0) return {RecordCheck::Verdict::NoFields, 0};
  normalized.clear();
  for (int field = 0; field < reader.FieldCount(); ++field) {
    for (const char c : reader.FieldView(field, scratch)) {
      if (c != '\t' && c != ' ') normalized.push_back(c);
    }
  }
  std::size_t begin = 0;
  while (begin < normalized.size() && IsBlankOrControl(normalized[begin])) ++begin;
  std::size_t end = normalized.size();
  while (end > begin && IsBlankOrControl(normalized[end - 1])) --end;
  const std::string_view text = std::string_view(normalized).substr(begin, end - begin);
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

}  // namespace

RecordCheck CheckRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  std::string scratch;
  std::string normalized;
  return CheckRecordWith(reader, ignore_entries, scratch, normalized);
}

bool IsIgnoredRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries) {
  return CheckRecord(reader, ignore_entries).Result != RecordCheck::Verdict::Keep;
}

void FillRowTable(RowTable& table, std::string_view text, char delimiter, int column_count,
                  const std::vector<std::string>& ignore_entries, const RecordDropped& on_dropped) {
  table.DefineColumns(column_count);
  // The cells never hold more than the text, so one reservation covers them all.
  table.Reserve(text.size(), text.size() / 4);
  TCSVReader reader(text, delimiter);
  std::string scratch;
  std::string normalized;
  int record = 1;
  for (reader.First(); !reader.Eof(); reader.Next(), ++record) {
    const RecordCheck check = CheckRecordWith(reader, ignore_entries, scratch, normalized);
    if (check.Result != RecordCheck::Verdict::Keep) {
      if (on_dropped) on_dropped(record, check);
      continue;
    }
    table.BeginRow(record);
    const int stored = std::min(column_count, reader.FieldCount());
    for (int column = 0; column < stored; ++column)
      table.AddCell(reader.FieldView(column, scratch));
  }
}

}  // namespace zw
