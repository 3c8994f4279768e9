#include "orderlines/line_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

namespace zw {
namespace {

TEST(LineText, HoldsTextsOfEveryLengthAroundTheInlineRoom) {
  for (const std::size_t length : {0u, 1u, 14u, 15u, 16u, 17u, 300u}) {
    const std::string text(length, 'x');
    LineText value;
    value = text;
    EXPECT_EQ(value.size(), length);
    EXPECT_EQ(value.empty(), length == 0);
    EXPECT_EQ(value, text);
    EXPECT_EQ(std::string_view(value), text);
    EXPECT_EQ(value.str(), text);
  }
  EXPECT_EQ(sizeof(LineText), 16u);
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

}  // namespace
}  // namespace zw
