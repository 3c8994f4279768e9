#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/ini_file.h"
#include "base/integer_text.h"
#include "base/text_lines.h"
#include "base/win1252.h"

namespace zw {
namespace {

TEST(ReadInteger, AcceptsWhatDelphiStyleIntegerFieldsAccept) {
  EXPECT_EQ(ReadInteger("50"), 50);
  EXPECT_EQ(ReadInteger("  -7"), -7);
  EXPECT_EQ(ReadInteger("+0"), 0);
  EXPECT_EQ(ReadInteger("$1F"), 31);
  EXPECT_EQ(ReadInteger("0x10"), 16);
  EXPECT_EQ(ReadInteger("2147483647"), 2147483647);
  EXPECT_EQ(ReadInteger("-2147483648"), -2147483647 - 1);
}

TEST(ReadInteger, RejectsIncompleteOrOutOfRangeTexts) {
  for (const char* text : {"", " ", "-", "$", "abc", "12 ", "1.5", "2147483648", "0x", "1e3"}) {
    EXPECT_FALSE(ReadInteger(text).has_value()) << '"' << text << '"';
  }
}

TEST(ForEachLine, SplitsAtCrLfLoneCrAndLoneLfWithoutATrailingEmptyLine) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\n\r"), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(CompareAsUpperCase, OrdersNamesAsNtfsDoes) {
  std::vector<std::string> names = {"b.txt", "_x.txt", "A.txt", "\xE4pfel.txt", "Z.txt", "a1.txt"};
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareAsUpperCase(a, b) < 0;
  });
  // Upper case puts "_" (0x5F) after the letters and the umlaut (0xC4) after ASCII.
  EXPECT_EQ(names, (std::vector<std::string>{"A.txt", "a1.txt", "b.txt", "Z.txt", "_x.txt",
                                             "\xE4pfel.txt"}));
  EXPECT_EQ(CompareAsUpperCase("demo.TXT", "DEMO.txt"), 0);
  EXPECT_EQ(CompareAsUpperCase("\xE4", "\xC4"), 0);
}

TEST(Win1252ToUtf8, ConvertsTheEuroSignAndUmlauts) {
  EXPECT_EQ(Win1252ToUtf8(" \x80"), " \xE2\x82\xAC");
  EXPECT_EQ(Win1252ToUtf8("H\xF6he m\xB2"), "H\xC3\xB6he m\xC2\xB2");
}

TEST(LowerCase1252, LowersAsciiAndWesternLettersAndNothingElse) {
  const std::vector<std::pair<unsigned char, unsigned char>> cases = {
      {'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {0xC4, 0xE4}, {0xDE, 0xFE},
      {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}, {0xD7, 0xD7},
      {0xDF, 0xDF}, {'1', '1'},   {'[', '['},   {0xB2, 0xB2}};
  for (const auto& [upper, lower] : cases) EXPECT_EQ(LowerCase1252(upper), lower) << int(upper);
}

TEST(IniFile, FindsSectionsAndKeysCaseInsensitivelyAndTrimsValues) {
  const IniFile ini("[euchar]\r\n value = EUR \r\n[Country]\r\nEuro=0\r\n");
  EXPECT_EQ(ini.ReadString("EUCHAR", "VALUE", "x"), "EUR");
  EXPECT_EQ(ini.ReadString("EUCHAR", "NULL", "x"), "x");
  EXPECT_FALSE(ini.ReadBool("COUNTRY", "EURO", true));
}

TEST(IniFile, ReadsBooleansAsIntegers) {
  const IniFile ini("[S]\nTwo=2\nWord=yes\nEmpty=\nMinus=-1\n");
  EXPECT_TRUE(ini.ReadBool("S", "Two", false));
  EXPECT_TRUE(ini.ReadBool("S", "Minus", false));
  EXPECT_FALSE(ini.ReadBool("S", "Word", false));
  EXPECT_TRUE(ini.ReadBool("S", "Word", true));
  EXPECT_TRUE(ini.ReadBool("S", "Empty", true));
  EXPECT_FALSE(ini.ReadBool("S", "Missing", false));
}

TEST(IniFile, QuotesKeepBlanksAndTheFirstKeyWins) {
  const IniFile ini("[CH-CHAR]\nVALUE=\" Fr.\"\nVALUE=other\n; comment=1\n");
  EXPECT_EQ(ini.ReadString("CH-CHAR", "VALUE", ""), " Fr.");
  EXPECT_EQ(ini.ReadString("CH-CHAR", "; comment", "none"), "none");
}

}  // namespace
}  // namespace zw
