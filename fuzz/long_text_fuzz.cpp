// Long texts with placeholders over arbitrary cells: the text is the one a plain series of
// replace-all calls gives, it never passes its limit, a text without placeholders comes back
// unchanged, and continuation rows are recognised without a crash for any description column
// name.
#include <fuzzer/FuzzedDataProvider.h>

#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "mapping/row_mapping.h"
#include "texttable/row_table.h"

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The long text as the rules state it, the slow way: the names between "[" and "]" (a second
// "[" is skipped), each "[name]" in turn replaced everywhere in the text so far. None when a
// step's text passes the limit.
std::optional<std::string> SeriesOfReplacements(const zw::RowTable& table, std::string_view text,
                                                std::size_t limit) {
  std::vector<std::string> names;
  std::string name;
  bool in_name = false;
  for (const char c : text) {
    if (!in_name) {
      in_name = c == '[';
    } else if (c == ']') {
      names.push_back(name);
      name.clear();
      in_name = false;
    } else if (c != '[') {
      name.push_back(c);
    }
  }
  std::vector<int> columns;
  for (const std::string& each : names) {
    const auto column = table.FindColumn(each);
    if (!column) return std::string();
    columns.push_back(*column);
  }
  for (const int column : columns) {
    if (table.Cell(column).empty()) return std::string();
  }
  std::string current(text);
  if (current.size() > limit) return std::nullopt;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string placeholder = "[" + names[i] + "]";
    const std::string_view cell = table.Cell(columns[i]);
    std::string next;
    std::size_t pos = 0;
    while (pos < current.size()) {
      if (SameIgnoringCase(std::string_view(current).substr(pos, placeholder.size()),
                           placeholder)) {
        next += cell;
        pos += placeholder.size();
      } else {
        next += current[pos++];
      }
      if (next.size() > limit) return std::nullopt;
    }
    current.swap(next);
  }
  return current;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int column_count = input.ConsumeIntegralInRange(1, zw::RowTable::kMaxColumns);
  const auto limit = input.ConsumeIntegralInRange<std::size_t>(0, 1 << 20);
  const std::string description_column = input.ConsumeRandomLengthString(3);
  const std::string pattern_text = input.ConsumeRandomLengthString(300);
  zw::RowTable table;
  table.DefineColumns(column_count);
  const int rows = input.ConsumeIntegralInRange(1, 3);
  for (int row = 1; row <= rows; ++row) {
    table.BeginRow(row);
    for (int column = 0; column < column_count && input.remaining_bytes() > 0; ++column) {
      table.AddCell(input.ConsumeRandomLengthString(120));
    }
  }

  table.First();
  const zw::LongTextPattern pattern(pattern_text, table);
  for (; !table.Eof(); table.Next()) {
    const std::optional<std::string> expected = SeriesOfReplacements(table, pattern_text, limit);
    try {
      const std::string text = pattern.Expand(table, limit);
      FUZZ_CHECK(expected && text == *expected);
      FUZZ_CHECK(text.size() <= limit);
      if (pattern_text.find('[') == std::string::npos) FUZZ_CHECK(text == pattern_text);
      FUZZ_CHECK(text == zw::ExpandLongText(table, pattern_text) || text.empty());
    } catch (const zw::LongTextTooLargeError&) {
      FUZZ_CHECK(!expected);
    }
    const auto continuation = zw::IsContinuationRow(description_column, table);
    if (continuation) FUZZ_CHECK(continuation->size() <= zw::RowTable::kMaxCellLength);
  }
  return 0;
}
