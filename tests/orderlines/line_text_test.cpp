#include "orderlines/line_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace zw {
namespace {

TEST(LineText, HoldsTextsOfEveryLengthAroundTheInlineRoom) {
  for (const std::size_t length : {0u, 1u, 6u, 7u, 8u, 9u, 15u, 16u, 300u}) {
    const std::string text(length, 'x');
    LineText value;
    value = text;
    EXPECT_EQ(value.size(), length);
    EXPECT_EQ(value.empty(), length == 0);
    EXPECT_EQ(value, text);
    EXPECT_EQ(std::string_view(value), text);
    EXPECT_EQ(value.str(), text);
  }
  EXPECT_EQ(sizeof(LineText), 8u);
}

TEST(LineText, CopiesMovesAndClears) {
  LineText long_text;
  long_text = "Masse in mm: 500 X 400 = 0,40 m\xB2";
  LineText copy(long_text);
  EXPECT_EQ(copy, long_text);
  EXPECT_NE(copy.data(), long_text.data());
  LineText moved(std::move(copy));
  EXPECT_EQ(moved, long_text);
  EXPECT_TRUE(copy.empty());  // NOLINT: a moved-from text is empty
  LineText short_text;
  short_text = "15,2";
  moved = short_text;
  EXPECT_EQ(moved, "15,2");
  moved = std::move(long_text);
  EXPECT_EQ(moved, "Masse in mm: 500 X 400 = 0,40 m\xB2");
  moved.clear();
  EXPECT_TRUE(moved.empty());
  EXPECT_EQ(moved, "");
}

TEST(LineText, TakesAViewWithoutDataAsEmpty) {
  // A default view has no data pointer; the sanitizer build checks that none reaches memcpy.
  LineText text("Float 3mm");
  text = std::string_view();
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(LineText(std::string_view()), "");
}

TEST(LineText, TakesAPartOfItselfAndAppendsToItself) {
  LineText text;
  text = "Float 3mm klar, Position 12345";
  text = text.view().substr(6);
  EXPECT_EQ(text, "3mm klar, Position 12345");
  text = text.view().substr(0, 3);
  EXPECT_EQ(text, "3mm");
  text.append("  ").append(text);
  EXPECT_EQ(text, "3mm  3mm  ");
  text += std::string(20, 'y');
  EXPECT_EQ(text, "3mm  3mm  " + std::string(20, 'y'));
  text.resize(4);
  EXPECT_EQ(text, "3mm ");
  EXPECT_EQ(text.find(' '), 3u);
  EXPECT_EQ(text.substr(1), "mm ");
  std::ostringstream printed;
  printed << text;
  EXPECT_EQ(printed.str(), "3mm ");
}

TEST(LineText, StoredTextsReadBackAcrossTheStoresBlocks) {
  // Enough texts of every length to fill several of the store's blocks, and some larger than
  // a block, all still readable at the end.
  LineTextStore store;
  std::vector<LineText> texts(3000);
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::size_t length = i % 7 == 0 ? 20000 + i : i % 40;
    expected.push_back(std::string(length, static_cast<char>('a' + i % 26)));
    texts[i].AssignStored(expected.back(), store);
  }
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], expected[i]) << i;
}

TEST(LineText, ACopyOrAMoveOfAStoredTextOutlivesTheStore) {
  LineText copied;
  LineText moved;
  LineText assigned;
  {
    LineTextStore store;
    LineText stored;
    stored.AssignStored("Float 3mm klar, Position 12345", store);
    copied = stored;
    LineText other;
    other.AssignStored("Masse in mm: 500 X 400 = 0,40 m\xB2", store);
    moved = std::move(other);
    LineText third;
    third.AssignStored("Position 7 of 12", store);
    assigned = LineText(std::move(third));
    EXPECT_TRUE(other.empty());  // NOLINT: a moved-from text is empty
  }
  // The sanitizer build reports any read of the freed store.
  EXPECT_EQ(copied, "Float 3mm klar, Position 12345");
  EXPECT_EQ(moved, "Masse in mm: 500 X 400 = 0,40 m\xB2");
  EXPECT_EQ(assigned, "Position 7 of 12");
}

TEST(LineText, AStoredTextTakesAPartOfItselfAndAppends) {
  LineTextStore store;
  LineText text;
  text.AssignStored("Float 3mm klar, Position 12345", store);
  text.AssignStored(text.view().substr(6), store);
  EXPECT_EQ(text, "3mm klar, Position 12345");
  text.append("  Zusatz");
  EXPECT_EQ(text, "3mm klar, Position 12345  Zusatz");
  text.AssignStored("kurz", store);
  EXPECT_EQ(text, "kurz");
}

}  // namespace
}  // namespace zw
