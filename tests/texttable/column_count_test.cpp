#include "texttable/column_count.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

struct ColumnCase {
  std::string text;
  char delimiter;
  int columns;
};

// Both passes give every count: the one this processor takes and the portable one.
void ExpectColumns(const ColumnCase& c, const std::string& what) {
  EXPECT_EQ(CountColumns(c.text, c.delimiter), c.columns) << what;
  EXPECT_EQ(CountColumnsByWords(c.text, c.delimiter), c.columns) << what;
}

TEST(CountColumns, CountsTheWidestLine) {
  const ColumnCase cases[] = {
      // No line holds the delimiter.
      {"", '\t', 0},
      {"a;b\r\nc", '\t', 0},
      // A line break is never within a line.
      {"a\rb\r\nc", '\r', 0},
      {"a\nb\r\nc", '\n', 0},
      // The widest line of any line break style.
      {"a\tb\r\na\tb\tc\td\nx\ry\t\"q\tq\"", '\t', 4},
      {"a;b;c\r\n", ';', 3},
      {"a\tb\nc\td\n", '\t', 2},
      // A last line without a break counts.
      {"a\tb\r\n\t\t\t", '\t', 4},
      // Thirty at most, however wide a line is.
      {std::string(29, '\t'), '\t', 30},
      {std::string(28, '\t'), '\t', 29},
      {"x\r\n" + std::string(40, '\t') + "\r\n", '\t', 30},
  };
  for (const ColumnCase& c : cases) ExpectColumns(c, c.text.substr(0, 40));
}

TEST(CountColumns, FindsTheWidestLineWhereverItsBytesFall) {
  // The text is read eight or 32 bytes at a time: each case is shifted through every offset of
  // a block, so that lines, delimiters and breaks fall on every lane.
  const ColumnCase cases[] = {
      {"a\tb\tc\td\te\tf\tg\th\ti\r\n", '\t', 9},
      {"1234567\t\r\n\t\t\t", '\t', 4},
      {"1234567\r\n\t\t\t\t\t\t\t\t\t", '\t', 10},
      {"\t\t\r\n\t\r\n\t\t\t\t\n\t\r\t\t\t\t\t\r\n", '\t', 6},
      {"12345678\t\t\t\t\t\t\t\t\r\n", '\t', 9},
      {"\r\r\r\r\r\r\r\r\t\r\r\r\r\r\r\r\t\t", '\t', 3},
      {"\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n\t", '\t', 17},
      {"x\r\n" + std::string(29, '\t'), '\t', 30},
      {"x\r\n" + std::string(28, '\t') + "\r\n", '\t', 29},
      {"\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n;;\n", ';', 3},
      // Breaks right after breaks, and lines that end and begin in one block.
      {"\t\r\r\n\n\t\t\n\r\t\r\n\t\t\t\r\r\t", '\t', 4},
      {"\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n\t", '\t', 30},
  };
  for (const ColumnCase& c : cases) {
    for (std::size_t shift = 0; shift < 32; ++shift) {
      const ColumnCase shifted{std::string(shift, 'x') + c.text, c.delimiter, c.columns};
      ExpectColumns(shifted, c.text.substr(0, 20) + " shifted by " + std::to_string(shift));
    }
  }
}

TEST(CountColumns, CountsLinesLongerThanAnyBlock) {
  const ColumnCase cases[] = {
      {std::string(64 * 1024, 'x') + "\r\n" + std::string(28, '\t'), '\t', 29},
      {std::string(100'003, 'x') + "\t\t", '\t', 3},
      // A line that reaches thirty columns after a long text ends the count at thirty.
      {std::string(200'000, 'x') + "\n" + std::string(35, ';') + "\n", ';', 30},
      // Delimiters far apart in one line, each in the same lane of its block.
      {std::string(5000, 'x') + "\t" + std::string(4095, 'x') + "\t" + std::string(4095, 'x'), '\t',
       3},
  };
  for (const ColumnCase& c : cases) ExpectColumns(c, std::to_string(c.text.size()) + " bytes");
}

TEST(CountColumns, CountsMoreDelimitersInOneLaneThanAByteHolds) {
  // 256 blocks of sixteen bytes, each with its delimiter first: a count kept per lane in one
  // byte would wrap to nothing.
  std::string line;
  for (int block = 0; block < 256; ++block) line += "\t" + std::string(15, 'x');
  ExpectColumns({line, '\t', 30}, "one line");
  ExpectColumns({"a\tb\r\n" + line + "\r\n", '\t', 30}, "after a short line");
}

}  // namespace
}  // namespace zw
