#include "mapping/template_settings.h"

#include "base/integer_text.h"
#include "texttable/normalize.h"

namespace zw {
namespace {

constexpr int kDefaultDescriptionLimit = 50;

char DelimiterOf(const TemplateRules& rules) {
  const std::string value = rules.Value("Delimeter");
  if (value.empty() || value == "TAB") return '\t';
  return value.front();
}

ColumnKeys ColumnKeysOf(const TemplateRules& rules) {
  ColumnKeys keys;
  keys.Pos = rules.Value("PosNumber");
  keys.Quantity = rules.Value("Quantity");
  keys.Unit = rules.Value("QuantityUnit");
  keys.Description = rules.Value("Description1");
  keys.PartNumber = rules.Value("PartNumber");
  keys.Price = rules.Value("Price");
  keys.Tax = rules.Value("TaxValue");
  keys.Total = rules.Value("TotalRow");
  keys.LongText = rules.Value("LongText");
  return keys;
}

}  // namespace

IgnoreEntries IgnoreEntriesOf(const TemplateRules& rules) {
  IgnoreEntries entries;
  for (std::size_t i = 0; i < rules.LineCount(); ++i) {
    const std::string value = rules.Value("IgnoreLines" + std::to_string(i));
    if (value.empty()) continue;
    entries.Texts.push_back(NormalizeText(value));
    entries.KeyIndex.push_back(i);
  }
  return entries;
}

int DescriptionLimitOf(const TemplateRules& rules) {
  return ReadInteger(rules.Value("Description1ToLongText")).value_or(kDefaultDescriptionLimit);
}

TemplateSettings TemplateSettings::Of(const TemplateRules& rules) {
  TemplateSettings settings;
  settings.Delimiter = DelimiterOf(rules);
  settings.Ignore = IgnoreEntriesOf(rules);
  settings.RequiredLine = NormalizeText(rules.Value("MustContaintsLine"));
  settings.Columns = ColumnKeysOf(rules);
  const std::string null_quantity = rules.Value("IgnoreNullQuantity");
  settings.IgnoreNullQuantity = null_quantity.empty() || null_quantity == "1";
  settings.EmptyPriceAsTextLine = rules.Value("EmptyPriceAsTextLine") == "1";
  settings.DescriptionLimit = DescriptionLimitOf(rules);
  settings.DirectToBrevanta = rules.Value("DirectToBrevanta") == "1";
  return settings;
}

}  // namespace zw
