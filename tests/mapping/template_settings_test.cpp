#include "mapping/template_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zw {
namespace {

TEST(TemplateSettings, AnEmptyTemplateHasTheDefaults) {
  const TemplateSettings settings = TemplateSettings::Of(TemplateRules());
  EXPECT_EQ(settings.Delimiter, '\t');
  EXPECT_TRUE(settings.Ignore.Texts.empty());
  EXPECT_EQ(settings.RequiredLine, "");
  EXPECT_EQ(settings.Columns.Description, "");
  EXPECT_TRUE(settings.IgnoreNullQuantity);
  EXPECT_FALSE(settings.EmptyPriceAsTextLine);
  EXPECT_EQ(settings.DescriptionLimit, 50);
  EXPECT_FALSE(settings.DirectToBrevanta);
}

TEST(TemplateSettings, EveryKeyIsReadOnce) {
  const TemplateSettings settings = TemplateSettings::Of(TemplateRules({
      "Delimeter=;x",
      "MustContaintsLine=Pos\tMenge",
      "PosNumber=A",
      "Quantity=B",
      "QuantityUnit=C",
      "Description1=D",
      "PartNumber=E",
      "Price=F",
      "TaxValue=G",
      "TotalRow=H",
      "LongText=Masse: [D]",
      "IgnoreNullQuantity=0",
      "EmptyPriceAsTextLine=1",
      "Description1ToLongText=30",
      "DirectToBrevanta=1",
  }));
  EXPECT_EQ(settings.Delimiter, ';');
  EXPECT_EQ(settings.RequiredLine, "PosMenge");
  EXPECT_EQ(settings.Columns.Pos, "A");
  EXPECT_EQ(settings.Columns.Quantity, "B");
  EXPECT_EQ(settings.Columns.Unit, "C");
  EXPECT_EQ(settings.Columns.Description, "D");
  EXPECT_EQ(settings.Columns.PartNumber, "E");
  EXPECT_EQ(settings.Columns.Price, "F");
  EXPECT_EQ(settings.Columns.Tax, "G");
  EXPECT_EQ(settings.Columns.Total, "H");
  EXPECT_EQ(settings.Columns.LongText, "Masse: [D]");
  EXPECT_FALSE(settings.IgnoreNullQuantity);
  EXPECT_TRUE(settings.EmptyPriceAsTextLine);
  EXPECT_EQ(settings.DescriptionLimit, 30);
  EXPECT_TRUE(settings.DirectToBrevanta);
}

// Only the exact value "1" switches a rule; anything else is the default.
struct SwitchCase {
  const char* line;
  bool null_quantity;
  bool empty_price_as_text;
  bool direct;
};

TEST(TemplateSettings, OnlyTheValueOneSwitches) {
  const SwitchCase cases[] = {
      {"IgnoreNullQuantity=1", true, false, false},
      {"IgnoreNullQuantity= 1", false, false, false},
      {"IgnoreNullQuantity=", true, false, false},
      {"EmptyPriceAsTextLine=true", true, false, false},
      {"DirectToBrevanta=1 ", true, false, false},
      {"directtobrevanta=1", true, false, true},
  };
  for (const SwitchCase& c : cases) {
    const TemplateSettings settings = TemplateSettings::Of(TemplateRules({c.line}));
    EXPECT_EQ(settings.IgnoreNullQuantity, c.null_quantity) << c.line;
    EXPECT_EQ(settings.EmptyPriceAsTextLine, c.empty_price_as_text) << c.line;
    EXPECT_EQ(settings.DirectToBrevanta, c.direct) << c.line;
  }
}

TEST(TemplateSettings, TabAndAnEmptyDelimiterAreATab) {
  EXPECT_EQ(TemplateSettings::Of(TemplateRules({"Delimeter=TAB"})).Delimiter, '\t');
  EXPECT_EQ(TemplateSettings::Of(TemplateRules({"Delimeter="})).Delimiter, '\t');
  EXPECT_EQ(TemplateSettings::Of(TemplateRules({"Delimeter=tab"})).Delimiter, 't');
}

TEST(DescriptionLimitOf, ReadsAnIntegerOrFifty) {
  EXPECT_EQ(DescriptionLimitOf(TemplateRules({"Description1ToLongText="})), 50);
  EXPECT_EQ(DescriptionLimitOf(TemplateRules({"Description1ToLongText=abc"})), 50);
  EXPECT_EQ(DescriptionLimitOf(TemplateRules({"Description1ToLongText=0"})), 0);
  EXPECT_EQ(DescriptionLimitOf(TemplateRules({"Description1ToLongText= 30"})), 30);
}

TEST(IgnoreEntriesOf, KeepsNormalisedNonEmptyValuesWithTheirKeyIndex) {
  const IgnoreEntries entries = IgnoreEntriesOf(
      TemplateRules({"IgnoreLines0=a b\tc", "IgnoreLines1=", "IgnoreLines2=Summe"}));
  EXPECT_EQ(entries.Texts, (std::vector<std::string>{"abc", "Summe"}));
  EXPECT_EQ(entries.KeyIndex, (std::vector<std::size_t>{0, 2}));
}

}  // namespace
}  // namespace zw
