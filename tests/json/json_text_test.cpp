#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "base/win1252.h"
#include "json/json_arena.h"
#include "json/json_list.h"
#include "json/json_object.h"
#include "json/json_text.h"

namespace zw {
namespace {

std::string TextOf(const TJsonBase& value) { return TJsonText::GenerateText(value); }

// The generated form of a string value holding the given 8-bit text.
std::string StringText(const std::string& bytes) {
  return TextOf(TJsonString(Win1252ToUtf16(bytes)));
}

std::string NumberText(double value) { return TextOf(TJsonNumber(value)); }

TEST(JsonText, EmptyContainersAndScalars) {
  EXPECT_EQ(TextOf(TJsonObject()), "{}");
  EXPECT_EQ(TextOf(TJsonList()), "[]");
  EXPECT_EQ(TextOf(TJsonBoolean(true)), "true");
  EXPECT_EQ(TextOf(TJsonBoolean(false)), "false");
  EXPECT_EQ(TextOf(TJsonNull()), "null");
  EXPECT_EQ(TextOf(TJsonString()), "\"\"");
}

TEST(JsonText, ValuesOfNoJsonKindWriteNothing) {
  EXPECT_EQ(TJsonText::GenerateText(nullptr), "");
  EXPECT_EQ(TextOf(TJsonBase()), "");
  EXPECT_EQ(TextOf(TJsonObjectField(u"a", TJsonNumber::Generate(1))), "");
}

TEST(JsonText, ObjectFieldsInInsertionOrderWithoutBlanks) {
  TJsonObject object;
  object.Add(u"a", TJsonString::Generate(u"x"));
  object.Add(u"b", TJsonBoolean::Generate(true));
  EXPECT_EQ(TextOf(object), R"({"a":"x","b":true})");
}

TEST(JsonText, NestedListsAndObjects) {
  TJsonObject root;
  auto list = std::make_unique<TJsonList>();
  list->Add(std::make_unique<TJsonObject>());
  list->Add(std::make_unique<TJsonNull>());
  list->Add(std::make_unique<TJsonList>());
  list->Add(TJsonNumber::Generate(-3));
  root.Add(u"z", std::move(list));
  root.Add(u"a", TJsonString::Generate(u""));
  EXPECT_EQ(TextOf(root), R"({"z":[{},null,[],-3],"a":""})");
}

TEST(JsonText, FieldNamesAreEscapedLikeStrings) {
  TJsonObject object;
  object.Add(u"a\"/\u20ac", std::make_unique<TJsonNull>());
  EXPECT_EQ(TextOf(object), R"({"a\"\/\u20ac":null})");
}

TEST(JsonText, TheEscapesOfTheCommonCharacters) {
  EXPECT_EQ(StringText("\"/\\\t\x80"), R"("\"\/\\\t\u20ac")");
  EXPECT_EQ(StringText(std::string(1, '\x01')), R"("\u0001")");
  EXPECT_EQ(StringText("\xE4"), "\"\xE4\"");  // a umlaut stays one byte, not UTF-8
  EXPECT_EQ(StringText("\xF6\xDF"), "\"\xF6\xDF\"");
}

TEST(JsonText, EveryByteIsEscapedAsTheWireFormatRequires) {
  for (int byte = 0; byte < 256; ++byte) {
    std::string expected;
    switch (byte) {
      case 0x08:
        expected = "\\b";
        break;
      case 0x09:
        expected = "\\t";
        break;
      case 0x0A:
        expected = "\\n";
        break;
      case 0x0C:
        expected = "\\f";
        break;
      case 0x0D:
        expected = "\\r";
        break;
      case 0x22:
        expected = "\\\"";
        break;
      case 0x2F:
        expected = "\\/";
        break;
      case 0x5C:
        expected = "\\\\";
        break;
      case 0x80:
        expected = "\\u20ac";
        break;
      default:
        if (byte < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(byte));
          expected = escape;
        } else {
          expected = std::string(1, static_cast<char>(byte));
        }
    }
    EXPECT_EQ(StringText(std::string(1, static_cast<char>(byte))), "\"" + expected + "\"")
        << "byte " << byte;
  }
}

// The text of an object with one string member set by name: packed when made by an arena.
std::string MemberText(bool packed, const std::string& name, const std::string& value) {
  TJsonArena arena;
  std::unique_ptr<TJsonObject> object =
      packed ? arena.MakeObject(true) : std::make_unique<TJsonObject>(true);
  object->SetString(name, value);
  object->SetString("next", value);
  return TextOf(*object);
}

TEST(JsonText, PackedMembersAreWrittenAsFieldsAre) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string text(1, static_cast<char>(byte));
    EXPECT_EQ(MemberText(true, "n", text), MemberText(false, "n", text)) << "byte " << byte;
    EXPECT_EQ(MemberText(true, text, "v"), MemberText(false, text, "v")) << "byte " << byte;
  }
  // Texts are checked for escapes a word at a time: a byte to escape at every place of every
  // length up to five words, among the bytes next to those to escape.
  for (std::size_t size = 1; size <= 40; ++size) {
    for (std::size_t at = 0; at < size; ++at) {
      for (const char around : {' ', '!', '\x81', '\xFF'}) {
        for (const char escaped : {'"', '\x1F', '\x80', '/', '\\'}) {
          std::string text(size, around);
          text[at] = escaped;
          ASSERT_EQ(MemberText(true, "n", text), MemberText(false, "n", text))
              << size << " " << at << " " << static_cast<int>(escaped);
        }
      }
    }
  }
}

TEST(JsonText, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(TextOf(TJsonString(u"\u0416x")), R"("?x")");
}

TEST(JsonText, NumbersInGeneralFormat) {
  EXPECT_EQ(NumberText(1.5), "1.5");
  EXPECT_EQ(NumberText(2.0), "2");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-0.25), "-0.25");
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");  // 15 significant digits
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberText(1234567.0), "1234567");  // no thousands separators
  EXPECT_EQ(NumberText(0.0001), "0.0001");
  EXPECT_EQ(NumberText(1e15), "1E15");
  EXPECT_EQ(NumberText(1.5e20), "1.5E20");
  EXPECT_EQ(NumberText(0.00001), "1E-5");
  EXPECT_EQ(NumberText(-2.5e-10), "-2.5E-10");
}

TEST(JsonText, ALongDocumentIsWrittenWhole) {
  // Well beyond the first buffer step of 50,000 bytes.
  TJsonList list;
  for (int i = 0; i < 20000; ++i) list.Add(TJsonString::Generate(u"abcdefgh"));
  const std::string text = TextOf(list);
  EXPECT_EQ(text.size(), 2 + 20000 * 10 + 19999u);
  EXPECT_EQ(text.substr(0, 14), R"(["abcdefgh","a)");
  EXPECT_EQ(text.substr(text.size() - 12), R"(,"abcdefgh"])");
}

}  // namespace
}  // namespace zw
