#include "proposal/heading_words.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "proposal/cell_kinds.h"

namespace zw {
namespace {

struct HeadingCase {
  std::string Cell;  // Windows-1252
  std::optional<ColumnRole> Role;
};

TEST(RoleOfHeading, KnowsTheHeadingsOfCalculationsInSixLanguages) {
  const std::vector<HeadingCase> cases = {
      {"(Pos)", ColumnRole::Pos},
      {"Pos.", ColumnRole::Pos},
      {"Nr.", ColumnRole::Pos},
      {"Stk", ColumnRole::Quantity},
      {"St\xFC"
       "ck",
       ColumnRole::Quantity},
      {"Anz.", ColumnRole::Quantity},
      {"Qty", ColumnRole::Quantity},
      {"Qt\xE9", ColumnRole::Quantity},
      {"Quantit\xE9", ColumnRole::Quantity},
      {"ME", ColumnRole::Unit},
      {"Einh.", ColumnRole::Unit},
      {"Unit\xE9", ColumnRole::Unit},
      {"BEZEICHNUNG", ColumnRole::Description},
      {"D\xE9sign"
       "ation",
       ColumnRole::Description},
      {"Leistung", ColumnRole::Description},
      {"Art.-Nr.", ColumnRole::PartNumber},
      {"Item no.", ColumnRole::PartNumber},
      {"R\xE9"
       "f.",
       ColumnRole::PartNumber},
      {"EP", ColumnRole::Price},
      {"Preis/Stk", ColumnRole::Price},
      {"CHF/Stk", ColumnRole::Price},
      {"EUR / St\xFC"
       "ck",
       ColumnRole::Price},
      {"Unit price", ColumnRole::Price},
      {"Prix unitaire", ColumnRole::Price},
      {"MwSt %", ColumnRole::Tax},
      {"TVA", ColumnRole::Tax},
      {"Total/CHF", ColumnRole::Total},
      {"Betrag EUR", ColumnRole::Total},
      {"GP", ColumnRole::Total},
      {"Montant HT", ColumnRole::Total},
      // A price per square metre is no unit price; words not known name nothing.
      {"Preis/m\xB2", std::nullopt},
      {"Breite x H\xF6he", std::nullopt},
      {"CHF", std::nullopt},
      {"", std::nullopt},
      {"Wie viel", std::nullopt},
  };
  for (const HeadingCase& c : cases) EXPECT_EQ(RoleOfHeading(c.Cell), c.Role) << c.Cell;
}

TEST(HeadingKey, IgnoresCaseAndPunctuation) {
  EXPECT_EQ(HeadingKey("Art.-Nr."), "art nr");
  EXPECT_EQ(HeadingKey("  CHF/Stk "), "chf stk");
  EXPECT_EQ(HeadingKey("+8% MwSt."), "8 % mwst");
  EXPECT_EQ(HeadingKey("\xC4nderung \x80"), "\xE4nderung \x80");
}

TEST(IsSummaryLabel, FindsTheWordsOfSumsTaxesAndDiscounts) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"Summe", true},
      {"Zwischensumme K\xFC"
       "che",
       true},
      {"+8% MwSt.", true},
      {"Rabatt 5%", true},
      {"Total exkl. MwSt.", true},
      {"Sous-total", true},
      {"VAT 20%", true},
      {"Rechnungsbetrag in CHF", true},
      {"Rabattmarken", false},
      {"Float 3mm", false},
      {"Summen", false},
      {"", false},
  };
  for (const auto& [cell, summary] : cases) EXPECT_EQ(IsSummaryLabel(cell), summary) << cell;
}

TEST(Measures, AreRecognisedOnlyAsAPairOfMeasureWords) {
  EXPECT_TRUE(IsMeasurePair("Breite x H\xF6he"));
  EXPECT_TRUE(IsMeasurePair("B x H mm"));
  EXPECT_TRUE(IsMeasurePair("Width x Height"));
  EXPECT_FALSE(IsMeasurePair("Breite"));
  EXPECT_FALSE(IsMeasurePair("Float x 3mm"));
  EXPECT_TRUE(IsMeasure("L\xE4nge mm"));
  EXPECT_FALSE(IsMeasure("B"));
  EXPECT_TRUE(IsArea("m\xB2"));
  EXPECT_TRUE(
      IsArea("Fl\xE4"
             "che"));
  EXPECT_FALSE(IsArea("m\xB2 Preis"));
}

TEST(KindOfCell, TellsAmountsFromWordsAndPositions) {
  const std::vector<std::pair<std::string, CellKind>> cases = {
      {"15,20", CellKind::Number},
      {"1'250.00", CellKind::Number},
      {"1 260,00", CellKind::Number},
      {"CHF 15.20", CellKind::Number},
      {"15.20 \x80", CellKind::Number},
      {"-70.00", CellKind::Number},
      {"3,5-", CellKind::Number},
      {"12.-", CellKind::Number},
      {"8.1%", CellKind::Number},
      {"  ", CellKind::Empty},
      {"", CellKind::Empty},
      {"(1,)", CellKind::Other},
      {"-", CellKind::Other},
      {"Float 3mm", CellKind::Words},
      {"m\xB2", CellKind::Words},
      {"\xC4", CellKind::Words},
  };
  for (const auto& [cell, kind] : cases) EXPECT_EQ(KindOfCell(cell), kind) << cell;
}

}  // namespace
}  // namespace zw
