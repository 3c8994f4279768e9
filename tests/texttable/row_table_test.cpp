#include "texttable/row_table.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

TEST(ColumnOfName, NamesThirtyColumnsByOneCharacterEach) {
  EXPECT_EQ(ColumnOfName("A", 30), 0);
  EXPECT_EQ(ColumnOfName("a", 30), 0);
  EXPECT_EQ(ColumnOfName("Z", 30), 25);
  EXPECT_EQ(ColumnOfName("z", 30), 25);
  EXPECT_EQ(ColumnOfName("[", 30), 26);
  EXPECT_EQ(ColumnOfName("\\", 30), 27);
  EXPECT_EQ(ColumnOfName("]", 30), 28);
  EXPECT_EQ(ColumnOfName("^", 30), 29);
  for (int column = 0; column < 30; ++column) {
    EXPECT_EQ(ColumnOfName(std::string(1, ColumnName(column)), 30), column);
  }
}

TEST(ColumnOfName, FindsNothingForOtherNames) {
  EXPECT_EQ(ColumnOfName("J", 9), std::nullopt);
  EXPECT_EQ(ColumnOfName("I", 9), 8);
  EXPECT_EQ(ColumnOfName("_", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName("{", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName("@", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName("\xC4", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName("", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName("AB", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName(" B", 30), std::nullopt);
  EXPECT_EQ(ColumnOfName("B ", 30), std::nullopt);
}

TEST(RowTable, KeepsRowsInOrderBehindACursor) {
  RowTable table;
  table.DefineColumns(3);
  EXPECT_TRUE(table.IsEmpty());
  table.BeginRow(2);
  table.AddCell("a");
  table.AddCell("");
  table.AddCell("c");
  table.AddCell("beyond the columns");
  table.BeginRow(5);
  table.AddCell(std::string(101, 'x'));
  EXPECT_FALSE(table.IsEmpty());

  table.First();
  EXPECT_EQ(table.SourceRecord(), 2);
  EXPECT_EQ(table.RowText(), "ac");
  EXPECT_EQ(table.Cell(2), "c");
  EXPECT_EQ(table.Cell(3), "");
  EXPECT_EQ(table.FindColumn("c"), 2);
  EXPECT_EQ(table.FindColumn("D"), std::nullopt);
  table.Next();
  EXPECT_FALSE(table.Eof());
  EXPECT_EQ(table.SourceRecord(), 5);
  EXPECT_EQ(table.Cell(0), std::string(100, 'x'));
  EXPECT_EQ(table.Cell(1), "");
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.Cell(0), "");

  table.DefineColumns(1);
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.Eof());
}

TEST(RowTable, KeepsCellsOfTheViewedTextAsSlicesAndCopiesOthers) {
  const std::string text = "a\t" + std::string(120, 'y') + "\tq";
  RowTable table;
  table.DefineColumns(3);
  table.ViewText(text);
  table.BeginRow(1);
  table.AddCell(std::string_view(text).substr(0, 1));
  table.AddCell(std::string_view(text).substr(2, 120));
  const std::string unquoted = "q\"q";
  table.AddCell(unquoted);
  table.First();
  EXPECT_EQ(table.Cell(0).data(), text.data());
  EXPECT_EQ(table.Cell(1), std::string(100, 'y'));
  EXPECT_EQ(table.Cell(1).data(), text.data() + 2);
  EXPECT_EQ(table.Cell(2), "q\"q");
  EXPECT_NE(table.Cell(2).data(), unquoted.data());
  EXPECT_EQ(table.RowTextLength(), 1u + 100u + 3u);
  EXPECT_EQ(table.RowText(), "a" + std::string(100, 'y') + "q\"q");

  // A new definition forgets the text: its cells are copied again.
  table.DefineColumns(1);
  table.BeginRow(1);
  table.AddCell(std::string_view(text).substr(0, 1));
  table.First();
  EXPECT_EQ(table.Cell(0), "a");
  EXPECT_NE(table.Cell(0).data(), text.data());
}

TEST(RowTable, KeepsTheFieldsOfASliceSinkAsTheCellsAddCellWouldGive) {
  const std::string text = "a\t" + std::string(120, 'y') + "\t\tz\tbeyond";
  RowTable table;
  table.DefineColumns(4);
  table.ViewText(text);
  // A sink that is not kept leaves nothing in the table.
  RowTable::SliceSink dropped = table.OpenSlices();
  dropped.Put(0, 1);
  RowTable::SliceSink cells = table.OpenSlices();
  std::size_t start = 0;
  for (std::size_t end = text.find('\t');; end = text.find('\t', start)) {
    cells.Put(start, end == std::string::npos ? text.size() : end);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  EXPECT_EQ(cells.Cells(), 4u);
  table.KeepSlices(cells, 7);
  ASSERT_EQ(table.RowCount(), 1u);
  table.First();
  EXPECT_EQ(table.SourceRecord(), 7);
  EXPECT_EQ(table.Cell(0), "a");
  EXPECT_EQ(table.Cell(1), std::string(100, 'y'));
  EXPECT_EQ(table.Cell(2), "");
  EXPECT_EQ(table.Cell(3), "z");
  EXPECT_EQ(table.RowText(), "a" + std::string(100, 'y') + "z");

  RowTable::SliceSink outside = table.OpenSlices();
  outside.Put(text.size(), text.size() + 1);
  EXPECT_THROW(table.KeepSlices(outside, 8), std::logic_error);
  EXPECT_EQ(table.RowCount(), 1u);
}

}  // namespace
}  // namespace zw
