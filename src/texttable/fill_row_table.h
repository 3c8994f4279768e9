#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "texttable/UFastCSV.h"
#include "texttable/row_table.h"

namespace zw {

// Why a record of the text is kept out of the table.
struct RecordCheck {
  // NoFields: an empty line (also the one after the text's final line break);
  // Empty: fields of blanks and tabs only; Ignored: an ignore entry matched.
  enum class Verdict { Keep, NoFields, Empty, Ignored };
  Verdict Result = Verdict::Keep;
  std::size_t Entry = 0;  // index into the ignore entries when Ignored
};

// Joins the current record's fields, normalises them and drops the record when the result
// is empty or equals or contains one of the normalised ignore entries (first match wins).
RecordCheck CheckRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries);
bool IsIgnoredRecord(const TCSVReader& reader, const std::vector<std::string>& ignore_entries);

// Called for each dropped record with its 1-based number.
using RecordDropped = std::function<void(int record, const RecordCheck& check)>;

// Called once a row has all its cells; it may stop the filling by throwing.
using RowAdded = std::function<void(RowTable& table)>;

// The rows whose room is counted ahead before a table fills: a caller that refuses a text of
// more rows (the template loop, above its line limit) never needs more, and a text it refuses
// is not read in full for the count. A larger table counts the rest once it gets there.
constexpr std::size_t kRowsCountedAhead = 200'001;

// Defines the table's columns and appends one row per record that is not dropped.
void FillRowTable(RowTable& table, std::string_view text, char delimiter, int column_count,
                  const std::vector<std::string>& ignore_entries,
                  const RecordDropped& on_dropped = {}, const RowAdded& on_row = {});

}  // namespace zw
