#include "texttable/normalize.h"

#include <gtest/gtest.h>

#include <string>

namespace zw {
namespace {

TEST(NormalizeText, RemovesTabsAndBlanksAndTrimsControlCharacters) {
  EXPECT_EQ(NormalizeText("\t(Pos)\tStk \t Breite x H\xF6he\t\t"), "(Pos)StkBreitexH\xF6he");
  EXPECT_EQ(NormalizeText("\r\n\x01Summe\x1F\r\n"), "Summe");
  EXPECT_EQ(NormalizeText(" \t \r\n "), "");
  EXPECT_EQ(NormalizeText(""), "");
}

TEST(NormalizeText, KeepsInnerControlCharactersAndHighBytes) {
  EXPECT_EQ(NormalizeText("a\r\nb"), "a\r\nb");
  // Bytes above 127 are text, not control characters, wherever they stand.
  EXPECT_EQ(NormalizeText("\xA0m\xB2 \x80\xFF"), "\xA0m\xB2\x80\xFF");
}

TEST(NormalizeText, IntoReplacesTheBufferContent) {
  std::string buffer = "old content";
  NormalizeTextInto(" a b ", buffer);
  EXPECT_EQ(buffer, "ab");
}

TEST(CountColumns, IsZeroWhenNoLineHoldsTheDelimiter) {
  EXPECT_EQ(CountColumns("", '\t'), 0);
  EXPECT_EQ(CountColumns("a;b\r\nc", '\t'), 0);
  // A line break is never within a line.
  EXPECT_EQ(CountColumns("a\rb\r\nc", '\r'), 0);
  EXPECT_EQ(CountColumns("a\nb\r\nc", '\n'), 0);
}

TEST(CountColumns, TakesTheWidestLineOfAnyLineBreakStyle) {
  EXPECT_EQ(CountColumns("a\tb\r\na\tb\tc\td\nx\ry\t\"q\tq\"", '\t'), 4);
  EXPECT_EQ(CountColumns("a;b;c\r\n", ';'), 3);
  // An LF-only text is still seen line by line.
  EXPECT_EQ(CountColumns("a\tb\nc\td\n", '\t'), 2);
}

TEST(CountColumns, StopsAtThirty) {
  EXPECT_EQ(CountColumns(std::string(29, '\t'), '\t'), 30);
  EXPECT_EQ(CountColumns("x\r\n" + std::string(40, '\t') + "\r\n", '\t'), 30);
}

TEST(CountColumns, FindsTheWidestLineWhereverItsBytesFall) {
  // The text is read eight bytes at a time: lines and breaks at every offset of a word.
  const struct {
    std::string text;
    int columns;
  } cases[] = {
      {"a\tb\tc\td\te\tf\tg\th\ti\r\n", 9},
      {"1234567\t\r\n\t\t\t", 4},
      {"1234567\r\n\t\t\t\t\t\t\t\t\t", 10},
      {"\t\t\r\n\t\r\n\t\t\t\t\n\t\r\t\t\t\t\t\r\n", 6},
      {"12345678\t\t\t\t\t\t\t\t\r\n", 9},
      {"\r\r\r\r\r\r\r\r\t\r\r\r\r\r\r\r\t\t", 3},
      {std::string(64 * 1024, 'x') + "\r\n" + std::string(28, '\t'), 29},
      {std::string(100'003, 'x') + "\t\t", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountColumns(c.text, '\t'), c.columns) << c.text.substr(0, 40);
  }
  // A line that reaches thirty columns after a long text ends the count at thirty.
  EXPECT_EQ(CountColumns(std::string(200'000, 'x') + "\n" + std::string(35, ';') + "\n", ';'), 30);
}

TEST(ContainsRequiredLine, MatchesTheHeadingRowDespiteAddedBlanksAndTabs) {
  const std::string required = NormalizeText("(Pos)\tStk\tBezeichnung\tBreite x H\xF6he");
  const std::string text =
      "Angebot 17\r\n (Pos) \tStk\t Bezeichnung\tBreite  x H\xF6he\t\t\t\r\n1\t2\tGlas\r\n";
  EXPECT_TRUE(ContainsRequiredLine(text, required));
  EXPECT_TRUE(
      ContainsRequiredLine("Angebot\n(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\tm\xB2", required));
}

TEST(ContainsRequiredLine, NeedsTheTextWithinOneLineAndExactBytes) {
  EXPECT_FALSE(ContainsRequiredLine("(Pos)\tStk\r\nBezeichnung", "(Pos)StkBezeichnung"));
  EXPECT_FALSE(ContainsRequiredLine("(Pos)\tStk\rBezeichnung", "(Pos)StkBezeichnung"));
  EXPECT_FALSE(ContainsRequiredLine("(pos)\tstk", "(Pos)Stk"));
  EXPECT_FALSE(ContainsRequiredLine("", "x"));
}

}  // namespace
}  // namespace zw
