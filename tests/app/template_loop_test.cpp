#include "app/template_loop.h"

#include <gtest/gtest.h>

#include <map>

#include "base/errors.h"
#include "base/file_system.h"
#include "mapping/row_mapping.h"
#include "support/demo_data.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"

namespace zw {
namespace {

class TemplateLoopTest : public ::testing::Test {
 protected:
  void AddTemplate(const std::string& name, const std::string& rules) {
    folder_.Write(name, rules);
  }

  std::optional<WinningTemplate> Run(const std::string& text, const std::string& tax = "8") {
    TemplateLoopOptions options;
    options.Folder = folder_.Path();
    options.RetrySleeper = &sleeper_;
    options.Observer = observer_;
    return RunTemplates(text, tax, lines_, options);
  }

  std::string NameOf(const WinningTemplate& winner) const {
    return winner.Path.substr(folder_.Path().size());
  }

  test::TempFolder folder_;
  test::FakeSleeper sleeper_;
  TemplateLoopObserver* observer_ = nullptr;
  TExDataGridLines lines_;
};

TEST_F(TemplateLoopTest, DemoCalculationWithACopyOfTheDemoRulesGivesThreeLines) {
  AddTemplate("glas.txt", test::DemoRules());
  const auto winner = Run(test::DemoCalculation());
  ASSERT_TRUE(winner);
  EXPECT_EQ(NameOf(*winner), "glas.txt");
  EXPECT_EQ(winner->Settings.DescriptionLimit, 50);
  ASSERT_EQ(lines_.Count(), 3);

  const TDataGridLine& first = lines_.Items(0);
  EXPECT_EQ(first.Pos, "(1,)");
  EXPECT_EQ(first.Stueck, "2");
  EXPECT_EQ(first.Bezeichnung1, "Float 3mm");
  EXPECT_EQ(first.Einzelbetrag, "15,2");
  EXPECT_EQ(first.Steuer, "8");
  EXPECT_EQ(first.Second, "Masse in mm: 500 X 400 = 0,40 m\xB2");
  EXPECT_EQ(first.Einheit, "");
  EXPECT_EQ(first.Artikelnummer, "");
  EXPECT_EQ(first.TypeLine, "");

  EXPECT_EQ(lines_.Items(1).Pos, "");
  EXPECT_EQ(lines_.Items(1).Stueck, "1");
  EXPECT_EQ(lines_.Items(1).Bezeichnung1, "Kitt und Kleinmaterial");
  EXPECT_EQ(lines_.Items(1).Einzelbetrag, "6");
  EXPECT_EQ(lines_.Items(1).Second, "");
  EXPECT_EQ(lines_.Items(2).Bezeichnung1, "Glasentsorgung");
  EXPECT_EQ(lines_.Items(2).Einzelbetrag, "3");
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(lines_.Items(i).Isnetto);
    EXPECT_FALSE(lines_.Items(i).DM);
    EXPECT_EQ(lines_.Items(i).Steuer, "8");
  }
}

TEST_F(TemplateLoopTest, TheShippedFilesNeverApply) {
  // First run: the folder is empty, the defaults are written and nothing is tried.
  EXPECT_FALSE(Run(test::DemoCalculation()));
  // Second run: "leer.txt" is tried but has no "Description1"; "demo.txt" is never tried.
  EXPECT_FALSE(Run(test::DemoCalculation()));
  EXPECT_EQ(lines_.Count(), 0);
}

TEST_F(TemplateLoopTest, OnlyTheFirstApplyingTemplateInNameOrderIsUsed) {
  AddTemplate("B.txt", test::DemoRules() + "TaxValue=\r\n");
  AddTemplate("a.txt", "Quantity=B\r\nDescription1=C\r\nTotalRow=I\r\nLongText=aus a\r\n");
  const auto winner = Run(test::DemoCalculation());
  ASSERT_TRUE(winner);
  EXPECT_EQ(NameOf(*winner), "a.txt");
  ASSERT_GT(lines_.Count(), 0);
  EXPECT_EQ(lines_.Items(0).Second, "aus a");
}

TEST_F(TemplateLoopTest, ATemplateWhoseRowsAreAllDroppedLetsTheNextOneTry) {
  AddTemplate("a.txt",
              "IgnoreLines0=Float\r\nIgnoreLines1=Kitt\r\nIgnoreLines2=Glas\r\n"
              "Quantity=B\r\nDescription1=C\r\nTotalRow=I\r\n");
  AddTemplate("b.txt", test::DemoRules());
  const auto winner = Run(test::DemoCalculation());
  ASSERT_TRUE(winner);
  EXPECT_EQ(NameOf(*winner), "b.txt");
  EXPECT_EQ(lines_.Count(), 3);
}

TEST_F(TemplateLoopTest, MissingRequiredLineOrDelimiterSkipsTheTemplate) {
  AddTemplate("a.txt", "MustContaintsLine=Gibt es nicht\r\nQuantity=B\r\nDescription1=C\r\n");
  AddTemplate("b.txt", "Delimeter=;\r\nQuantity=B\r\nDescription1=C\r\n");
  EXPECT_FALSE(Run(test::DemoCalculation()));
  EXPECT_EQ(lines_.Count(), 0);
}

const char* const kSimpleRules = "Quantity=A\r\nDescription1=B\r\nPrice=C\r\n";

TEST_F(TemplateLoopTest, ContinuationRowsExtendTheDescriptionAbove) {
  AddTemplate("t.txt", kSimpleRules);
  ASSERT_TRUE(Run("1\tT\xFCr\t10\r\n\tmit Beschlag\t\r\n\tund Schloss\t\r\n2\tFenster\t20\r\n"));
  ASSERT_EQ(lines_.Count(), 2);
  EXPECT_EQ(lines_.Items(0).Bezeichnung1, "T\xFCr  mit Beschlag  und Schloss");
  EXPECT_EQ(lines_.Items(1).Bezeichnung1, "Fenster");
}

TEST_F(TemplateLoopTest, MoreLinesThanTheLimitAreRefusedBeforeAnyIsMade) {
  AddTemplate("t.txt", kSimpleRules);
  std::string rows;
  for (int i = 0; i < kMaxOrderLines; ++i) rows += "1\tx\t1\r\n";
  // One row more than lines allowed, but a continuation row: exactly the limit.
  ASSERT_TRUE(Run(rows + "\tweiter\t\r\n"));
  EXPECT_EQ(lines_.Count(), kMaxOrderLines);
  EXPECT_EQ(lines_.Items(kMaxOrderLines - 1).Bezeichnung1, "x  weiter");

  TExDataGridLines refused;
  TemplateLoopOptions options;
  options.Folder = folder_.Path();
  options.RetrySleeper = &sleeper_;
  EXPECT_THROW(RunTemplates(rows + "1\tx\t1\r\n", "8", refused, options), TooManyLinesError);
  EXPECT_EQ(refused.Count(), 0);
}

// Records the last record the loop looked at, dropped or not.
class LastRecordSeen final : public TemplateLoopObserver {
 public:
  void OnRecordDropped(int record, const RecordCheck&, const IgnoreEntries&) override {
    last = record;
  }
  int last = 0;
};

TEST_F(TemplateLoopTest, ATextOfTooManyLinesIsRefusedAtTheLineBeyondTheLimit) {
  AddTemplate("t.txt", kSimpleRules);
  std::string text;
  for (int i = 0; i <= kMaxOrderLines; ++i) text += "1\tx\t1\r\n";
  // Empty records behind the line beyond the limit: the loop would report each it reads.
  const std::string tail = "\t\t\r\n\t\t\r\n";
  LastRecordSeen seen;
  observer_ = &seen;
  EXPECT_THROW(Run(text + tail), TooManyLinesError);
  EXPECT_EQ(seen.last, 0) << "the text was read past the line beyond the limit";
  EXPECT_EQ(lines_.Count(), 0);
  // At the limit the same records are read and dropped, the last the empty one after the
  // final line break.
  const std::size_t one_row = std::string("1\tx\t1\r\n").size();
  ASSERT_TRUE(Run(text.substr(one_row) + tail));
  EXPECT_EQ(seen.last, kMaxOrderLines + 3);
}

TEST_F(TemplateLoopTest, LongTextsOfARunAreLimitedInAll) {
  // Every row's long text is 1 MiB: the 65th row passes the limit of the run.
  AddTemplate("t.txt", std::string(kSimpleRules) + "LongText=" + std::string(1024 * 1024, 'x'));
  std::string text;
  for (int i = 0; i < 64; ++i) text += "1\tT\xFCr\t10\r\n";
  ASSERT_TRUE(Run(text));
  EXPECT_EQ(lines_.Count(), 64);
  text += "1\tT\xFCr\t10\r\n";
  EXPECT_THROW(Run(text), LongTextTooLargeError);
}

TEST_F(TemplateLoopTest, ARowAfterADroppedRowIsNotAppended) {
  AddTemplate("t.txt", kSimpleRules);
  ASSERT_TRUE(Run("1\tT\xFCr\t10\r\n0\tNull\t5\r\n\tverwaist\t\r\n"));
  ASSERT_EQ(lines_.Count(), 1);
  EXPECT_EQ(lines_.Items(0).Bezeichnung1, "T\xFCr");
}

TEST_F(TemplateLoopTest, ADescriptionOnlyFirstRowBecomesATextLine) {
  AddTemplate("t.txt",
              std::string(kSimpleRules) + "IgnoreNullQuantity=0\r\nEmptyPriceAsTextLine=1\r\n");
  ASSERT_TRUE(
      Run("\t\xDC"
          "berschrift\t\r\n2\tFenster\t20\r\n\tDetail\t\r\n"));
  ASSERT_EQ(lines_.Count(), 2);
  const TDataGridLine& text_line = lines_.Items(0);
  EXPECT_EQ(text_line.TypeLine, "-");
  EXPECT_EQ(text_line.Bezeichnung1,
            "\xDC"
            "berschrift");
  EXPECT_EQ(text_line.Stueck, "");
  EXPECT_EQ(text_line.Einzelbetrag, "");
  EXPECT_EQ(text_line.Steuer, "");
  EXPECT_EQ(lines_.Items(1).Bezeichnung1, "Fenster  Detail");
}

TEST_F(TemplateLoopTest, EmptyPriceGivesATextLineOnlyWhenAskedFor) {
  const std::string text = "3\tSchraube\t\r\n";
  AddTemplate("t.txt", std::string(kSimpleRules) + "EmptyPriceAsTextLine=1\r\n");
  ASSERT_TRUE(Run(text));
  EXPECT_EQ(lines_.Items(0).TypeLine, "-");

  TExDataGridLines plain;
  AddTemplate("t.txt", std::string(kSimpleRules) + "EmptyPriceAsTextLine=0\r\n");
  TemplateLoopOptions options;
  options.Folder = folder_.Path();
  ASSERT_TRUE(RunTemplates(text, "8", plain, options));
  EXPECT_EQ(plain.Items(0).TypeLine, "");
  EXPECT_EQ(plain.Items(0).Stueck, "3");
  EXPECT_EQ(plain.Items(0).Einzelbetrag, "0");
  EXPECT_EQ(plain.Items(0).Steuer, "8");
}

TEST_F(TemplateLoopTest, TaxColumnIsCopiedEvenWhenEmpty) {
  AddTemplate("t.txt", std::string(kSimpleRules) + "TaxValue=D\r\n");
  ASSERT_TRUE(Run("1\tA\t5\t19\r\n1\tB\t5\t\r\n"));
  EXPECT_EQ(lines_.Items(0).Steuer, "19");
  EXPECT_EQ(lines_.Items(1).Steuer, "");
}

TEST_F(TemplateLoopTest, TextColumnsAreCopiedUnchanged) {
  AddTemplate("t.txt", std::string(kSimpleRules) +
                           "PosNumber=d\r\nQuantityUnit=E\r\nPartNumber=F\r\nLongText=G\r\n");
  ASSERT_TRUE(Run("2\tRohr\t4,50\t 1.1 \tm\tR-17\tlang\r\n"));
  const TDataGridLine& line = lines_.Items(0);
  EXPECT_EQ(line.Pos, " 1.1 ");
  EXPECT_EQ(line.Einheit, "m");
  EXPECT_EQ(line.Artikelnummer, "R-17");
  EXPECT_EQ(line.Second, "lang");
  EXPECT_EQ(line.Einzelbetrag, "4,5");
}

TEST_F(TemplateLoopTest, DescriptionBeyondTheTableGivesLinesWithoutDescription) {
  AddTemplate("t.txt", "Quantity=A\r\nDescription1=Z\r\nPrice=B\r\n");
  ASSERT_TRUE(Run("1\t5\r\n2\t6\r\n"));
  ASSERT_EQ(lines_.Count(), 2);
  EXPECT_EQ(lines_.Items(0).Bezeichnung1, "");
}

TEST_F(TemplateLoopTest, DelimiterValues) {
  AddTemplate("t.txt", "Delimeter=;\r\nQuantity=A\r\nDescription1=B\r\nPrice=C\r\n");
  ASSERT_TRUE(Run("2;Rohr;3\r\n"));
  EXPECT_EQ(lines_.Items(0).Bezeichnung1, "Rohr");

  TExDataGridLines other;
  AddTemplate("t.txt", "Delimeter=Tab\r\nQuantity=A\r\nDescription1=B\r\nPrice=C\r\n");
  TemplateLoopOptions options;
  options.Folder = folder_.Path();
  // "Tab" is not "TAB": its first letter T is the delimiter.
  ASSERT_TRUE(RunTemplates("2TRohrT3\r\n", "", other, options));
  EXPECT_EQ(other.Items(0).Bezeichnung1, "Rohr");
}

TEST_F(TemplateLoopTest, IgnoreEntriesBeyondTheFileLengthAreNeverRead) {
  // Six lines, so IgnoreLines7 is not read and the row it names stays.
  AddTemplate("t.txt", "IgnoreLines7=Rohr\r\nQuantity=A\r\nDescription1=B\r\nPrice=C\r\n\r\n\r\n");
  ASSERT_TRUE(Run("2\tRohr\t3\r\n"));
  EXPECT_EQ(lines_.Count(), 1);
}

TEST_F(TemplateLoopTest, UnwritableFolderEndsTheLoopWithTheError) {
  TemplateLoopOptions options;
  options.Folder = folder_.Path() + "fehlt" + kPathDelimiter;
  EXPECT_THROW(RunTemplates("a\tb\r\n", "", lines_, options), FileCreateError);
}

// Records the fate of every record, as zwconvert --explain reports it.
class FateRecorder final : public TemplateLoopObserver {
 public:
  void OnRecordDropped(int record, const RecordCheck& check,
                       const IgnoreEntries& entries) override {
    if (check.Result == RecordCheck::Verdict::NoFields) return;
    fates[record] = check.Result == RecordCheck::Verdict::Empty
                        ? "empty"
                        : "IgnoreLines" + std::to_string(entries.KeyIndex[check.Entry]);
  }
  void OnNewLine(int record, const TDataGridLine& line) override {
    fates[record] = "line " + std::to_string(line.Index() + 1);
  }
  void OnAppended(int record, const TDataGridLine&) override { fates[record] = "appended"; }
  void OnRowDropped(int record, RowDrop reason) override {
    fates[record] = reason == RowDrop::NullQuantity ? "null quantity" : "no description";
  }
  std::map<int, std::string> fates;
};

TEST_F(TemplateLoopTest, ObserverSeesTheFateOfEveryRowOfTheDemo) {
  AddTemplate("glas.txt", test::DemoRules());
  FateRecorder recorder;
  observer_ = &recorder;
  ASSERT_TRUE(Run(test::DemoCalculation()));
  const std::map<int, std::string> expected = {
      {1, "IgnoreLines0"},  {2, "empty"},         {3, "line 1"},         {4, "null quantity"},
      {5, "null quantity"}, {6, "empty"},         {7, "line 2"},         {8, "line 3"},
      {9, "empty"},         {10, "IgnoreLines3"}, {11, "null quantity"}, {12, "empty"},
      {13, "IgnoreLines5"}, {14, "IgnoreLines4"}, {15, "empty"},         {16, "IgnoreLines2"}};
  EXPECT_EQ(recorder.fates, expected);
}

}  // namespace
}  // namespace zw
