// Long texts with placeholders over arbitrary cells: the text never passes its limit, a text
// without placeholders comes back unchanged, and continuation rows are recognised without a
// crash for any description column name.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "mapping/row_mapping.h"
#include "texttable/row_table.h"

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
    try {
      const std::string text = pattern.Expand(table, limit);
      FUZZ_CHECK(text.size() <= limit);
      if (pattern_text.find('[') == std::string::npos) FUZZ_CHECK(text == pattern_text);
      FUZZ_CHECK(text == zw::ExpandLongText(table, pattern_text) || text.empty());
    } catch (const zw::LongTextTooLargeError&) {
    }
    const auto continuation = zw::IsContinuationRow(description_column, table);
    if (continuation) FUZZ_CHECK(continuation->size() <= zw::RowTable::kMaxCellLength);
  }
  return 0;
}
