#include "orderlines/amount_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

#include "base/number_text.h"

namespace zw {
namespace {

// --- Amounts with three decimals -----------------------------------------------------------

TEST(FormatAmount3, ZeroEmptyAndNonNumericTextsGiveNothing) {
  for (const char* text : {"", "0", "0,000", "-0", "abc", "1.5", ",", "12 kg"}) {
    EXPECT_EQ(FormatAmount3(text, ',', '.'), "") << text;
  }
}

TEST(FormatAmount3, WritesExactlyThreeDecimalsAndAtLeastOneIntegerDigit) {
  EXPECT_EQ(FormatAmount3("2", ',', '.'), "2,000");
  EXPECT_EQ(FormatAmount3("15,2", ',', '.'), "15,200");
  EXPECT_EQ(FormatAmount3("0,5", ',', '.'), "0,500");
  EXPECT_EQ(FormatAmount3(",25", ',', '.'), "0,250");
  EXPECT_EQ(FormatAmount3("999", ',', '.'), "999,000");
}

TEST(FormatAmount3, GroupsIntegerDigitsInThrees) {
  EXPECT_EQ(FormatAmount3("1234,5", ',', '.'), "1.234,500");
  EXPECT_EQ(FormatAmount3("1234567,5", ',', '.'), "1.234.567,500");
  EXPECT_EQ(FormatAmount3("123456", ',', '.'), "123.456,000");
  EXPECT_EQ(FormatAmount3("1000000000", ',', '.'), "1.000.000.000,000");
}

TEST(FormatAmount3, UsesTheGivenSeparatorsForReadingAndWriting) {
  EXPECT_EQ(FormatAmount3("1234567.5", '.', ','), "1,234,567.500");
  // A comma is not a number under a decimal point.
  EXPECT_EQ(FormatAmount3("1234567,5", '.', ','), "");
  EXPECT_EQ(FormatAmount3("1234,5", ',', '\''), "1'234,500");
}

TEST(FormatAmount3, NegativeAmountsHaveALeadingMinus) {
  EXPECT_EQ(FormatAmount3("-1234,5", ',', '.'), "-1.234,500");
  EXPECT_EQ(FormatAmount3("-0,25", ',', '.'), "-0,250");
  EXPECT_EQ(FormatAmount3("-123456", ',', '.'), "-123.456,000");
}

TEST(FormatAmount3, RoundsHalfAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(FormatAmount3("2,0005", ',', '.'), "2,001");
  // 1.0005 is held slightly below its decimal value and must still round up.
  EXPECT_EQ(FormatAmount3("1,0005", ',', '.'), "1,001");
  EXPECT_EQ(FormatAmount3("-2,0005", ',', '.'), "-2,001");
  EXPECT_EQ(FormatAmount3("0,0005", ',', '.'), "0,001");
  EXPECT_EQ(FormatAmount3("2,00049", ',', '.'), "2,000");
  EXPECT_EQ(FormatAmount3("2,1234", ',', '.'), "2,123");
  EXPECT_EQ(FormatAmount3("2,1236", ',', '.'), "2,124");
}

TEST(FormatAmount3, CarryCanAddAnIntegerDigitAndAGroup) {
  EXPECT_EQ(FormatAmount3("999,9995", ',', '.'), "1.000,000");
  EXPECT_EQ(FormatAmount3("-999,9995", ',', '.'), "-1.000,000");
  EXPECT_EQ(FormatAmount3("9,9996", ',', '.'), "10,000");
}

TEST(FormatAmount3, ReadsTheTextAsANumberReaderDoes) {
  EXPECT_EQ(FormatAmount3("+1,5", ',', '.'), "1,500");
  EXPECT_EQ(FormatAmount3(" 2 ", ',', '.'), "2,000");
  EXPECT_EQ(FormatAmount3("1,5e3", ',', '.'), "1.500,000");
  EXPECT_EQ(FormatAmount3("-1E-4", ',', '.'), "0,000");
  EXPECT_EQ(FormatAmount3("5,", ',', '.'), "5,000");
  EXPECT_EQ(FormatAmount3("-,5", ',', '.'), "-0,500");
  // Grouped or doubly separated texts are no numbers.
  EXPECT_EQ(FormatAmount3("1.234,5", ',', '.'), "");
  EXPECT_EQ(FormatAmount3("1,2,3", ',', '.'), "");
  EXPECT_EQ(FormatAmount3("-", ',', '.'), "");
}

TEST(FormatAmount3, RoundsTheShortestFormOfTheNumberRead) {
  // More digits than a double holds: the text reads as 2.0005, which rounds up.
  EXPECT_EQ(FormatAmount3("2,00049999999999999", ',', '.'), "2,001");
  EXPECT_EQ(FormatAmount3("0,99999999999999999", ',', '.'), "1,000");
  EXPECT_EQ(FormatAmount3("1234567890123456,7895", ',', '.'), "1.234.567.890.123.456,800");
  EXPECT_EQ(FormatAmount3("123456789012345678901,5", ',', '.'), "123.456.789.012.345.680.000,000");
  EXPECT_EQ(FormatAmount3("0,000000000000000000000001", ',', '.'), "0,000");
  // The digits of a large number are the ones written, not those of the nearest double.
  EXPECT_EQ(FormatAmount3("123456789012345000000", ',', '.'), "123.456.789.012.345.000.000,000");
  EXPECT_EQ(FormatAmount3("1,23456789012345E20", ',', '.'), "123.456.789.012.345.000.000,000");
}

TEST(FormatAmount3, PlainAndDecoratedTextsOfOneNumberAgree) {
  // A blank or a plus sign must not change the result, whatever the digits: short and long
  // digit runs, tiny and huge numbers, with many fives and nines where rounding and carrying
  // happen.
  std::mt19937 random(20240611);
  const auto digits = [&random](int count, bool first_nonzero) {
    std::string run;
    for (int d = 0; d < count; ++d) {
      run += d == 0 && first_nonzero ? "123455599"[random() % 9] : "0123455599"[random() % 10];
    }
    return run;
  };
  for (int i = 0; i < 30000; ++i) {
    const std::string significant = digits(1 + static_cast<int>(random() % 18), true);
    const auto split = random() % (significant.size() + 1);
    std::string text = random() % 4 == 0 ? "-" : "";
    switch (random() % 3) {
      case 0:  // large: zeros after the digits
        text += significant + std::string(random() % 12, '0');
        break;
      case 1:  // small: zeros before the digits
        text += "0," + std::string(random() % 24, '0') + significant;
        break;
      default:
        text += significant.substr(0, split) + "," + significant.substr(split);
        break;
    }
    const std::string plain = FormatAmount3(text, ',', '.');
    EXPECT_EQ(plain, FormatAmount3(" " + text + " ", ',', '.')) << text;
    if (text[0] != '-') {
      EXPECT_EQ(plain, FormatAmount3("+" + text, ',', '.')) << text;
    }
    EXPECT_EQ(plain.empty(), TextToNumber(text, ',') == 0) << text;
  }
}

TEST(FormatAmount3, AValueRoundingToZeroHasNoMinus) {
  EXPECT_EQ(FormatAmount3("-0,0004", ',', '.'), "0,000");
  EXPECT_EQ(FormatAmount3("0,0004", ',', '.'), "0,000");
}

// --- Prices with two decimals --------------------------------------------------------------

TEST(FormatPrice, WritesZeroAndExactlyTwoDecimals) {
  EXPECT_EQ(FormatPrice(0, ','), "0,00");
  EXPECT_EQ(FormatPrice(-0.0, ','), "0,00");
  EXPECT_EQ(FormatPrice(15.2, ','), "15,20");
  EXPECT_EQ(FormatPrice(3, ','), "3,00");
  EXPECT_EQ(FormatPrice(0.5, '.'), "0.50");
}

TEST(FormatPrice, NeverGroupsIntegerDigits) {
  EXPECT_EQ(FormatPrice(1234567.891, ','), "1234567,89");
  EXPECT_EQ(FormatPrice(1e20, ','), "100000000000000000000,00");
  EXPECT_EQ(FormatPrice(-1234.5, ','), "-1234,50");
}

TEST(FormatPrice, RoundsHalfAwayFromZeroOnTheDecimalValue) {
  EXPECT_EQ(FormatPrice(0.125, ','), "0,13");
  EXPECT_EQ(FormatPrice(-0.125, ','), "-0,13");
  EXPECT_EQ(FormatPrice(1.005, ','), "1,01");  // held slightly below 1.005
  EXPECT_EQ(FormatPrice(2.675, ','), "2,68");  // held slightly below 2.675
  EXPECT_EQ(FormatPrice(0.124, ','), "0,12");
  EXPECT_EQ(FormatPrice(99.995, ','), "100,00");
}

TEST(FormatPrice, AValueRoundingToZeroHasNoMinus) {
  EXPECT_EQ(FormatPrice(-0.001, ','), "0,00");
  EXPECT_EQ(FormatPrice(-0.004999, ','), "0,00");
  EXPECT_EQ(FormatPrice(-0.005, ','), "-0,01");
}

TEST(FormatPrice, RefusesValuesThatAreNoNumbers) {
  EXPECT_THROW(FormatPrice(std::numeric_limits<double>::infinity(), ','), std::invalid_argument);
  EXPECT_THROW(FormatPrice(std::nan(""), ','), std::invalid_argument);
}

TEST(FormatPrice, HandlesTheExtremesOfDouble) {
  const std::string largest = FormatPrice(std::numeric_limits<double>::max(), ',');
  EXPECT_EQ(largest.size(), 309u + 3u);
  EXPECT_EQ(largest.substr(0, 6), "179769");
  EXPECT_EQ(largest.substr(largest.size() - 3), ",00");
  EXPECT_EQ(FormatPrice(std::numeric_limits<double>::denorm_min(), ','), "0,00");
  EXPECT_EQ(FormatPrice(-std::numeric_limits<double>::denorm_min(), ','), "0,00");
}

}  // namespace
}  // namespace zw
