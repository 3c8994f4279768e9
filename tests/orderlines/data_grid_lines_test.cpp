#include <gtest/gtest.h>

#include "base/errors.h"
#include "orderlines/uDataGridLines.h"

namespace zw {
namespace {

TEST(DataGridLine, PropertiesAreTheTwentyFourInPublishedOrder) {
  std::vector<std::string> names;
  for (const auto& property : DataGridLineProperties()) names.emplace_back(property.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Stueck",        "Einheit",       "Bezeichnung1",
                                             "Bezeichnung2",  "BestellNummer", "Seriennummer",
                                             "Artikelnummer", "Einzelbetrag",  "Steuer",
                                             "SummeBetrag",   "intern",        "ID_Artikel",
                                             "Rabatt",        "Second",        "DM",
                                             "TypeLine",      "Isnetto",       "User",
                                             "Row",           "Rows",          "Hash",
                                             "Pos",           "ExtraData",     "L2"}));
}

TEST(DataGridLine, ANewLineHasEveryDefault) {
  TExDataGridLines lines;
  const TDataGridLine& line = lines.Add();
  for (const auto& property : DataGridLineProperties()) {
    if (property.Text != nullptr) {
      EXPECT_EQ(line.*property.Text, "") << property.Name;
    }
  }
  EXPECT_FALSE(line.DM);
  EXPECT_FALSE(line.Isnetto);
  EXPECT_EQ(line.Row, 0);
  EXPECT_EQ(lines.GUID, "");
  EXPECT_EQ(lines.Row, 0);
  EXPECT_EQ(lines.Data, "");
}

TEST(DataGridLine, TextLinesAreMarkedByDashSmallAOrByte81) {
  TDataGridLine line(nullptr, 0);
  for (const char* marker : {"-", "a", "\x81"}) {
    line.TypeLine = marker;
    EXPECT_TRUE(IsTextLine(line)) << marker;
  }
  for (const char* marker : {"", "A", " -", "--", "b"}) {
    line.TypeLine = marker;
    EXPECT_FALSE(IsTextLine(line)) << marker;
  }
}

// Fills every property with a value of its own.
void FillAll(TDataGridLine& line) {
  int n = 0;
  for (const auto& property : DataGridLineProperties()) {
    ++n;
    if (property.Text != nullptr) line.*property.Text = std::string(property.Name) + "-value";
  }
  line.DM = true;
  line.Isnetto = true;
  line.Row = n;
}

TEST(DataGridLine, AssignCopiesAllPropertiesInsideAnUpdateBracket) {
  TExDataGridLines source;
  FillAll(source.Add());
  TExDataGridLines target;
  TDataGridLine& copy = target.Add();
  copy.Assign(source.Items(0));
  for (const auto& property : DataGridLineProperties()) {
    if (property.Text != nullptr) {
      EXPECT_EQ(copy.*property.Text, std::string(property.Name) + "-value");
    }
  }
  EXPECT_TRUE(copy.DM);
  EXPECT_TRUE(copy.Isnetto);
  EXPECT_EQ(copy.Row, 24);
  EXPECT_EQ(target.UpdateCount(), 0);
}

TEST(DataGridLine, AssignFromAnotherItemClassFailsNamingBothClasses) {
  class OtherItem : public TCollectionItem {
   public:
    OtherItem() : TCollectionItem(nullptr, 0) {}
    const char* ClassName() const override { return "TOtherItem"; }
  };
  TDataGridLine line(nullptr, 0);
  try {
    line.Assign(OtherItem());
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Cannot assign a TOtherItem to a TDataGridLine");
  }
}

TEST(DataGridLines, AssignReplacesLinesAndCopiesTheSetFields) {
  TExDataGridLines source;
  source.Add().Bezeichnung1 = "eins";
  source.Add().Bezeichnung1 = "zwei";
  source.GUID = "g";
  source.Row = 7;
  source.Data = "d";
  TExDataGridLines target;
  target.Add().Bezeichnung1 = "alt";
  target.Assign(source);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.Items(0).Bezeichnung1, "eins");
  EXPECT_EQ(target.Items(1).Bezeichnung1, "zwei");
  EXPECT_EQ(target.Items(1).Index(), 1);
  EXPECT_EQ(target.Items(1).Collection(), &target);
  EXPECT_EQ(target.GUID, "g");
  EXPECT_EQ(target.Row, 7);
  EXPECT_EQ(target.Data, "d");
}

TEST(DataGridLines, IndexOutsideTheLinesIsAnError) {
  TExDataGridLines lines;
  lines.Add();
  EXPECT_THROW(lines.Items(1), std::out_of_range);
  EXPECT_THROW(lines.Items(-1), std::out_of_range);
}

TEST(DataGridLines, ThePlainCollectionRendersNothing) {
  TDataGridLines lines;
  lines.Add().Bezeichnung1 = "x";
  EXPECT_EQ(lines.LinesAsText(), "");
  EXPECT_EQ(lines.LinesAsHtml(), "");
  EXPECT_EQ(lines.LinesAsCsv(), "");
}

}  // namespace
}  // namespace zw
