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
