#include "texttable/fill_row_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/demo_data.h"
#include "texttable/column_count.h"
#include "texttable/normalize.h"
#include "texttable/row_table.h"

namespace zw {
namespace {

using Verdict = RecordCheck::Verdict;

struct Row {
  int Record;
  std::vector<std::string> Cells;
  bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(RowTable& table) {
  std::vector<Row> rows;
  for (table.First(); !table.Eof(); table.Next()) {
    Row& row = rows.emplace_back(Row{table.SourceRecord(), {}});
    for (int column = 0; column < table.ColumnCount(); ++column) {
      row.Cells.emplace_back(table.Cell(column));
    }
  }
  return rows;
}

struct Drop {
  int Record;
  Verdict Result;
  std::size_t Entry;
  bool operator==(const Drop&) const = default;
};

struct Filled {
  std::vector<Row> Rows;
  std::vector<Drop> Drops;
};

Filled Fill(std::string_view text, int columns, const std::vector<std::string>& ignore = {},
            char delimiter = '\t') {
  RowTable table;
  Filled filled;
  FillRowTable(table, text, delimiter, columns, ignore, [&](int record, const RecordCheck& c) {
    filled.Drops.push_back({record, c.Result, c.Entry});
  });
  filled.Rows = RowsOf(table);
  return filled;
}

TEST(FillRowTable, RunsTheDemoCalculation) {
  const std::string text = test::DemoCalculation();
  std::vector<std::string> ignore;
  for (const char* entry :
       {"(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF",
        "\t\t\tRechnungsbetrag in CHF", "\tStd\tBezeichnung\t\t\t\t\tCHF/Std\tTotal/CHF",
        "+8% MwSt.", "Summe"}) {
    ignore.push_back(NormalizeText(entry));
  }
  ASSERT_EQ(CountColumns(text, '\t'), 9);

  const Filled filled = Fill(text, 9, ignore);

  const std::vector<Row> expected = {
      {3, {"(1,)", "2", "Float 3mm", "500", "400", "0,40", "76,00", "15,20", "30,40"}},
      {4, {"(2,)", "", " Floate 3mm", "", "", "0,00", "76,00", "0,00", "0,00"}},
      {5, {"(3,)", "", "Float 3mm", "", "", "0,00", "76,00", "0,00", "0,00"}},
      {7, {"", "1", "Kitt und Kleinmaterial", "", "", "0,40", "15,00", "", "6,00"}},
      {8, {"", "1", "Glasentsorgung", "", "", "0,40", "7,50", "", "3,00"}},
      {11, {"", "", "  T\xFCre / Fenster..", "", "", "", "", "80,00", "0,00"}},
  };
  EXPECT_EQ(filled.Rows, expected);
  // The final line break yields record 17, which has no fields.
  const std::vector<Drop> drops = {
      {1, Verdict::Ignored, 0},  {2, Verdict::Empty, 0},    {6, Verdict::Empty, 0},
      {9, Verdict::Empty, 0},    {10, Verdict::Ignored, 2}, {12, Verdict::Empty, 0},
      {13, Verdict::Ignored, 4}, {14, Verdict::Ignored, 3}, {15, Verdict::Empty, 0},
      {16, Verdict::Ignored, 1}, {17, Verdict::NoFields, 0}};
  EXPECT_EQ(filled.Drops, drops);
}

TEST(FillRowTable, CutsWideRowsAndFillsShortOnesWithEmptyCells) {
  std::string wide;
  for (int k = 1; k <= 41; ++k) wide += "c" + std::to_string(k) + (k < 41 ? "\t" : "");
  const std::string text = wide + "\r\nonly\ttwo\r\n";
  ASSERT_EQ(CountColumns(text, '\t'), 30);
  const Filled filled = Fill(text, 30);
  ASSERT_EQ(filled.Rows.size(), 2u);
  ASSERT_EQ(filled.Rows[0].Cells.size(), 30u);
  EXPECT_EQ(filled.Rows[0].Cells[29], "c30");
  EXPECT_EQ(filled.Rows[1].Cells[1], "two");
  EXPECT_EQ(filled.Rows[1].Cells[2], "");
  EXPECT_EQ(filled.Rows[1].Cells[29], "");
}

TEST(FillRowTable, KeepsTheLastLineWithoutLineBreakAndCutsLongCells) {
  const std::string long_text(130, 'x');
  const Filled filled = Fill("a\tb\r\n" + long_text + "\tz", 2);
  const std::vector<Row> expected = {{1, {"a", "b"}}, {2, {std::string(100, 'x'), "z"}}};
  EXPECT_EQ(filled.Rows, expected);
  EXPECT_TRUE(filled.Drops.empty());
}

TEST(FillRowTable, NeverKeepsEmptyLinesOrLinesOfBlanksAndTabs) {
  const Filled filled = Fill("a\tb\r\n\r\n\t\t\r\n \t  \t \r\n\"\"\t\" \"\r\nc\td", 2);
  const std::vector<Row> expected = {{1, {"a", "b"}}, {6, {"c", "d"}}};
  EXPECT_EQ(filled.Rows, expected);
  const std::vector<Drop> drops = {{2, Verdict::NoFields, 0},
                                   {3, Verdict::Empty, 0},
                                   {4, Verdict::Empty, 0},
                                   {5, Verdict::Empty, 0}};
  EXPECT_EQ(filled.Drops, drops);
}

TEST(FillRowTable, TakesARowOfOtherDelimitersOnlyAsEmptyWithOrWithoutIgnoreEntries) {
  const std::string text = ";\r\n; ;\x01\r\n\";\";\r\nx;;\r\n";
  for (const std::vector<std::string>& ignore :
       {std::vector<std::string>{}, std::vector<std::string>{"Summe"}}) {
    const Filled filled = Fill(text, 3, ignore, ';');
    EXPECT_EQ(filled.Rows, (std::vector<Row>{{3, {";", "", ""}}, {4, {"x", "", ""}}}));
    const std::vector<Drop> drops = {
        {1, Verdict::Empty, 0}, {2, Verdict::Empty, 0}, {5, Verdict::NoFields, 0}};
    EXPECT_EQ(filled.Drops, drops);
  }
}

TEST(FillRowTable, TakesAnLfOnlyTextAsOneRow) {
  const std::string text = "a\tb\nc\td\n";
  EXPECT_EQ(CountColumns(text, '\t'), 2);
  EXPECT_TRUE(ContainsRequiredLine(text, "cd"));
  const std::vector<Row> expected = {{1, {"a", "b\nc"}}};
  EXPECT_EQ(Fill(text, 2).Rows, expected);
}

TEST(FillRowTable, StoresUnquotedValuesOfQuotedFields) {
  const std::vector<Row> expected = {{1, {"1", "Glas\t4mm\r\n\"klar\"", "x"}}, {2, {"2", "", ""}}};
  EXPECT_EQ(Fill("1\t\"Glas\t4mm\r\n\"\"klar\"\"\"\tx\r\n2\r\n", 3).Rows, expected);
  // An unclosed quote loses its record and everything after it.
  EXPECT_EQ(Fill("1\ta\r\n2\t\"b\r\n3\tc\r\n", 2).Rows, (std::vector<Row>{{1, {"1", "a"}}}));
}

TEST(FillRowTable, DropsRowsThatContainAnIgnoreEntryAnywhere) {
  const std::vector<std::string> ignore = {NormalizeText("Summe"),
                                           NormalizeText("Glas entsorgung")};
  const Filled filled = Fill(
      "Summe\t\r\n1\tZwischen-Summe netto\r\n2\tSum me\r\n3\tAltglasentsorgung\r\n"
      "4\tGlasentsorgung inkl. Summe\r\n5\tGlas\r\n",
      2, ignore);
  // Blanks inside a cell vanish before the comparison, so "Sum me" matches too; the comparison
  // is case-sensitive, and the first entry in list order wins.
  EXPECT_EQ(filled.Rows, (std::vector<Row>{{4, {"3", "Altglasentsorgung"}}, {6, {"5", "Glas"}}}));
  const std::vector<Drop> drops = {{1, Verdict::Ignored, 0},
                                   {2, Verdict::Ignored, 0},
                                   {3, Verdict::Ignored, 0},
                                   {5, Verdict::Ignored, 0},
                                   {7, Verdict::NoFields, 0}};
  EXPECT_EQ(filled.Drops, drops);
}

TEST(FillRowTable, KeepsTheOtherDelimiterInsideIgnoreEntries) {
  const std::vector<std::string> ignore = {NormalizeText("Summe;39")};
  const Filled filled = Fill("Summe;39\r\n\"Summe;39\";x\r\n", 2, ignore, ';');
  EXPECT_EQ(filled.Rows, (std::vector<Row>{{1, {"Summe", "39"}}}));
}

TEST(FillRowTable, IgnoresEntriesThatNormaliseToNothing) {
  const std::vector<std::string> ignore = {NormalizeText(" \t ")};
  EXPECT_EQ(Fill("a\tb", 2, ignore).Rows, (std::vector<Row>{{1, {"a", "b"}}}));
}

TEST(FillRowTable, KeepsQuotedAndPlainRecordsInTheirOrderWhateverTheirWidth) {
  std::string wide;
  for (int k = 0; k < 40; ++k) wide += "w" + std::to_string(k) + "\t";
  const std::string text =
      "a\t\"b\"\"c\"\r\n" + wide + "end\r\n\"q\r\nq\"\tx\ty\tz\r\n\t\r\n" + "d\te\r\n\"\t\"\r\nf";
  const Filled filled = Fill(text, 3, {"w39"});
  const std::vector<Row> expected = {
      {1, {"a", "b\"c", ""}}, {3, {"q\r\nq", "x", "y"}}, {5, {"d", "e", ""}}, {7, {"f", "", ""}}};
  EXPECT_EQ(filled.Rows, expected);
  // A quoted tab is a value, but one that normalises to nothing.
  const std::vector<Drop> drops = {
      {2, Verdict::Ignored, 0}, {4, Verdict::Empty, 0}, {6, Verdict::Empty, 0}};
  EXPECT_EQ(filled.Drops, drops);
}

TEST(FillRowTable, EndsTheTableAtANul) {
  const std::string text = std::string("a\tb\r\nc\td") + '\0' + "e\r\nf\tg\r\n";
  EXPECT_EQ(Fill(text, 2).Rows, (std::vector<Row>{{1, {"a", "b"}}}));
}

TEST(FillRowTable, KeepsMoreRowsThanTheRoomCountedAhead) {
  // Room is counted ahead for the rows of a little over 200,000 records; a table of more rows
  // counts the rest and keeps all of them.
  constexpr int kRows = 200'123;
  std::string text;
  for (int row = 1; row <= kRows; ++row) text += std::to_string(row) + "\tx\r\n";
  RowTable table;
  FillRowTable(table, text, '\t', 2, {});
  ASSERT_EQ(table.RowCount(), static_cast<std::size_t>(kRows));
  table.GoTo(kRows - 1);
  EXPECT_EQ(table.SourceRecord(), kRows);
  EXPECT_EQ(table.Cell(0), std::to_string(kRows));
  EXPECT_EQ(table.Cell(1), "x");
}

TEST(FillRowTable, FindsIgnoreEntriesWhoseBytesAreRareOrCommonAnywhereInTheText) {
  // Records are checked for an entry only where they hold a byte of it that is rare in the
  // start of the text: the entries must be found far behind that start, and also when their
  // bytes are common or when so many entries need so many rare bytes that all are checked.
  const std::string filler_row = "1\tFloat 3mm klar, Position 7\t0,40\r\n";
  std::string filler;
  while (filler.size() < 200'000) filler += filler_row;
  const std::vector<std::string> many = {"A1", "B2", "C3", "D4", "E5", "F6", "G7", "H8", "I9"};
  struct Case {
    std::vector<std::string> Entries;
    std::string Row;
    std::size_t Entry;
  };
  const Case cases[] = {
      {{"Summe", "MwSt."}, "\tSum me\t39,40", 0},
      {{"Summe", "MwSt."}, "+8%\tMwSt.\t3,15", 1},
      {{"3mmklar,Position7"}, "1\tFloat 3mm klar, Position 7\t0,40", 0},
      {many, "x\tI9\ty", 8},
      {many, "E5\tA1", 0},
  };
  for (const Case& c : cases) {
    const std::string text = filler + c.Row + "\r\n" + filler_row;
    const Filled filled = Fill(text, 3, c.Entries);
    const int record = static_cast<int>(filler.size() / filler_row.size()) + 1;
    bool dropped = false;
    for (const Drop& drop : filled.Drops) {
      dropped |= drop == Drop{record, Verdict::Ignored, c.Entry};
    }
    EXPECT_TRUE(dropped) << c.Row;
  }
}

TEST(CheckRecord, JudgesTheReadersCurrentRecord) {
  TCSVReader reader("x\t\"Sum\"\"me\"\r\n\tSum\tme\r\n \t", '\t');
  const std::vector<std::string> ignore = {"Sum\"me", "Summe"};
  reader.First();
  EXPECT_EQ(CheckRecord(reader, ignore).Result, Verdict::Ignored);
  EXPECT_EQ(CheckRecord(reader, ignore).Entry, 0u);
  reader.Next();
  EXPECT_EQ(CheckRecord(reader, ignore).Entry, 1u);
  EXPECT_TRUE(IsIgnoredRecord(reader, ignore));
  EXPECT_FALSE(IsIgnoredRecord(reader, {"Summen"}));
  reader.Next();
  EXPECT_EQ(CheckRecord(reader, {}).Result, Verdict::Empty);
}

TEST(CheckRecord, FindsAnEntryInTheRecordWithItsTabsBlanksAndDelimitersLeftOut) {
  struct Case {
    const char* Record;
    const char* Entry;
    Verdict Expected;
  };
  const Case cases[] = {
      {"SuSumme", "Summe", Verdict::Ignored},  // a match after a partial one
      {"x\tS u\tm m\te", "Summe", Verdict::Ignored},
      {"Sum\tm", "Summe", Verdict::Keep},  // the record ends inside the entry
      {"Summ", "Summe", Verdict::Keep},
      {"a\001b\tc", "a\001b", Verdict::Ignored},  // other control bytes stay
      {"Sum\x01me", "Summe", Verdict::Keep},
      {"\x01Summe\x01", "Summe", Verdict::Ignored},
      {";Summe;", "Summe", Verdict::Ignored},
      {"Summe\tx", "e\x01", Verdict::Keep},
  };
  for (const Case& c : cases) {
    TCSVReader reader(c.Record, '\t');
    reader.First();
    EXPECT_EQ(CheckRecord(reader, {c.Entry}).Result, c.Expected) << c.Record;
  }
}

}  // namespace
}  // namespace zw
