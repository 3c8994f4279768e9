#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win1252.h"
#include "json/json_arena.h"
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

// Every object test runs on an object made with new and on one made by an arena, which keeps
// strings set by name packed until a caller needs their nodes: both must behave alike.
enum class Made { ByNew, InArena };

class JsonObject : public ::testing::TestWithParam<Made> {
 protected:
  std::unique_ptr<TJsonObject> NewObject(bool use_name_tree = true) {
    if (GetParam() == Made::InArena) return arena_.MakeObject(use_name_tree);
    return std::make_unique<TJsonObject>(use_name_tree);
  }

 private:
  TJsonArena arena_;
};

INSTANTIATE_TEST_SUITE_P(ByNewAndInArena, JsonObject, ::testing::Values(Made::ByNew, Made::InArena),
                         [](const auto& info) {
                           return info.param == Made::ByNew ? "ByNew" : "InArena";
                         });

TEST_P(JsonObject, SetOrAddCreatesFieldsOfTheMatchingKind) {
  auto object = NewObject();
  object->SetString("s", "\xE4");
  object->SetBoolean("b", false);
  object->SetInteger("i", 7);
  object->SetDouble("d", 0.5);
  object->SetCurrency("c", Currency{12345});
  EXPECT_EQ(TJsonText::GenerateText(*object),
            "{\"s\":\"\xE4\",\"b\":false,\"i\":7,\"d\":0.5,"
            "\"c\":1.2345}");
}

TEST_P(JsonObject, SetOnAnExistingFieldReplacesItInPlace) {
  auto object = NewObject();
  object->SetString("a", "x");
  object->SetString("b", "y");
  TJsonBase* before = object->FieldByName(u"a");
  object->SetString("a", "z");
  EXPECT_EQ(object->FieldByName(u"a"), before);
  EXPECT_EQ(TJsonText::GenerateText(*object), R"({"a":"z","b":"y"})");
  object->SetInteger("b", 3);  // a string field stays a string
  EXPECT_EQ(TJsonText::GenerateText(*object), R"({"a":"z","b":"3"})");
  object->SetBoolean("c", true);
  EXPECT_THROW(object->SetString("c", "vielleicht"), TJsonConversionError);
}

TEST_P(JsonObject, ASecondFieldOfANameIsWrittenButLookupsFindTheFirst) {
  for (const bool use_tree : {true, false}) {
    auto object = NewObject(use_tree);
    object->Add(u"a", Str(u"first"));
    object->Add(u"b", Str(u"other"));
    EXPECT_EQ(object->Add(u"a", Str(u"second")), 2);
    EXPECT_EQ(TJsonText::GenerateText(*object), R"({"a":"first","b":"other","a":"second"})");
    EXPECT_EQ(object->IndexOfName(u"a"), 0) << use_tree;
    EXPECT_EQ(object->GetWideString(2), u"first");  // by name, so the first field's value
    object->SetString("a", "changed");
    EXPECT_EQ(TJsonText::GenerateText(*object), R"({"a":"changed","b":"other","a":"second"})");
  }
}

TEST_P(JsonObject, LookupsByNameAndIndex) {
  for (const bool use_tree : {true, false}) {
    auto object = NewObject(use_tree);
    EXPECT_EQ(object->UseNameTree(), use_tree);
    object->Add(u"Name", Str(u"x"));
    object->Add(u"", Str(u"unnamed"));
    EXPECT_EQ(object->Add(u"n", nullptr), -1);
    EXPECT_EQ(object->Count(), 2);
    EXPECT_EQ(object->IndexOfName(u"Name"), 0);
    EXPECT_EQ(object->IndexOfName(u"name"), -1);  // case-sensitive
    EXPECT_EQ(object->IndexOfName(u"n"), -1);
    EXPECT_EQ(object->FieldByName(u"missing"), nullptr);
    EXPECT_EQ(object->NameOf(0), u"Name");
    EXPECT_EQ(object->NameOf(2), u"");
    EXPECT_EQ(object->FieldByIndex(0), object->FieldByName(u"Name"));
    EXPECT_EQ(object->FieldByIndex(1), nullptr);  // an empty name finds nothing
    EXPECT_EQ(object->Field(std::string("Name")), object->FieldByName(u"Name"));
    EXPECT_EQ(object->Field(std::int32_t{0}), object->Child(0));  // the field pair
    std::string name;
    EXPECT_EQ(object->NameAndChild(0, name), object->FieldByName(u"Name"));
    EXPECT_EQ(name, "Name");
  }
}

TEST_P(JsonObject, TypedReadsGoThroughTheFieldValues) {
  auto object = NewObject();
  object->SetDouble("n", 4.75);
  object->SetString("s", "t");
  EXPECT_EQ(object->GetInteger(0), 4);
  EXPECT_EQ(object->GetString(1), "t");
  EXPECT_EQ(object->GetDouble(5), 0);
  EXPECT_THROW(object->GetBoolean(1), TJsonTypeCastError);
}

TEST_P(JsonObject, DeleteMovesTheLastFieldButKeepsTheOldNameIndex) {
  auto object = NewObject();
  object->SetString("a", "1");
  object->SetString("b", "2");
  object->SetString("c", "3");
  object->Delete(0);
  EXPECT_EQ(TJsonText::GenerateText(*object), R"({"c":"3","b":"2"})");
  // The tree still says "c" is at 2, which is now outside the range.
  EXPECT_EQ(object->FieldByName(u"c"), nullptr);
  EXPECT_EQ(object->GetString(0), "");
}

// What an operation gives, as text, so that two objects' answers can be compared.
std::string Describe(const TJsonBase* value) {
  if (value == nullptr) return "null";
  if (value->Class() == JsonClass::Field) {
    const auto* field = static_cast<const TJsonObjectField*>(value);
    return "field " + Utf16ToWin1252(field->Name()) + "=" + Describe(field->Value());
  }
  return std::string(value->KindName()) + " " + TJsonText::GenerateText(value);
}

TEST(JsonPackedObject, EveryOperationActsAsOnAnObjectOfFields) {
  using Operation = std::function<std::string(TJsonObject&)>;
  const auto number = [](int n) { return std::to_string(n); };
  const std::vector<std::pair<const char*, Operation>> operations = {
      {"Count", [&](TJsonObject& o) { return number(o.Count()); }},
      {"Child", [](TJsonObject& o) { return Describe(o.Child(1)) + Describe(o.Child(3)); }},
      {"Field by name", [](TJsonObject& o) { return Describe(o.Field(std::string("b"))); }},
      {"Field by index", [](TJsonObject& o) { return Describe(o.Field(std::int32_t{2})); }},
      {"NameAndChild",
       [](TJsonObject& o) {
         std::string name;
         const TJsonBase* child = o.NameAndChild(2, name);
         return name + Describe(child);
       }},
      {"IndexOfName", [&](TJsonObject& o) { return number(o.IndexOfName(u"c")); }},
      {"FieldByName", [](TJsonObject& o) { return Describe(o.FieldByName(u"a")); }},
      {"NameOf", [](TJsonObject& o) { return Utf16ToWin1252(o.NameOf(1)); }},
      {"FieldByIndex", [](TJsonObject& o) { return Describe(o.FieldByIndex(0)); }},
      {"IndexOfChild", [&](TJsonObject& o) { return number(o.IndexOfChild(o.Child(2))); }},
      {"Delete",
       [](TJsonObject& o) {
         o.Delete(0);
         return Describe(o.FieldByName(u"c"));
       }},
      {"SetChild",
       [](TJsonObject& o) {
         o.SetChild(1, std::make_unique<TJsonNull>());
         return Describe(o.FieldByName(u"b"));
       }},
      {"AddChild", [&](TJsonObject& o) { return number(o.AddChild(TJsonNumber::Generate(1))); }},
      {"Add a second a",
       [&](TJsonObject& o) {
         return number(o.Add(u"a", Str(u"2"))) + number(o.IndexOfName(u"a"));
       }},
      {"SetString on a", [](TJsonObject& o) { return o.SetString("a", "z"), std::string(); }},
      {"SetInteger on b", [](TJsonObject& o) { return o.SetInteger("b", 3), std::string(); }},
      {"SetBoolean new", [](TJsonObject& o) { return o.SetBoolean("d", true), std::string(); }},
      {"GetString", [](TJsonObject& o) { return o.GetString(2) + o.GetString(7); }},
      {"GetWideString", [](TJsonObject& o) { return Utf16ToWin1252(o.GetWideString(0)); }},
      {"GetInteger",
       [](TJsonObject& o) {
         try {
           return std::to_string(o.GetInteger(0));
         } catch (const TJsonTypeCastError&) {
           return std::string("type cast error");
         }
       }},
      {"Thirty-three more strings",
       [](TJsonObject& o) {
         for (int i = 0; i < 33; ++i) o.SetString("m" + std::to_string(i), "v");
         return Describe(o.FieldByIndex(35));
       }},
  };
  for (const auto& [what, operation] : operations) {
    for (const bool use_tree : {true, false}) {
      TJsonArena arena;
      auto packed = arena.MakeObject(use_tree);
      TJsonObject fields(use_tree);
      for (TJsonObject* object : {packed.get(), &fields}) {
        object->SetString("a", "1\x80/");
        object->SetString("b", "");
        object->SetString("c", "three");
      }
      EXPECT_EQ(operation(*packed), operation(fields)) << what << " " << use_tree;
      EXPECT_EQ(TJsonText::GenerateText(*packed), TJsonText::GenerateText(fields))
          << what << " " << use_tree;
    }
  }
}

}  // namespace
}  // namespace zw
