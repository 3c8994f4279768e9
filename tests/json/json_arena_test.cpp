#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "json/json_arena.h"
#include "json/json_list.h"
#include "json/json_object.h"
#include "json/json_text.h"

namespace zw {
namespace {

// A value that notes its destruction under its name.
class Probe : public TJsonNull {
 public:
  Probe(std::vector<std::string>& destroyed, std::string name)
      : destroyed_(destroyed), name_(std::move(name)) {}
  ~Probe() override { destroyed_.push_back(name_); }

 private:
  std::vector<std::string>& destroyed_;
  std::string name_;
};

TEST(JsonArena, ValuesMadeThereAreDestroyedByTheirOwnerLastChildFirst) {
  std::vector<std::string> destroyed;
  TJsonArena arena;
  {
    std::unique_ptr<TJsonList> list = arena.Make<TJsonList>();
    list->Add(arena.Make<Probe>(destroyed, "first"));
    list->Add(std::make_unique<Probe>(destroyed, "made with new"));
    list->Add(arena.Make<Probe>(destroyed, "last"));
    list->SetChild(0, arena.Make<Probe>(destroyed, "replacing first"));
    EXPECT_EQ(destroyed, (std::vector<std::string>{"first"}));
    EXPECT_EQ(TJsonText::GenerateText(*list), "[null,null,null]");
  }
  EXPECT_EQ(destroyed,
            (std::vector<std::string>{"first", "last", "made with new", "replacing first"}));
}

TEST(JsonArena, RoomsAreAlignedAndApart) {
  TJsonArena arena;
  std::vector<std::pair<unsigned char*, std::size_t>> rooms;
  // Sizes and alignments in every mix, beyond the first blocks and with one larger than any.
  for (std::size_t i = 0; i < 3000; ++i) {
    const std::size_t size = i == 1500 ? (std::size_t{3} << 20) : (i * 7) % 200;
    const std::size_t alignment = std::size_t{1} << (i % 5);
    auto* room = static_cast<unsigned char*>(arena.Allocate(size, alignment));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(room) % alignment, 0u) << i;
    std::memset(room, static_cast<int>(i % 251), size);
    rooms.emplace_back(room, size);
  }
  for (std::size_t i = 0; i < rooms.size(); ++i) {
    const auto [room, size] = rooms[i];
    for (std::size_t at = 0; at < size; at += 97) ASSERT_EQ(room[at], i % 251) << i;
  }
}

TEST(JsonArena, OnlyTheLastRoomGrowsInPlace) {
  TJsonArena arena;
  auto* first = static_cast<char*>(arena.Allocate(10, 1));
  EXPECT_TRUE(arena.Extend(first + 10, 6));
  EXPECT_FALSE(arena.Extend(first + 10, 1));  // no longer where the room ends
  auto* second = static_cast<char*>(arena.Allocate(4, 1));
  EXPECT_EQ(second, first + 16);
  EXPECT_FALSE(arena.Extend(first + 16, 1));  // another room follows it
  EXPECT_TRUE(arena.Extend(second + 4, 100));
  EXPECT_FALSE(arena.Extend(second + 104, std::size_t{1} << 30));  // beyond the block
}

TEST(JsonArena, ObjectsFilledByTurnsKeepTheirOwnTexts) {
  // Objects of one arena share their names; each keeps its own texts, also when members are
  // added to several objects by turns, which moves their rooms.
  TJsonArena arena;
  std::vector<std::unique_ptr<TJsonObject>> objects;
  for (int i = 0; i < 3; ++i) objects.push_back(arena.MakeObject(true));
  for (int member = 0; member < 20; ++member) {
    for (int i = 0; i < 3; ++i) {
      objects[i]->SetString("m" + std::to_string(member), std::to_string(i * 100 + member));
    }
  }
  EXPECT_EQ(objects[2]->GetString(19), "219");
  objects.clear();
  auto late = arena.MakeObject(true);
  late->SetString("m0", "x");
  EXPECT_EQ(TJsonText::GenerateText(*late), R"({"m0":"x"})");
}

}  // namespace
}  // namespace zw
