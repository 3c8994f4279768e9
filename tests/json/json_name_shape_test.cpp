#include <gtest/gtest.h>

#include <string>

#include "json/json_arena.h"
#include "json/json_name_shape.h"

namespace zw {
namespace {

TEST(JsonNameShape, TheSameNamesInTheSameOrderGiveTheSameShape) {
  TJsonArena arena;
  TJsonNameShape& empty = TJsonNameShape::Empty(arena);
  TJsonNameShape* price = empty.Next("Price");
  TJsonNameShape* unit = price->Next("Unit");
  EXPECT_EQ(empty.Next("Price"), price);
  EXPECT_EQ(price->Next("Unit"), unit);
  EXPECT_NE(empty.Next("Unit")->Next("Price"), unit);  // another order, another shape
  EXPECT_EQ(unit->Count(), 2);
  EXPECT_EQ(unit->Member(0).Name(), "Price");
  EXPECT_EQ(unit->Member(1).Name(), "Unit");
}

TEST(JsonNameShape, ANameAlreadyInTheShapeHasNoNextShape) {
  TJsonArena arena;
  TJsonNameShape* shape = TJsonNameShape::Empty(arena).Next("a")->Next("bb")->Next("");
  EXPECT_EQ(shape->Next("a"), nullptr);
  EXPECT_EQ(shape->Next("bb"), nullptr);
  EXPECT_EQ(shape->Next(""), nullptr);
  EXPECT_EQ(shape->IndexOf("bb"), 1);
  EXPECT_EQ(shape->IndexOf("b"), -1);
  EXPECT_EQ(shape->IndexOf("A"), -1);  // case-sensitive
}

TEST(JsonNameShape, NamesOfEveryLengthCompareByAllTheirBytes) {
  TJsonArena arena;
  TJsonNameShape& empty = TJsonNameShape::Empty(arena);
  for (std::size_t size = 1; size <= 40; ++size) {
    const std::string name(size, 'n');
    TJsonNameShape* shape = empty.Next(name);
    for (std::size_t at = 0; at < size; ++at) {
      std::string other = name;
      other[at] = 'x';
      EXPECT_NE(shape->Next(other), nullptr) << size << " " << at;
      EXPECT_EQ(shape->IndexOf(other), -1) << size << " " << at;
    }
    EXPECT_EQ(shape->Next(name), nullptr) << size;
  }
}

TEST(JsonNameShape, ManyDifferentNamesAfterOneShapeAreAllFound) {
  TJsonArena arena;
  TJsonNameShape& empty = TJsonNameShape::Empty(arena);
  for (int round = 0; round < 2; ++round) {
    for (int n = 0; n < 50; ++n) {
      const std::string name = "name" + std::to_string(n);
      TJsonNameShape* shape = empty.Next(name);
      ASSERT_NE(shape, nullptr);
      EXPECT_EQ(shape->Count(), 1);
      EXPECT_EQ(shape->Name(), name);
    }
  }
}

TEST(JsonNameShape, TheLeadIsTheEscapedNameBetweenItsPunctuation) {
  TJsonArena arena;
  TJsonNameShape* shape = TJsonNameShape::Empty(arena).Next("a\"/\\\x80\x01\xE4");
  EXPECT_EQ(shape->Lead(), ",\"a\\\"\\/\\\\\\u20ac\\u0001\xE4\":\"");
}

}  // namespace
}  // namespace zw
