#include "texttable/UFastCSV.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"

namespace zw {
namespace {

using Record = std::vector<std::string>;

// Every record up to the end of the data, each as its field values, read with the given
// number of bytes at once.
std::vector<Record> ReadAllBy(ByteBlocks blocks, std::string_view text, char delimiter) {
  TCSVReader reader(text, delimiter, blocks);
  std::vector<Record> records;
  for (reader.First(); !reader.Eof(); reader.Next()) {
    Record& record = records.emplace_back();
    for (int k = 0; k < reader.FieldCount(); ++k) record.push_back(reader.Fields(k));
  }
  return records;
}

// The same records whether the reader compares eight bytes at once or as many as this
// processor does.
std::vector<Record> ReadAll(std::string_view text, char delimiter = '\t') {
  const std::vector<Record> records = ReadAllBy(kNativeBlocks, text, delimiter);
  EXPECT_EQ(ReadAllBy(ByteBlocks::Words, text, delimiter), records) << text;
  return records;
}

TEST(TCSVReader, SplitsRecordsAtCrLfAndFieldsAtTheDelimiter) {
  // The line break at the end leaves one record without fields before the end.
  EXPECT_EQ(ReadAll("a\tb\r\n\t c \r\n"), (std::vector<Record>{{"a", "b"}, {"", " c "}, {}}));
  EXPECT_EQ(ReadAll("a;b\r\n\r\nc", ';'), (std::vector<Record>{{"a", "b"}, {}, {"c"}}));
  EXPECT_EQ(ReadAll(""), (std::vector<Record>{{}}));
}

TEST(TCSVReader, KeepsEveryCharacterAfterALoneCr) {
  EXPECT_EQ(ReadAll("ab\tcd\rxy\tz\rq"), (std::vector<Record>{{"ab", "cd"}, {"xy", "z"}, {"q"}}));
  EXPECT_EQ(ReadAll("a\r\rb\r\nc"), (std::vector<Record>{{"a"}, {}, {"b"}, {"c"}}));
}

TEST(TCSVReader, TakesAnLfOnlyTextAsOneRecord) {
  EXPECT_EQ(ReadAll("a\tb\nc\td\n"), (std::vector<Record>{{"a", "b\nc", "d\n"}}));
}

TEST(TCSVReader, UnquotesQuotedFields) {
  EXPECT_EQ(ReadAll("\"a\"\"b\"\t\"\"\t\"\"\"\"\"\"\tx\"y\""),
            (std::vector<Record>{{"a\"b", "", "\"\"", "x\"y\""}}));
  // Delimiters and line breaks inside quotes belong to the field, also right after a pair.
  EXPECT_EQ(ReadAll("\"5\"\"\t7\"\"\"\tx"), (std::vector<Record>{{"5\"\t7\"", "x"}}));
  EXPECT_EQ(ReadAll("1\t\"Glas\t4mm\r\nklar\"\t2\r\n3"),
            (std::vector<Record>{{"1", "Glas\t4mm\r\nklar", "2"}, {"3"}}));
  // Only the last character of the field goes, not what follows the closing quote.
  EXPECT_EQ(ReadAll("\"ab\"xy\tz"), (std::vector<Record>{{"ab\"x", "z"}}));
}

TEST(TCSVReader, EndsTheDataAtAnUnclosedQuote) {
  EXPECT_EQ(ReadAll("a\tb\r\nc\t\"d\te\r\nf\tg\r\n"), (std::vector<Record>{{"a", "b"}}));
  EXPECT_EQ(ReadAll("\"open"), (std::vector<Record>{}));
}

TEST(TCSVReader, ReadsTheSameRecordsWhereverTheirBytesFall) {
  // The text is read in blocks of bytes: each case is shifted through every offset of a block,
  // so that delimiters, quotes, line ends and NULs fall on every lane and across blocks.
  struct Case {
    std::string Text;
    char Delimiter;
    std::vector<Record> Records;
  };
  const std::string long_field(40, 'x');
  const Case cases[] = {
      {"a\tb\tc\r\nd\t\te\r\n", '\t', {{"a", "b", "c"}, {"d", "", "e"}, {}}},
      {"1\t\"q\tq\r\n\"\"x\"\t2\r\n3", '\t', {{"1", "q\tq\r\n\"x", "2"}, {"3"}}},
      {"a;\"b\";\"\"\r\"c\"\rd", ';', {{"a", "b", ""}, {"c"}, {"d"}}},
      {long_field + "\t" + long_field + "\r\n\t", '\t', {{long_field, long_field}, {"", ""}}},
      {"a\tb\r\nc" + std::string(1, '\0') + "d\r\ne", '\t', {{"a", "b"}}},
      {"a\tb\t" + std::string(1, '\0'), '\t', {}},
      {"x\t\"open\r\ny\tz", '\t', {}},
      {"\r\r\n\n\r", ',', {{}, {}, {"\n"}, {}}},
  };
  for (const Case& c : cases) {
    for (std::size_t shift = 0; shift < 40; ++shift) {
      // A first line of its own moves the others; it is one record more.
      const std::string text = std::string(shift, '-') + "\r\n" + c.Text;
      std::vector<Record> expected{{std::string(shift, '-')}};
      if (shift == 0) expected.front() = {};
      expected.insert(expected.end(), c.Records.begin(), c.Records.end());
      EXPECT_EQ(ReadAll(text, c.Delimiter), expected) << c.Text << " shifted by " << shift;
    }
  }
}

TEST(TCSVReader, GrowsBeyondAHundredFields) {
  std::string wide;
  for (int k = 0; k < 150; ++k) wide += "f" + std::to_string(k) + "\t";
  const std::string text = "x\r\n" + wide + "end\r\ny\tz";
  TCSVReader reader(text, '\t');
  reader.First();
  reader.Next();
  ASSERT_EQ(reader.FieldCount(), 151);
  EXPECT_EQ(reader.Fields(99), "f99");
  EXPECT_EQ(reader.Fields(149), "f149");
  EXPECT_EQ(reader.Fields(150), "end");
  reader.Next();
  ASSERT_EQ(reader.FieldCount(), 2);
  EXPECT_EQ(reader.Fields(1), "z");
  EXPECT_EQ(reader.Fields(2), "");
  EXPECT_EQ(reader.Fields(100), "");
}

TEST(TCSVReader, ReportsTheEndOnceThenFails) {
  TCSVReader reader("a\tb", '\t');
  reader.First();
  EXPECT_FALSE(reader.Eof());
  reader.Next();
  EXPECT_TRUE(reader.Eof());
  EXPECT_EQ(reader.FieldCount(), 0);
  try {
    reader.Next();
    FAIL() << "reading past the end must fail";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Try to read past eof");
  }
  // First starts over after the end.
  reader.First();
  ASSERT_FALSE(reader.Eof());
  EXPECT_EQ(reader.Fields(1), "b");
}

}  // namespace
}  // namespace zw
