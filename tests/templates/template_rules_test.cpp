#include "templates/template_rules.h"

#include <gtest/gtest.h>

namespace zw {
namespace {

TEST(TemplateRules, ValueIsEverythingAfterTheFirstEqualsSignVerbatim) {
  const TemplateRules rules({"IgnoreLines0=\tA\tB = C\t", "LongText=x=y", "Quantity="});
  EXPECT_EQ(rules.Value("IgnoreLines0"), "\tA\tB = C\t");
  EXPECT_EQ(rules.Value("LongText"), "x=y");
  EXPECT_EQ(rules.Value("Quantity"), "");
}

TEST(TemplateRules, KeysMatchCaseInsensitivelyButWithoutTrimming) {
  const TemplateRules rules({"quantity=B", "Price =H", " TotalRow=I"});
  EXPECT_EQ(rules.Value("Quantity"), "B");
  EXPECT_EQ(rules.Value("Price"), "");
  EXPECT_EQ(rules.Value("TotalRow"), "");
}

TEST(TemplateRules, FirstMatchingLineWinsAndMissingKeysReadEmpty) {
  const TemplateRules rules({";Kommentar=1", "Delimeter=;", "DELIMETER=TAB", "no key here"});
  EXPECT_EQ(rules.Value("Delimeter"), ";");
  EXPECT_EQ(rules.Value("Description1"), "");
  EXPECT_EQ(rules.Value(";Kommentar"), "1");
}

TEST(TemplateRules, AssignReplacesTheLines) {
  TemplateRules rules({"Quantity=B"});
  rules.Assign({"Price=H"});
  EXPECT_EQ(rules.Value("Quantity"), "");
  EXPECT_EQ(rules.Value("Price"), "H");
  EXPECT_EQ(rules.LineCount(), 1u);
}

}  // namespace
}  // namespace zw
