#include "texttable/table_room.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

template <ByteBlocks kBlocks>
void ExpectRoom(const std::string& text, char delimiter, int columns, std::size_t rows,
                std::size_t cells) {
  const TableRoom room = CountTableRoom<kBlocks>(text, 0, delimiter, columns, 1000);
  EXPECT_EQ(room.End, text.size()) << text;
  EXPECT_EQ(room.Rows, rows) << text;
  EXPECT_EQ(room.Cells, cells) << text;
}

TEST(CountTableRoom, HoldsTheRowsAndCellsOfEveryRecord) {
  struct Case {
    std::string Text;
    char Delimiter;
    int Columns;
    std::size_t Rows;   // one for each CR and one after the last
    std::size_t Cells;  // one for each delimiter and row, at most the columns of each row, and
                        // those of one row more for a record that the count may stop in
  };
  const std::string long_line = std::string(70, 'x') + "\t" + std::string(70, 'y');
  const Case cases[] = {
      {"", '\t', 2, 1, 2},
      {"a\tb\r\nc\td\r\n", '\t', 2, 3, 6},
      // A quoted CR or delimiter takes room although it ends nothing.
      {"\"a\r\tb\"\tc", '\t', 3, 2, 6},
      // Fields beyond the columns take none.
      {"a\tb\tc\td\te", '\t', 2, 1, 2},
      {"a;b\nc;d\n", ';', 2, 1, 2},
      {long_line + "\r\n" + long_line + "\r\n" + long_line, '\t', 2, 3, 6},
  };
  for (const Case& c : cases) {
    ExpectRoom<kNativeBlocks>(c.Text, c.Delimiter, c.Columns, c.Rows, c.Cells);
    ExpectRoom<ByteBlocks::Words>(c.Text, c.Delimiter, c.Columns, c.Rows, c.Cells);
  }
}

TEST(CountTableRoom, CountsAFewThousandBytesBeyondTheRowsAskedFor) {
  // A text that is refused after its first rows is not read in full for the room of its table;
  // the rest is counted from where the count stopped.
  std::string text;
  for (int row = 0; row < 100'000; ++row) text += "1\t2\r\n";
  const TableRoom first = CountTableRoom<kNativeBlocks>(text, 0, '\t', 2, 1000);
  EXPECT_GE(first.Rows, 1000u);
  EXPECT_LT(first.End, 1000 * 5 + 8192);
  const TableRoom rest = CountTableRoom<kNativeBlocks>(text, first.End, '\t', 2, text.size());
  EXPECT_EQ(rest.End, text.size());
  EXPECT_EQ(first.Rows - 1 + rest.Rows, 100'001u);
}

}  // namespace
}  // namespace zw
