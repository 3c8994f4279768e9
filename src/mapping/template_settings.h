#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "templates/template_rules.h"

// What one template file asks of a conversion, read from its rule lines once, when the file
// is loaded; every default of a missing or unreadable key is here.
namespace zw {

// The normalised "IgnoreLines" values of a template and the index of each one's key.
struct IgnoreEntries {
  std::vector<std::string> Texts;
  std::vector<std::size_t> KeyIndex;  // n of "IgnoreLines<n>"
};

// The column names that the keys give, as written; a table resolves them to its columns.
struct ColumnKeys {
  std::string Pos;          // "PosNumber"
  std::string Quantity;     // "Quantity"
  std::string Unit;         // "QuantityUnit"
  std::string Description;  // "Description1"
  std::string PartNumber;   // "PartNumber"
  std::string Price;        // "Price"
  std::string Tax;          // "TaxValue"
  std::string Total;        // "TotalRow"
  std::string LongText;     // "LongText": a column, or a text with placeholders
};

struct TemplateSettings {
  char Delimiter = '\t';              // "Delimeter": its first character; "TAB" or none a tab
  IgnoreEntries Ignore;               // "IgnoreLines0", "IgnoreLines1", ...
  std::string RequiredLine;           // "MustContaintsLine", normalised
  ColumnKeys Columns;                 // "Description1" empty: the template yields no lines
  bool IgnoreNullQuantity = true;     // "IgnoreNullQuantity": on unless set to another than "1"
  bool EmptyPriceAsTextLine = false;  // "EmptyPriceAsTextLine=1"
  int DescriptionLimit = 50;          // "Description1ToLongText", when it is an integer
  bool DirectToBrevanta = false;      // "DirectToBrevanta=1": post into the open order

  static TemplateSettings Of(const TemplateRules& rules);
};

// The template's "IgnoreLines0", "IgnoreLines1", ... up to its line count, normalised.
IgnoreEntries IgnoreEntriesOf(const TemplateRules& rules);

// "Description1ToLongText" read as an integer; 50 when it is not one.
int DescriptionLimitOf(const TemplateRules& rules);

}  // namespace zw
