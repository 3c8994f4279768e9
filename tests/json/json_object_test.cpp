#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "json/json_errors.h"
#include "json/json_list.h"
#include "json/json_object.h"
#include "json/json_text.h"

namespace zw {
namespace {

std::unique_ptr<TJsonString> Str(const char16_t* text) { return TJsonString::Generate(text); }

// A list of the strings "a", "b", "c".
std::unique_ptr<TJsonList> ThreeStrings() {
  auto list = std::make_unique<TJsonList>();
  for (const char16_t* text : {u"a", u"b", u"c"}) list->Add(Str(text));
  return list;
}

TEST(JsonList, AddGivesTheNewIndexAndRefusesNull) {
  TJsonList list;
  EXPECT_EQ(list.Add(Str(u"a")), 0);
  EXPECT_EQ(list.Add(nullptr), -1);
  EXPECT_EQ(list.Add(Str(u"b")), 1);
  EXPECT_EQ(list.Count(), 2);
}

TEST(JsonList, DeleteMovesTheLastChildIntoTheGap) {
  auto list = ThreeStrings();
  list->Delete(0);
  EXPECT_EQ(TJsonText::GenerateText(*list), R"(["c","b"])");
  list->Delete(1);  // the last one: nothing moves
  EXPECT_EQ(TJsonText::GenerateText(*list), R"(["c"])");
  list->Delete(1);
  list->Delete(-1);
  EXPECT_EQ(list->Count(), 1);
}

TEST(JsonList, ChildAndSetChildOnlyInsideTheRange) {
  auto list = ThreeStrings();
  EXPECT_EQ(list->Child(-1), nullptr);
  EXPECT_EQ(list->Child(3), nullptr);
  list->SetChild(3, Str(u"x"));
  list->SetChild(1, TJsonBoolean::Generate(true));
  EXPECT_EQ(TJsonText::GenerateText(*list), R"(["a",true,"c"])");
}

TEST(JsonList, IndexOfChildFindsThatVeryObject) {
  auto list = ThreeStrings();
  const TJsonBase* second = list->Child(1);
  EXPECT_EQ(list->IndexOfChild(second), 1);
  const TJsonString equal_but_other(u"b");
  EXPECT_EQ(list->IndexOfChild(&equal_but_other), -1);
  list->Delete(0);
  EXPECT_EQ(list->IndexOfChild(second), 1);
  EXPECT_EQ(list->IndexOfChild(list->Child(0)), 0);
}

TEST(JsonList, FieldWithANumericKeyIsTheChild) {
  auto list = ThreeStrings();
  EXPECT_EQ(list->Field(std::int32_t{2}), list->Child(2));
  EXPECT_EQ(list->Field(1.0), list->Child(1));
  EXPECT_EQ(list->Field(std::int32_t{5}), nullptr);
  EXPECT_EQ(list->Field(std::string("1")), list.get());
}

TEST(JsonList, NameAndChildNamesTheIndex) {
  auto list = ThreeStrings();
  std::string name;
  EXPECT_EQ(list->NameAndChild(2, name), list->Child(2));
  EXPECT_EQ(name, "2");
}

TEST(JsonList, TypedReadsOfMatchingChildren) {
  TJsonList list;
  list.Add(TJsonNumber::Generate(-2.9));
  list.Add(TJsonString::Generate(u"\u00fc\u20ac"));
  list.Add(TJsonBoolean::Generate(true));
  EXPECT_EQ(list.GetInteger(0), -2);  // truncated toward zero
  EXPECT_EQ(list.GetDouble(0), -2.9);
  EXPECT_EQ(list.GetString(1), "\xFC\x80");
  EXPECT_EQ(list.GetWideString(1), u"\u00fc\u20ac");
  EXPECT_TRUE(list.GetBoolean(2));
}

TEST(JsonList, TypedReadsOfAMissingChildAreNeutral) {
  TJsonList list;
  EXPECT_EQ(list.GetInteger(0), 0);
  EXPECT_EQ(list.GetDouble(-1), 0);
  EXPECT_EQ(list.GetString(7), "");
  EXPECT_EQ(list.GetWideString(0), u"");
  EXPECT_FALSE(list.GetBoolean(0));
}

TEST(JsonList, TypedReadsOfAnotherKindAreTypeCastErrors) {
  TJsonList list;
  list.Add(TJsonString::Generate(u"1"));
  list.Add(TJsonNumber::Generate(1));
  list.Add(std::make_unique<TJsonNull>());
  EXPECT_THROW(list.GetInteger(0), TJsonTypeCastError);
  EXPECT_THROW(list.GetDouble(0), TJsonTypeCastError);
  EXPECT_THROW(list.GetBoolean(0), TJsonTypeCastError);
  EXPECT_THROW(list.GetString(1), TJsonTypeCastError);
  EXPECT_THROW(list.GetWideString(2), TJsonTypeCastError);
  try {
    list.GetBoolean(1);
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Ung\xFCltige Typumwandlung");
  }
}

TEST(JsonList, IntegerReadsOutsideTheIntegerRangeFail) {
  TJsonList list;
  list.Add(TJsonNumber::Generate(3e9));
  EXPECT_THROW(list.GetInteger(0), TJsonConversionError);
}

TEST(JsonObject, SetOrAddCreatesFieldsOfTheMatchingKind) {
  TJsonObject object;
  object.SetString("s", "\xE4");
  object.SetBoolean("b", false);
  object.SetInteger("i", 7);
  object.SetDouble("d", 0.5);
  object.SetCurrency("c", Currency{12345});
  EXPECT_EQ(TJsonText::GenerateText(object),
            "{\"s\":\"\xE4\",\"b\":false,\"i\":7,\"d\":0.5,"
            "\"c\":1.2345}");
}

TEST(JsonObject, SetOnAnExistingFieldReplacesItInPlace) {
  TJsonObject object;
  object.SetString("a", "x");
  object.SetString("b", "y");
  TJsonBase* before = object.FieldByName(u"a");
  object.SetString("a", "z");
  EXPECT_EQ(object.FieldByName(u"a"), before);
  EXPECT_EQ(TJsonText::GenerateText(object), R"({"a":"z","b":"y"})");
  object.SetInteger("b", 3);  // a string field stays a string
  EXPECT_EQ(TJsonText::GenerateText(object), R"({"a":"z","b":"3"})");
  object.SetBoolean("c", true);
  EXPECT_THROW(object.SetString("c", "vielleicht"), TJsonConversionError);
}

TEST(JsonObject, ASecondFieldOfANameIsWrittenButLookupsFindTheFirst) {
  for (const bool use_tree : {true, false}) {
    TJsonObject object(use_tree);
    object.Add(u"a", Str(u"first"));
    object.Add(u"b", Str(u"other"));
    EXPECT_EQ(object.Add(u"a", Str(u"second")), 2);
    EXPECT_EQ(TJsonText::GenerateText(object), R"({"a":"first","b":"other","a":"second"})");
    EXPECT_EQ(object.IndexOfName(u"a"), 0) << use_tree;
    EXPECT_EQ(object.GetWideString(2), u"first");  // by name, so the first field's value
    object.SetString("a", "changed");
    EXPECT_EQ(TJsonText::GenerateText(object), R"({"a":"changed","b":"other","a":"second"})");
  }
}

TEST(JsonObject, LookupsByNameAndIndex) {
  for (const bool use_tree : {true, false}) {
    TJsonObject object(use_tree);
    EXPECT_EQ(object.UseNameTree(), use_tree);
    object.Add(u"Name", Str(u"x"));
    object.Add(u"", Str(u"unnamed"));
    EXPECT_EQ(object.Add(u"n", nullptr), -1);
    EXPECT_EQ(object.Count(), 2);
    EXPECT_EQ(object.IndexOfName(u"Name"), 0);
    EXPECT_EQ(object.IndexOfName(u"name"), -1);  // case-sensitive
    EXPECT_EQ(object.IndexOfName(u"n"), -1);
    EXPECT_EQ(object.FieldByName(u"missing"), nullptr);
    EXPECT_EQ(object.NameOf(0), u"Name");
    EXPECT_EQ(object.NameOf(2), u"");
    EXPECT_EQ(object.FieldByIndex(0), object.FieldByName(u"Name"));
    EXPECT_EQ(object.FieldByIndex(1), nullptr);  // an empty name finds nothing
    EXPECT_EQ(object.Field(std::string("Name")), object.FieldByName(u"Name"));
    EXPECT_EQ(object.Field(std::int32_t{0}), object.Child(0));  // the field pair
    std::string name;
    EXPECT_EQ(object.NameAndChild(0, name), object.FieldByName(u"Name"));
    EXPECT_EQ(name, "Name");
  }
}

TEST(JsonObject, TypedReadsGoThroughTheFieldValues) {
  TJsonObject object;
  object.SetDouble("n", 4.75);
  object.SetString("s", "t");
  EXPECT_EQ(object.GetInteger(0), 4);
  EXPECT_EQ(object.GetString(1), "t");
  EXPECT_EQ(object.GetDouble(5), 0);
  EXPECT_THROW(object.GetBoolean(1), TJsonTypeCastError);
}

TEST(JsonObject, DeleteMovesTheLastFieldButKeepsTheOldNameIndex) {
  TJsonObject object;
  object.SetString("a", "1");
  object.SetString("b", "2");
  object.SetString("c", "3");
  object.Delete(0);
  EXPECT_EQ(TJsonText::GenerateText(object), R"({"c":"3","b":"2"})");
  // The tree still says "c" is at 2, which is now outside the range.
  EXPECT_EQ(object.FieldByName(u"c"), nullptr);
  EXPECT_EQ(object.GetString(0), "");
}

}  // namespace
}  // namespace zw
