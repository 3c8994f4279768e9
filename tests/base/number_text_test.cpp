#include "base/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace zw {
namespace {

struct CellCase {
  const char* cell;
  double number;
};

TEST(NumberTextTest, CellTextsWithCommaSeparator) {
  const CellCase cases[] = {
      {"1.234,50", 1234.5},
      {"CHF 15,20", 15.2},
      {"-3,5", -3.5},
      {"3,5-", 3.5},
      {" -3,5", 3.5},
      {"12,5 %", 12.5},
      {"1,2,3", 0},
      {"abc", 0},
      {"", 0},
      {"(1,)", 1},
      {"-", 0},
      {"1 000", 1000},
  };
  for (const CellCase& c : cases) {
    EXPECT_DOUBLE_EQ(CellNumber(c.cell, ','), c.number) << "cell \"" << c.cell << "\"";
  }
}

TEST(NumberTextTest, CellTextsWithPointSeparator) {
  EXPECT_DOUBLE_EQ(CellNumber("1.234,50", '.'), 1.2345);
  EXPECT_DOUBLE_EQ(CellNumber("15,20", '.'), 1520);
}

TEST(NumberTextTest, CleaningKeepsDigitsSeparatorAndLeadingMinus) {
  EXPECT_EQ(CleanNumberText("-1.234,50 EUR", ','), "-1234,50");
  EXPECT_EQ(CleanNumberText("1.234,50", '.'), "1.23450");
  EXPECT_EQ(CleanNumberText("--5", ','), "-5");
  EXPECT_EQ(CleanNumberText(" -5", ','), "5");
  EXPECT_EQ(CleanNumberText("1E3", ','), "13");
  EXPECT_EQ(CleanNumberText("", ','), "");
}

struct TextCase {
  const char* text;
  double number;
};

TEST(NumberTextTest, TextToNumberReadsTheDecimalForm) {
  const TextCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"2,5", 2.5},
      {",5", 0.5},
      {"5,", 5},
      {",", 0},
      {"-,", 0},
      {"+7", 7},
      {"-3,25", -3.25},
      {"  2,5  ", 2.5},
      {"1E3", 1000},
      {"1e3", 1000},
      {"2,5E-2", 0.025},
      {"1E+2", 100},
      {",5e1", 5},
      {"007", 7},
      {"1E-400", 0},
      {"0,1", 0.1},
      {"123456789012345678", 123456789012345678.0},
  };
  for (const TextCase& c : cases) {
    EXPECT_DOUBLE_EQ(TextToNumber(c.text, ','), c.number) << "text \"" << c.text << "\"";
  }
}

TEST(NumberTextTest, TextThatIsNotANumberReadsZero) {
  const char* const texts[] = {"",    "   ",  "-",     "+",    "abc",   "1E",    "1E-",
                               "E5",  "2,5x", "1,2,3", "1 2",  "--1",   "+-1",   "2,5.",
                               "1.5", "\t1",  "1E3,5", "0x10", "1e400", "1E400", "-1E400"};
  for (const char* text : texts) {
    EXPECT_EQ(TextToNumber(text, ','), 0.0) << "text \"" << text << "\"";
  }
}

TEST(NumberTextTest, TextToNumberUsesOnlyTheGivenSeparator) {
  EXPECT_DOUBLE_EQ(TextToNumber("1.5", '.'), 1.5);
  EXPECT_EQ(TextToNumber("1,5", '.'), 0.0);
  EXPECT_DOUBLE_EQ(TextToNumber("1234.5", '.'), 1234.5);
  EXPECT_DOUBLE_EQ(TextToNumber("1234,5", ','), 1234.5);
  EXPECT_EQ(TextToNumber("1234.5", ','), 0.0);
}

struct FormatCase {
  double value;
  const char* text;
};

TEST(NumberTextTest, FormatNumberWritesGeneralFormWithFifteenDigits) {
  const FormatCase cases[] = {
      {15.2, "15,2"},
      {2, "2"},
      {0, "0"},
      {-0.0, "0"},
      {1.0 / 3.0, "0,333333333333333"},
      {2.0 / 3.0, "0,666666666666667"},
      {-3.5, "-3,5"},
      {0.1 + 0.2, "0,3"},
      {30.4 / 2, "15,2"},
      {100, "100"},
      {1234567.25, "1234567,25"},
      {0.0001, "0,0001"},
      {-0.00012, "-0,00012"},
      {999999999999999, "999999999999999"},
      {123456789012345.6, "123456789012346"},
      {1e15, "1E15"},
      {1.5e20, "1,5E20"},
      {1e-5, "1E-5"},
      {-2.5e-7, "-2,5E-7"},
      {999999999999999.9, "1E15"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, ','), c.text) << "value " << c.value;
  }
}

// The general format by its classic definition: "%.15g", its point replaced, its exponent
// written as E with a minus sign only and without leading zeros.
std::string PrintedGeneral(double value) {
  char printed[64];
  std::snprintf(printed, sizeof printed, "%.15g", value);
  std::string text = printed;
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  const bool negative = text[e + 1] == '-';
  std::string exponent = text.substr(e + 2);
  exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
  return text.substr(0, e) + (negative ? "E-" : "E") + exponent;
}

TEST(NumberTextTest, FormatNumberAgreesWithTheClassicGeneralFormAtEveryMagnitude) {
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-320, 308);
  std::uniform_int_distribution<int> cents(-100000, 100000);
  for (int i = 0; i < 20000; ++i) {
    const double values[] = {
        mantissa(random) * std::pow(10.0, exponent(random)), cents(random) / 100.0,
        cents(random) / 7.0, static_cast<double>(cents(random)) * 1e10,
        static_cast<double>(cents(random)), cents(random) / 10.0,
        // Hundredths near the largest and smallest written without an
        // exponent, and amounts of many digits.
        9999999999999.99 - cents(random) / 100.0, 1e13 + cents(random) / 100.0, 0.01 * (1 + i % 3),
        static_cast<double>(cents(random)) * 1e7 + cents(random) / 100.0};
    for (const double value : values) {
      if (value == 0 || !std::isfinite(value)) continue;
      ASSERT_EQ(FormatNumber(value, '.'), PrintedGeneral(value)) << "value " << value;
    }
  }
}

// Values at and next to the rounding boundaries of 15 significant digits, 16-digit decimals
// ending in 5, where the shortest digits of a value and the value itself may round apart; and
// runs of nines whose rounding carries into a new digit and an exponent one higher.
TEST(NumberTextTest, FormatNumberRoundsAtTheBoundariesOfFifteenDigitsAsTheClassicForm) {
  std::mt19937_64 random(9122026);
  std::uniform_int_distribution<std::int64_t> fifteen_digits(100000000000000, 999999999999999);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 20000; ++i) {
    const std::string boundary =
        std::to_string(fifteen_digits(random)) + "5e" + std::to_string(exponent(random) - 15);
    const double value = std::strtod(boundary.c_str(), nullptr);
    for (const double near :
         {value, std::nextafter(value, 0.0), std::nextafter(value, 1e300), -value}) {
      ASSERT_EQ(FormatNumber(near, '.'), PrintedGeneral(near)) << boundary;
    }
  }
  for (int digits = 15; digits <= 17; ++digits) {
    for (int point = 1; point <= digits; ++point) {
      std::string nines(static_cast<std::size_t>(digits), '9');
      nines.insert(static_cast<std::size_t>(point), ".");
      const double value = std::strtod(nines.c_str(), nullptr);
      for (const double near : {value, std::nextafter(value, 0.0)})
        ASSERT_EQ(FormatNumber(near, '.'), PrintedGeneral(near)) << nines;
    }
  }
}

TEST(NumberTextTest, FormatNumberUsesTheSeparatorGiven) {
  EXPECT_EQ(FormatNumber(15.2, '.'), "15.2");
  EXPECT_EQ(FormatNumber(1.5e20, '.'), "1.5E20");
  EXPECT_EQ(FormatNumber(15.2, ','), "15,2");
}

TEST(NumberTextTest, FormatNumberWritesZeroForNonFiniteValues) {
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), ','), "0");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), ','), "0");
}

TEST(NumberTextTest, FormattedNumbersReadBackUnchanged) {
  const double values[] = {15.2, -3.5, 0.0001, 1.5e20, 1e-5, 123456.789};
  for (const double value : values) {
    const std::string text = FormatNumber(value, ',');
    EXPECT_DOUBLE_EQ(TextToNumber(text, ','), value) << text;
  }
}

// CellNumber computes short numbers directly; it must agree with the general reader on every
// cell, including the sign of zero.
TEST(NumberTextTest, CellNumberAgreesWithCleaningAndReading) {
  std::mt19937 random(7);
  const std::string alphabet = "0123456789,,..--  aE%'";
  for (int i = 0; i < 20000; ++i) {
    std::string cell;
    const int length = static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) cell += alphabet[random() % alphabet.size()];
    for (const char separator : {',', '.'}) {
      const double expected = TextToNumber(CleanNumberText(cell, separator), separator);
      const double actual = CellNumber(cell, separator);
      EXPECT_EQ(actual, expected) << '"' << cell << '"';
      EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << '"' << cell << '"';
    }
  }
  for (const char* cell : {"0,1", "123456789012345", "1234567890123456", "0,0000000000000000000001",
                           "-0", "-", "9007199254740993", "0,30000000000000004"}) {
    EXPECT_EQ(CellNumber(cell, ','), TextToNumber(CleanNumberText(cell, ','), ',')) << cell;
  }
}

}  // namespace
}  // namespace zw

namespace zw {
namespace {

// The reading of JSON values: '.' beside the separator, any white space around, no lone
// separator, and "+-" as a minus.
struct ValueCase {
  const char* text;
  std::optional<double> number;
};

TEST(NumberTextTest, JsonValuesAreReadWithTheirOwnOptions) {
  const NumberReading json{.Separator = ',',
                           .PointToo = true,
                           .AnyWhiteSpace = true,
                           .NeedsDigit = true,
                           .PlusBeforeMinus = true};
  const ValueCase cases[] = {
      {"1,5", 1.5},          {"1.5", 1.5},
      {"\t 2\r\n", 2},       {"+-5", -5},
      {"-.5", -0.5},         {"5.", 5},
      {"1E3", 1000},         {",", std::nullopt},
      {"-,", std::nullopt},  {"1,5.3", std::nullopt},
      {"-+5", std::nullopt}, {"1e999", std::nullopt},
      {"inf", std::nullopt}, {"", std::nullopt},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(ReadNumber(c.text, json), c.number) << "text \"" << c.text << "\"";
  }
  // The same texts as cells: only blanks around, only the separator, a lone one is 0.
  EXPECT_EQ(ReadNumber("1.5", NumberReading{}), std::nullopt);
  EXPECT_EQ(ReadNumber("\t2", NumberReading{}), std::nullopt);
  EXPECT_EQ(ReadNumber(",", NumberReading{}), 0.0);
  EXPECT_EQ(ReadNumber("+-5", NumberReading{}), std::nullopt);
}

TEST(NumberTextTest, JsonNamesTheValuesThatAreNoNumbers) {
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), '.', NonFinite::Named), "NAN");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), '.', NonFinite::Named), "INF");
  EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity(), '.', NonFinite::Named), "-INF");
  EXPECT_EQ(FormatNumber(1.5e20, '.', NonFinite::Named), "1.5E20");
}

}  // namespace
}  // namespace zw
