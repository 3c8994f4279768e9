#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "json/json_errors.h"
#include "json/json_list.h"
#include "json/json_object.h"

namespace zw {
namespace {

TEST(JsonKinds, NumbersAndNamesOfEveryClass) {
  const TJsonBase base;
  const TJsonNumber number;
  const TJsonString text;
  const TJsonBoolean flag;
  const TJsonNull null;
  const TJsonList list;
  const TJsonObject object;
  const TJsonObjectField field(u"a", nullptr);
  const std::vector<std::pair<const TJsonBase*, std::string>> expected = {
      {&base, "js_Base"}, {&number, "js_Number"}, {&text, "js_String"},   {&flag, "js_Boolean"},
      {&null, "js_Null"}, {&list, "js_List"},     {&object, "js_Object"}, {&field, "js_Base"}};
  const int numbers[] = {0, 1, 2, 3, 4, 5, 6, 0};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(static_cast<int>(expected[i].first->Kind()), numbers[i]) << expected[i].second;
    EXPECT_EQ(expected[i].first->KindName(), expected[i].second);
  }
}

TEST(JsonScalars, NewValuesAreNeutral) {
  EXPECT_EQ(TJsonNumber().Value(), 0);
  EXPECT_EQ(TJsonString().Value(), u"");
  EXPECT_FALSE(TJsonBoolean().Value());
}

TEST(JsonScalars, GetValueGivesTheTaggedValue) {
  EXPECT_EQ(TJsonNumber(2.5).GetValue(), TJsonVariant(2.5));
  EXPECT_EQ(TJsonString(u"\u00e4\u20ac").GetValue(), TJsonVariant(std::string("\xE4\x80")));
  EXPECT_EQ(TJsonBoolean(true).GetValue(), TJsonVariant(true));
  EXPECT_EQ(TJsonNull().GetValue(), TJsonVariant());
  EXPECT_EQ(TJsonBase().GetValue(), TJsonVariant());
  EXPECT_EQ(TJsonList().GetValue(), TJsonVariant());
  EXPECT_EQ(TJsonObject().GetValue(), TJsonVariant());
}

TEST(JsonScalars, SetValueConvertsIntoANumber) {
  TJsonNumber number;
  number.SetValue(std::int32_t{-7});
  EXPECT_EQ(number.Value(), -7);
  number.SetValue(Currency{125000});
  EXPECT_EQ(number.Value(), 12.5);
  number.SetValue(true);
  EXPECT_EQ(number.Value(), 1);
  number.SetValue(std::string(" 1,25 "));
  EXPECT_EQ(number.Value(), 1.25);
  number.SetValue(std::string("-2.5E2"));
  EXPECT_EQ(number.Value(), -250);
  for (const TJsonVariant& bad :
       {TJsonVariant(std::string("abc")), TJsonVariant(std::string("")),
        TJsonVariant(std::string("1x")), TJsonVariant(std::string("inf")), TJsonVariant()}) {
    EXPECT_THROW(number.SetValue(bad), TJsonConversionError);
  }
  EXPECT_EQ(number.Value(), -250);  // a failed conversion leaves the value
}

TEST(JsonScalars, SetValueConvertsIntoText) {
  TJsonString text(u"old");
  text.SetValue(TJsonVariant());
  EXPECT_EQ(text.Value(), u"");
  text.SetValue(std::string("\xF6\x80"));
  EXPECT_EQ(text.Value(), u"\u00f6\u20ac");
  text.SetValue(std::int32_t{42});
  EXPECT_EQ(text.Value(), u"42");
  text.SetValue(1.5);
  EXPECT_EQ(text.Value(), u"1,5");  // text conversions follow the process separator
  text.SetValue(Currency{-12345678});
  EXPECT_EQ(text.Value(), u"-1234,5678");
  text.SetValue(true);
  EXPECT_EQ(text.Value(), u"True");
}

TEST(JsonScalars, SetValueConvertsIntoABoolean) {
  TJsonBoolean flag;
  for (const char* word : {"true", "TRUE", " True ", "1", "-3"}) {
    flag.SetValue(std::string("false"));
    flag.SetValue(std::string(word));
    EXPECT_TRUE(flag.Value()) << word;
  }
  flag.SetValue(std::string("False"));
  EXPECT_FALSE(flag.Value());
  flag.SetValue(std::int32_t{2});
  EXPECT_TRUE(flag.Value());
  flag.SetValue(0.0);
  EXPECT_FALSE(flag.Value());
  EXPECT_THROW(flag.SetValue(std::string("ja")), TJsonConversionError);
  EXPECT_THROW(flag.SetValue(TJsonVariant()), TJsonConversionError);
}

TEST(JsonScalars, ConversionErrorsAreSystemErrorsNamingBothTypes) {
  TJsonNumber number;
  try {
    number.SetValue(std::string("abc"));
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(),
                 "Variante des Typs (String) konnte nicht in Typ (Double) konvertiert werden");
  }
}

TEST(JsonScalars, NamedSettersOnAScalarSetTheScalarItself) {
  TJsonString text;
  text.SetInteger("whatever", 5);
  EXPECT_EQ(text.Value(), u"5");
  TJsonNumber number;
  number.SetString("x", "3");
  EXPECT_EQ(number.Value(), 3);
  TJsonList list;  // a list takes no value
  list.SetString("a", "b");
  EXPECT_EQ(list.Count(), 0);
}

TEST(JsonScalars, ScalarsHaveNoChildren) {
  TJsonNumber number;
  EXPECT_EQ(number.Count(), 0);
  EXPECT_EQ(number.Child(0), nullptr);
  number.SetChild(0, TJsonNumber::Generate(1));
  EXPECT_EQ(number.Child(0), nullptr);
  EXPECT_EQ(number.Field(std::int32_t{0}), &number);
  EXPECT_EQ(number.Field(std::string("a")), &number);
}

}  // namespace
}  // namespace zw
