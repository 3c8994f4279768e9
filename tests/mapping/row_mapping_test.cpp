#include "mapping/row_mapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/number_text.h"

namespace zw {
namespace {

using Row = std::vector<std::string>;

// A table of the given width holding the rows, positioned on the first one.
RowTable MakeTable(int columns, const std::vector<Row>& rows) {
  RowTable table;
  table.DefineColumns(columns);
  int record = 0;
  for (const Row& row : rows) {
    table.BeginRow(++record);
    for (const std::string& cell : row) table.AddCell(cell);
  }
  table.First();
  return table;
}

// The rule lines of the shipped demo template that row mapping reads.
TemplateRules DemoRules() {
  return TemplateRules({"Quantity=B", "Description1=C", "Price=H",
                        "LongText=Masse in mm: [D] X [E] = [F] m\xB2", "TotalRow=I"});
}

// Rows 3, 7 and 11 of the demo calculation.
const Row kGlassRow = {"(1,)", "2", "Float 3mm", "500", "400", "0,40", "76,00", "15,20", "30,40"};
const Row kPuttyRow = {"", "1", "Kitt und Kleinmaterial", "", "", "0,40", "15,00", "", "6,00"};
const Row kHoursRow = {"", "", "  T\xFCre / Fenster..", "", "", "", "", "80,00", "0,00"};

// Amounts of a one-row table with the columns A (quantity), B (price) and C (total).
Amounts AmountsOf(const Row& row, bool with_total = true) {
  std::vector<std::string> lines = {"Quantity=A", "Price=B"};
  if (with_total) lines.push_back("TotalRow=C");
  return ComputeAmounts(TemplateRules(lines), MakeTable(3, {row}), ',');
}

TEST(RowMappingTest, WorkedExampleRows) {
  const TemplateRules rules = DemoRules();
  RowTable table = MakeTable(9, {kGlassRow, kPuttyRow});

  const Amounts glass = ComputeAmounts(rules, table, ',');
  EXPECT_EQ(FormatNumber(glass.Quantity, ','), "2");
  EXPECT_EQ(FormatNumber(glass.Price, ','), "15,2");
  EXPECT_DOUBLE_EQ(glass.Total, 30.4);
  EXPECT_EQ(ExpandLongText(table, rules.Value("LongText")), "Masse in mm: 500 X 400 = 0,40 m\xB2");

  table.Next();
  const Amounts putty = ComputeAmounts(rules, table, ',');
  EXPECT_EQ(FormatNumber(putty.Quantity, ','), "1");
  EXPECT_EQ(FormatNumber(putty.Price, ','), "6");
  EXPECT_DOUBLE_EQ(putty.Total, 6);
  EXPECT_EQ(ExpandLongText(table, rules.Value("LongText")), "");
}

TEST(RowMappingTest, PriceFollowsTheTotal) {
  const Amounts two = AmountsOf({"2", "15,20", "30,40"});
  EXPECT_DOUBLE_EQ(two.Quantity, 2);
  EXPECT_DOUBLE_EQ(two.Price, 15.2);
  EXPECT_DOUBLE_EQ(two.Total, 30.4);

  const Amounts no_quantity = AmountsOf({"", "", "6,00"});
  EXPECT_DOUBLE_EQ(no_quantity.Quantity, 1);
  EXPECT_DOUBLE_EQ(no_quantity.Price, 6);

  const Amounts negative = AmountsOf({"4", "", "-10,00"});
  EXPECT_DOUBLE_EQ(negative.Price, -2.5);

  // An existing total column sets the price even when its cell is empty.
  const Amounts empty_total = AmountsOf({"3", "10", ""});
  EXPECT_DOUBLE_EQ(empty_total.Quantity, 3);
  EXPECT_DOUBLE_EQ(empty_total.Price, 0);
  EXPECT_DOUBLE_EQ(empty_total.Total, 0);
}

TEST(RowMappingTest, PriceStaysWhenItAgreesWithTheTotal) {
  const Amounts equal = AmountsOf({"1", "80,00", "80,00"});
  EXPECT_DOUBLE_EQ(equal.Quantity, 1);
  EXPECT_DOUBLE_EQ(equal.Price, 80);

  // Within 0.01 of the total the price is kept even though quantity times price differs.
  const Amounts close = AmountsOf({"2", "15,20", "15,205"});
  EXPECT_DOUBLE_EQ(close.Price, 15.2);
  EXPECT_DOUBLE_EQ(close.Total, 15.205);

  const Amounts nothing = AmountsOf({"0", "12,50", "0"});
  EXPECT_DOUBLE_EQ(nothing.Quantity, 0);
  EXPECT_DOUBLE_EQ(nothing.Price, 12.5);
  EXPECT_DOUBLE_EQ(nothing.Total, 0);
}

TEST(RowMappingTest, AmountsWithoutTotalColumnAreReadAsTheyStand) {
  const Amounts amounts = AmountsOf({"3", "10", "99"}, false);
  EXPECT_DOUBLE_EQ(amounts.Quantity, 3);
  EXPECT_DOUBLE_EQ(amounts.Price, 10);
  EXPECT_DOUBLE_EQ(amounts.Total, 0);
}

TEST(RowMappingTest, RulesThatNameNoColumnSupplyNothing) {
  const RowTable table = MakeTable(3, {{"3", "10", "30"}});
  // Beyond the width, with a trailing blank, two letters.
  const Amounts amounts =
      ComputeAmounts(TemplateRules({"Quantity=D", "Price=B ", "TotalRow=AB"}), table, ',');
  EXPECT_DOUBLE_EQ(amounts.Quantity, 0);
  EXPECT_DOUBLE_EQ(amounts.Price, 0);
  EXPECT_DOUBLE_EQ(amounts.Total, 0);

  const Amounts small_letters =
      ComputeAmounts(TemplateRules({"Quantity=a", "Price=b", "TotalRow="}), table, ',');
  EXPECT_DOUBLE_EQ(small_letters.Quantity, 3);
  EXPECT_DOUBLE_EQ(small_letters.Price, 10);
}

TEST(RowMappingTest, PlaceholdersAreFilledFromTheRow) {
  const RowTable table = MakeTable(9, {kGlassRow});
  EXPECT_EQ(ExpandLongText(table, "[d] x [E]"), "500 x 400");
  EXPECT_EQ(ExpandLongText(table, "[D]/[d]/[D]"), "500/500/500");
  EXPECT_EQ(ExpandLongText(table, "[C]: [I] CHF"), "Float 3mm: 30,40 CHF");
  // A "]" outside a name is text; the "[" before a name is kept as text too.
  EXPECT_EQ(ExpandLongText(table, "a] [D]"), "a] 500");
  EXPECT_EQ(ExpandLongText(table, "[[D]"), "[500");
}

TEST(RowMappingTest, PlaceholderThatNamesNoFilledCellGivesNoText) {
  const RowTable table = MakeTable(9, {kPuttyRow});
  EXPECT_EQ(ExpandLongText(table, "[C] [D]"), "");  // D is empty
  EXPECT_EQ(ExpandLongText(table, "[C] [Z]"), "");  // beyond 9 columns
  EXPECT_EQ(ExpandLongText(table, "[C] []"), "");
  EXPECT_EQ(ExpandLongText(table, "[CF]"), "");
  // A second "[" keeps what came before it: the name is "BC", not "C".
  EXPECT_EQ(ExpandLongText(table, "[B[C]"), "");
}

TEST(RowMappingTest, TextWithoutPlaceholdersIsReturnedUnchanged) {
  const RowTable table = MakeTable(9, {kPuttyRow});
  EXPECT_EQ(ExpandLongText(table, "Z"), "Z");
  EXPECT_EQ(ExpandLongText(table, "Fixer Text ] mit Klammer"), "Fixer Text ] mit Klammer");
  EXPECT_EQ(ExpandLongText(table, "offen [D"), "offen [D");
  EXPECT_EQ(ExpandLongText(table, ""), "");
}

TEST(RowMappingTest, InsertedCellTextIsNotSearchedAgain) {
  const RowTable table = MakeTable(2, {{"[a]", "x"}});
  EXPECT_EQ(ExpandLongText(table, "<[A]>"), "<[a]>");
}

TEST(RowMappingTest, PlaceholdersAreReplacedOneAfterTheOtherOverTheWholeText) {
  struct Case {
    const char* Pattern;
    Row Cells;
    const char* Expected;
  };
  const Case cases[] = {
      {"<[A]|[b]|[a]>", {"1", "2"}, "<1|2|1>"},
      {"[A]-[B]", {"xxxxxx", "y"}, "xxxxxx-y"},
      // A cell that holds a later placeholder has it filled too, in either case.
      {"[A] [B]", {"[b]", "2"}, "2 2"},
      {"[B] [A]", {"[b]", "2"}, "2 [b]"},
      // A "[" before a placeholder joins the cell put in its place, and may so make a
      // placeholder that a later step fills.
      {"[[A]B]", {"b", "2"}, "[bB]"},
      {"[[A]][B]", {"b", "2"}, "22"},
  };
  for (const Case& c : cases) {
    const RowTable table = MakeTable(2, {c.Cells});
    EXPECT_EQ(ExpandLongText(table, c.Pattern), c.Expected) << c.Pattern;
  }
}

TEST(RowMappingTest, EveryStepOfTheReplacementsCountsAgainstTheLimit) {
  // "[A]" grows the text of 7 bytes to 10, then "[B]" shrinks it to 8.
  const RowTable table = MakeTable(2, {{"xxxxxx", "y"}});
  const LongTextPattern pattern("[A]-[B]", table);
  EXPECT_THROW(pattern.Expand(table, 9), LongTextTooLargeError);
  EXPECT_EQ(pattern.Expand(table, 10), "xxxxxx-y");
  // With the shrinking placeholder first, the text never passes its final 8 bytes.
  const LongTextPattern shrinking_first("[B]-[A]", table);
  EXPECT_EQ(shrinking_first.Expand(table, 8), "y-xxxxxx");
  EXPECT_THROW(shrinking_first.Expand(table, 7), LongTextTooLargeError);
}

TEST(RowMappingTest, PlaceholdersInsideCellsCannotGrowTheLongTextBeyondItsLimit) {
  // Each pass over "[A]" multiplies the text by 33: five passes would give 586 MB.
  std::string cell;
  for (int i = 0; i < 33; ++i) cell += "[A]";
  const RowTable table = MakeTable(2, {{cell, "x"}});
  const LongTextPattern pattern("[A][A][A][A][A]", table);
  EXPECT_THROW(pattern.Expand(table, 100000), LongTextTooLargeError);
  EXPECT_THROW(pattern.Expand(table), LongTextTooLargeError);

  // Up to the limit the text is written in full.
  const LongTextPattern once("[A]", table);
  EXPECT_EQ(once.Expand(table, cell.size()), cell);
  EXPECT_THROW(once.Expand(table, cell.size() - 1), LongTextTooLargeError);
  EXPECT_THROW(LongTextPattern("fester Text", table).Expand(table, 5), LongTextTooLargeError);
}

TEST(RowMappingTest, ContinuationRowHoldsOnlyTheDescription) {
  RowTable table =
      MakeTable(9, {{"", "", "  zweite Zeile", "", "", "", "", "", ""}, kHoursRow, kGlassRow});
  EXPECT_EQ(IsContinuationRow("C", table), "  zweite Zeile");
  EXPECT_EQ(IsContinuationRow("c", table), "  zweite Zeile");
  EXPECT_EQ(IsContinuationRow("Z", table), std::nullopt);
  EXPECT_EQ(IsContinuationRow("", table), std::nullopt);
  table.Next();
  EXPECT_EQ(IsContinuationRow("C", table), std::nullopt);  // price and total filled
  table.Next();
  EXPECT_EQ(IsContinuationRow("C", table), std::nullopt);

  // A blank is content; a row whose description cell is empty continues nothing.
  EXPECT_EQ(IsContinuationRow("B", MakeTable(3, {{" ", "mehr", ""}})), std::nullopt);
  EXPECT_EQ(IsContinuationRow("A", MakeTable(3, {{"", "mehr", ""}})), std::nullopt);
}

// A description of 60 characters with blanks at the given 1-based positions.
std::string Description60(std::initializer_list<int> blanks) {
  std::string text(60, 'x');
  for (const int position : blanks) text[static_cast<std::size_t>(position - 1)] = ' ';
  return text;
}

TEST(RowMappingTest, LongDescriptionIsCutAtTheFirstBlankAfterTheLimit) {
  TCustomDataGridLines lines;
  const std::string cut_at_55 = Description60({10, 50, 55, 58});
  lines.Add().Bezeichnung1 = cut_at_55;
  lines.Add().Bezeichnung1 = Description60({10, 50});
  lines.Add().Bezeichnung1 = std::string(50, 'y');
  TDataGridLine& with_long_text = lines.Add();
  with_long_text.Bezeichnung1 = cut_at_55;
  with_long_text.Second = "Masse";
  lines.Add().Bezeichnung1 = cut_at_55;

  SplitLongDescriptions(lines, 50);

  EXPECT_EQ(lines.Items(0).Bezeichnung1, cut_at_55.substr(0, 55));
  EXPECT_EQ(lines.Items(0).Second, cut_at_55.substr(54));
  EXPECT_EQ(lines.Items(1).Bezeichnung1, Description60({10, 50}));
  EXPECT_EQ(lines.Items(1).Second, "");
  EXPECT_EQ(lines.Items(2).Bezeichnung1, std::string(50, 'y'));
  EXPECT_EQ(lines.Items(3).Bezeichnung1, cut_at_55);
  EXPECT_EQ(lines.Items(3).Second, "Masse");
  EXPECT_EQ(lines.Items(4).Bezeichnung1, cut_at_55.substr(0, 55));
}

TEST(RowMappingTest, DescriptionLimitZeroCutsNothingAndBelowZeroCutsAtTheFirstBlank) {
  const std::string long_text = "Isolierglas " + std::string(300, 'x') + " Rest";
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = long_text;
  SplitLongDescriptions(lines, 0);
  EXPECT_EQ(lines.Items(0).Bezeichnung1, long_text);
  EXPECT_EQ(lines.Items(0).Second, "");

  SplitLongDescriptions(lines, -1);
  EXPECT_EQ(lines.Items(0).Bezeichnung1, "Isolierglas ");
  EXPECT_EQ(lines.Items(0).Second, long_text.substr(11));
}

TEST(RowMappingTest, BlankRightAfterTheLimitIsFound) {
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = "abcd efgh";
  SplitLongDescriptions(lines, 4);
  EXPECT_EQ(lines.Items(0).Bezeichnung1, "abcd ");
  EXPECT_EQ(lines.Items(0).Second, " efgh");
}

}  // namespace
}  // namespace zw
