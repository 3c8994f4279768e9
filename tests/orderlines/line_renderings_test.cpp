#include "orderlines/line_renderings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/regional_settings.h"
#include "mapping/number_text.h"

namespace zw {
namespace {

// German separators unless a test sets others; the process-wide settings are restored after
// every test.
class LineRenderings : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = Settings();
    SetNumberSeparators(',', '.');
    SetListSeparator(';');
  }
  void TearDown() override { ApplySettings(saved_); }

 private:
  RegionalSettings saved_;
};

// The line of the worked examples: a glass pane with a long text holding m-squared (0xB2).
TDataGridLine& AddFloatGlass(TCustomDataGridLines& lines) {
  TDataGridLine& line = lines.Add();
  line.Pos = "1";
  line.Stueck = "2";
  line.Bezeichnung1 = "Float 3mm";
  line.Einzelbetrag = "15,2";
  line.Steuer = "8";
  line.Second = "Masse in mm: 500 X 400 = 0,40 m\xB2";
  return line;
}

// Everything in the HTML table before the first line's row.
const std::string kTableStart =
    "<div><font face=\"verdana,Tahoma,arial,helvetica\"><table width=\"100%\" border=1 "
    "cellpadding=1 bordercolor=\"#000000\" cellspacing=-1 style=\"border-width: 0px; "
    "border-collapse: collapse;\">"
    "<tr>"
    "<th align=left bgcolor=\"#e6f9ff\">Position</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Menge</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Text</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Nummer</th>"
    "<th align=right bgcolor=\"#e6f9ff\">Preis</th>"
    "<th align=left bgcolor=\"#e6f9ff\">Rabatt</th>"
    "<th  align=right bgcolor=\"#e6f9ff\">Summe</th>"
    "</tr>";
const std::string kTableEnd = "</Table></div>";

// A data row from its seven cell values, with the cells' own opening texts.
std::string DataRow(const std::string& pos, const std::string& menge, const std::string& text,
                    const std::string& nummer, const std::string& preis, const std::string& rabatt,
                    const std::string& summe) {
  return "<tr><td align=left>" + pos + "</td><td align=left>" + menge + "</td><td align=left>" +
         text + "</td><td align=left>" + nummer + "</td><td  align=right>" + preis +
         "</td><td align=left>" + rabatt + "</td><td align=right>" + summe + "</td></tr>";
}

std::string LongTextRow(const std::string& html_text) {
  return "<tr valign=top>\r\n<td colspan=\"7\" valign=middle style=\"border-color: #000000; "
         "border-style: solid;\"><br>\r\n" +
         html_text + "</td></tr>";
}

const std::string kCsvHeader =
    "\"Pos\";\"Menge\";\"Text\";\"Nummer\";\"Preis\";\"Rabatt\";\"Summe\"";

// The key text of one line, returned as its lines without their CR LF.
std::vector<std::string> KeyLines(const std::string& key_text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start < key_text.size()) {
    const std::size_t end = key_text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "key text does not end with CR LF";
      result.push_back(key_text.substr(start));
      break;
    }
    result.push_back(key_text.substr(start, end - start));
    start = end + 2;
  }
  return result;
}

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

TEST_F(LineRenderings, FormatAmount3FollowsTheProcessWideSeparators) {
  EXPECT_EQ(FormatAmount3("1234,5"), "1.234,500");
  SetNumberSeparators('.', ',');
  EXPECT_EQ(FormatAmount3("1234.5"), "1,234.500");
  EXPECT_EQ(FormatAmount3("1234,5"), "");
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

TEST_F(LineRenderings, FormatPriceFollowsTheProcessWideDecimalSeparator) {
  EXPECT_EQ(FormatPrice(1234.5), "1234,50");
  SetNumberSeparators('.', ',');
  EXPECT_EQ(FormatPrice(1234.5), "1234.50");
}

// --- HTML text -----------------------------------------------------------------------------

// The replacement of each byte, listed rule by rule.
std::string ExpectedHtmlOf(int byte) {
  switch (byte) {
    case 0x20:
      return "&nbsp;";
    case 0x95:
      return "&#8226;";
    case 0x0D:
      return "<br>";
    case 0x0A:
      return "";
    case 0xC4:
      return "&Auml;";
    case 0xD6:
      return "&Ouml;";
    case 0xDC:
      return "&Uuml;";
    case 0xDF:
      return "&szlig;";
    case 0xE4:
      return "&auml;";
    case 0xF6:
      return "&ouml;";
    case 0xFC:
      return "&uuml;";
    default:
      break;
  }
  if (byte >= 0xA1) return "&#" + std::to_string(byte) + ";";
  return std::string(1, static_cast<char>(byte));
}

TEST(ToHtmlText, ReplacesEveryByteByItsRule) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(TISO8859Adapter::ToHtmlText(one), ExpectedHtmlOf(byte)) << "byte " << byte;
  }
}

TEST(ToHtmlText, ReplacesAllBytesOfOneText) {
  std::string all;
  std::string expected;
  for (int byte = 0; byte < 256; ++byte) {
    all.push_back(static_cast<char>(byte));
    expected += ExpectedHtmlOf(byte);
  }
  EXPECT_EQ(TISO8859Adapter::ToHtmlText(all), expected);
}

TEST(ToHtmlText, WritesTheNamedAndNumberedEntities) {
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("Gr\xF6\xDF"
                                        "e"),
            "Gr&ouml;&szlig;e");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("caf\xE9"), "caf&#233;");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("m\xB2"), "m&#178;");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("\xC4\xD6\xDC\xE4\xF6\xFC"),
            "&Auml;&Ouml;&Uuml;&auml;&ouml;&uuml;");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("\xA1\xFF"), "&#161;&#255;");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("\x95 Punkt"), "&#8226;&nbsp;Punkt");
}

TEST(ToHtmlText, LeavesMarkupQuotesAndTheOtherHighBytesAlone) {
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("<b>&amp;\"x\"'y'</b>"), "<b>&amp;\"x\"'y'</b>");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("\x80\x81\x94\x96\x9F\xA0"), "\x80\x81\x94\x96\x9F\xA0");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("\t"), "\t");
}

TEST(ToHtmlText, TurnsCrIntoBreaksAndDropsLf) {
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("a\r\nb"), "a<br>b");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("a\nb"), "ab");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("a\r\rb"), "a<br><br>b");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText("\n\n"), "");
  EXPECT_EQ(TISO8859Adapter::ToHtmlText(""), "");
}

// --- Key text ------------------------------------------------------------------------------

TEST_F(LineRenderings, KeyTextOfTheGlassPaneIsItsFifteenLines) {
  TCustomDataGridLines lines;
  AddFloatGlass(lines);
  EXPECT_EQ(KeyText(lines),
            "Position=1\r\n"
            "Menge=2\r\n"
            "Einheit=\r\n"
            "=Float 3mm\r\n"
            "=\r\n"
            "=\r\n"
            "Seriennummer=\r\n"
            "Artikelnummer=\r\n"
            "Einzelbetrag=15,20\r\n"
            "Steuer=8\r\n"
            "Rabatt=\r\n"
            "Summebetrag=0,00\r\n"
            "Beschreibung=Masse in mm: 500 X 400 = 0,40 m\xB2\r\n"
            "EAN=\r\n"
            "--------------------\r\n");
}

TEST_F(LineRenderings, KeyTextPutsEachPropertyUnderItsKey) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "P";
  line.Stueck = "S";
  line.Einheit = "E";
  line.Bezeichnung1 = "B1";
  line.Bezeichnung2 = "B2";
  line.BestellNummer = "BN";
  line.Seriennummer = "SN";
  line.Artikelnummer = "AN";
  line.TypeLine = "-";
  line.Einzelbetrag = "EB";
  line.Steuer = "ST";
  line.Rabatt = "RB";
  line.SummeBetrag = "SB";
  line.Second = "LT";
  line.User = "EAN=123";
  EXPECT_EQ(KeyLines(KeyText(lines)),
            (std::vector<std::string>{"Position=P", "Menge=S", "Einheit=E", "=B1", "=B2", "=BN",
                                      "Seriennummer=SN", "Artikelnummer=AN", "Einzelbetrag=EB",
                                      "Steuer=ST", "Rabatt=RB", "Summebetrag=SB", "Beschreibung=LT",
                                      "EAN=123", "--------------------"}));
}

TEST_F(LineRenderings, KeyTextConcatenatesTheBlocksInLineOrder) {
  TCustomDataGridLines lines;
  lines.Add().Pos = "1";
  lines.Add().Pos = "2";
  const std::vector<std::string> key_lines = KeyLines(KeyText(lines));
  ASSERT_EQ(key_lines.size(), 30u);
  EXPECT_EQ(key_lines[0], "Position=1");
  EXPECT_EQ(key_lines[14], "--------------------");
  EXPECT_EQ(key_lines[15], "Position=2");
  EXPECT_EQ(key_lines[29], "--------------------");
}

TEST_F(LineRenderings, KeyTextKeepsTheQuantityAsStored) {
  TCustomDataGridLines lines;
  lines.Add().Stueck = "1234,5";
  EXPECT_EQ(KeyLines(KeyText(lines))[1], "Menge=1234,5");
}

TEST_F(LineRenderings, KeyTextWritesPricesOfOrdinaryLinesWithTwoDecimals) {
  TCustomDataGridLines lines;
  lines.Add();
  TDataGridLine& priced = lines.Add();
  priced.Einzelbetrag = "1234,5";
  priced.SummeBetrag = "0,125";
  TDataGridLine& odd = lines.Add();
  odd.Einzelbetrag = "abc";
  odd.SummeBetrag = "-3";
  const std::vector<std::string> key_lines = KeyLines(KeyText(lines));
  ASSERT_EQ(key_lines.size(), 45u);
  EXPECT_EQ(key_lines[8], "Einzelbetrag=0,00");
  EXPECT_EQ(key_lines[11], "Summebetrag=0,00");
  EXPECT_EQ(key_lines[15 + 8], "Einzelbetrag=1234,50");
  EXPECT_EQ(key_lines[15 + 11], "Summebetrag=0,13");
  EXPECT_EQ(key_lines[30 + 8], "Einzelbetrag=0,00");
  EXPECT_EQ(key_lines[30 + 11], "Summebetrag=-3,00");
}

TEST_F(LineRenderings, KeyTextPriceIsThePricePatternOfTheNumberRead) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "0,00"},        {"-0", "0,00"},
      {"-0,001", "0,00"},   {"1,005", "1,01"},
      {"-1,005", "-1,01"},  {"1,5e3", "1500,00"},
      {" 7 ", "7,00"},      {"1.234,5", "0,00"},
      {"99,995", "100,00"}, {"2,00049999999999999", "2,00"},
  };
  for (const auto& [stored, price] : cases) {
    TCustomDataGridLines lines;
    lines.Add().Einzelbetrag = stored;
    EXPECT_EQ(KeyLines(KeyText(lines))[8], std::string("Einzelbetrag=") + price) << stored;
  }
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    const std::string stored =
        std::to_string(random() % 100000) + "," + std::to_string(random() % 100000) + "5";
    TCustomDataGridLines lines;
    lines.Add().SummeBetrag = stored;
    EXPECT_EQ(KeyLines(KeyText(lines))[11],
              "Summebetrag=" + FormatPrice(TextToNumber(stored, ','), ','))
        << stored;
  }
}

TEST_F(LineRenderings, KeyTextWritesPricesOfTextLinesAsStored) {
  for (const char* marker : {"-", "a", "\x81"}) {
    TCustomDataGridLines lines;
    TDataGridLine& empty = lines.Add();
    empty.TypeLine = marker;
    TDataGridLine& filled = lines.Add();
    filled.TypeLine = marker;
    filled.Einzelbetrag = "15,2";
    filled.SummeBetrag = "abc";
    const std::vector<std::string> key_lines = KeyLines(KeyText(lines));
    ASSERT_EQ(key_lines.size(), 30u);
    EXPECT_EQ(key_lines[8], "Einzelbetrag=") << marker;
    EXPECT_EQ(key_lines[11], "Summebetrag=") << marker;
    EXPECT_EQ(key_lines[15 + 8], "Einzelbetrag=15,2") << marker;
    EXPECT_EQ(key_lines[15 + 11], "Summebetrag=abc") << marker;
  }
}

TEST_F(LineRenderings, KeyTextPriceFollowsTheDecimalSeparator) {
  SetNumberSeparators('.', ',');
  TCustomDataGridLines lines;
  lines.Add().Einzelbetrag = "1234.5";
  EXPECT_EQ(KeyLines(KeyText(lines))[8], "Einzelbetrag=1234.50");
}

TEST_F(LineRenderings, KeyTextKeepsTheLineBreaksOfTheLongText) {
  TCustomDataGridLines lines;
  lines.Add().Second = "Zeile 1\r\nZeile 2";
  const std::vector<std::string> key_lines = KeyLines(KeyText(lines));
  ASSERT_EQ(key_lines.size(), 16u);
  EXPECT_EQ(key_lines[12], "Beschreibung=Zeile 1");
  EXPECT_EQ(key_lines[13], "Zeile 2");
  EXPECT_EQ(key_lines[14], "EAN=");
}

TEST_F(LineRenderings, KeyTextTakesTheEanFromTheUserData) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"EAN=4001234567890", "4001234567890"},
      {"Farbe=rot\r\nEAN=4001234567890\r\nLager=3", "4001234567890"},
      {"Farbe=rot\nean=111", "111"},
      {"Farbe=rot\rEaN=222", "222"},
      {"EAN=first\r\nEAN=second", "first"},
      {"EAN=a=b", "a=b"},
      {"EAN=", ""},
      {"EANCODE=1\r\nXEAN=2\r\n EAN=3\r\nEAN\r\nEAN =4", ""},
      {"EAN\r\nEAN=5", "5"},
  };
  for (const auto& [user, ean] : cases) {
    TCustomDataGridLines lines;
    lines.Add().User = user;
    EXPECT_EQ(KeyLines(KeyText(lines))[13], std::string("EAN=") + ean) << user;
  }
}

TEST_F(LineRenderings, KeyTextOfNoLinesIsEmpty) {
  TCustomDataGridLines lines;
  EXPECT_EQ(KeyText(lines), "");
}

// --- HTML table ----------------------------------------------------------------------------

TEST_F(LineRenderings, HtmlTableOfTheGlassPane) {
  TCustomDataGridLines lines;
  AddFloatGlass(lines);
  EXPECT_EQ(HtmlTable(lines),
            kTableStart + DataRow("1", "2,000", "Float&nbsp;3mm", "", "15,200", "", "") +
                LongTextRow("Masse&nbsp;in&nbsp;mm:&nbsp;500&nbsp;X&nbsp;400&nbsp;=&nbsp;0,40&"
                            "nbsp;m&#178;") +
                kTableEnd);
}

TEST_F(LineRenderings, HtmlTableOfNoLinesIsStartHeaderAndEnd) {
  TCustomDataGridLines lines;
  EXPECT_EQ(HtmlTable(lines), kTableStart + kTableEnd);
}

TEST_F(LineRenderings, HtmlTableFillsEveryColumnFromItsProperty) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "1.2";
  line.Stueck = "-1234,5";
  line.Bezeichnung1 = "T\xFCr";
  line.Artikelnummer = "A 7";
  line.Einzelbetrag = "1234567,5";
  line.Rabatt = "3";
  line.SummeBetrag = "0,0005";
  line.Einheit = "Stk";
  line.Steuer = "8";
  EXPECT_EQ(HtmlTable(lines), kTableStart +
                                  DataRow("1.2", "-1.234,500", "T&uuml;r", "A&nbsp;7",
                                          "1.234.567,500", "3,000", "0,001") +
                                  kTableEnd);
}

TEST_F(LineRenderings, HtmlTableFollowsTheProcessWideSeparators) {
  SetNumberSeparators('.', ',');
  TCustomDataGridLines lines;
  lines.Add().Stueck = "1234.5";
  EXPECT_EQ(HtmlTable(lines),
            kTableStart + DataRow("", "1,234.500", "", "", "", "", "") + kTableEnd);
}

TEST_F(LineRenderings, HtmlTableLeavesOutTheRowOfALineEmptyForTheTable) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Stueck = "0";
  line.Einzelbetrag = "abc";
  // Part number and discount do not make the row worth showing.
  line.Artikelnummer = "X-1";
  line.Rabatt = "5";
  line.Second = "Nur Langtext";
  EXPECT_EQ(HtmlTable(lines), kTableStart + LongTextRow("Nur&nbsp;Langtext") + kTableEnd);
  lines.Items(0).Second.clear();
  EXPECT_EQ(HtmlTable(lines), kTableStart + kTableEnd);
}

TEST_F(LineRenderings, HtmlTableShowsTheRowWhenOneOfTheFiveColumnsHasAValue) {
  struct Case {
    std::string TDataGridLine::*property;
    const char* value;
    std::string row;
  };
  const Case cases[] = {
      {&TDataGridLine::Pos, "7", DataRow("7", "", "", "", "", "", "")},
      {&TDataGridLine::Stueck, "1", DataRow("", "1,000", "", "", "", "", "")},
      {&TDataGridLine::Bezeichnung1, "x", DataRow("", "", "x", "", "", "", "")},
      {&TDataGridLine::Einzelbetrag, "2", DataRow("", "", "", "", "2,000", "", "")},
      {&TDataGridLine::SummeBetrag, "3", DataRow("", "", "", "", "", "", "3,000")},
  };
  for (const Case& c : cases) {
    TCustomDataGridLines lines;
    lines.Add().*c.property = c.value;
    EXPECT_EQ(HtmlTable(lines), kTableStart + c.row + kTableEnd) << c.value;
  }
}

TEST_F(LineRenderings, HtmlTablePassesMarkupCharactersUnchanged) {
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = "<b>&</b>";
  EXPECT_EQ(HtmlTable(lines),
            kTableStart + DataRow("", "", "<b>&</b>", "", "", "", "") + kTableEnd);
}

TEST_F(LineRenderings, HtmlTableBreaksTheLongTextAtItsLineBreaks) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "1";
  line.Second = "Zeile1\r\nZeile2";
  EXPECT_EQ(HtmlTable(lines), kTableStart + DataRow("1", "", "", "", "", "", "") +
                                  LongTextRow("Zeile1<br>Zeile2") + kTableEnd);
}

TEST_F(LineRenderings, HtmlTableKeepsTheLineOrder) {
  TCustomDataGridLines lines;
  lines.Add().Pos = "1";
  lines.Add().Second = "a";
  lines.Add().Pos = "3";
  EXPECT_EQ(HtmlTable(lines), kTableStart + DataRow("1", "", "", "", "", "", "") +
                                  LongTextRow("a") + DataRow("3", "", "", "", "", "", "") +
                                  kTableEnd);
}

// --- CSV -----------------------------------------------------------------------------------

TEST_F(LineRenderings, CsvOfTheGlassPane) {
  TCustomDataGridLines lines;
  AddFloatGlass(lines);
  EXPECT_EQ(CsvText(lines),
            kCsvHeader + "\r\n\"1\";\"2,000\";\"Float 3mm\";\"\";\"15,200\";\"\";\"\"");
}

TEST_F(LineRenderings, CsvOfNoLinesIsTheHeaderRecordAlone) {
  TCustomDataGridLines lines;
  EXPECT_EQ(CsvText(lines), kCsvHeader);
}

TEST_F(LineRenderings, CsvFillsEveryFieldFromItsPropertyWithoutHtmlEntities) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "1 a";
  line.Stueck = "1234,5";
  line.Bezeichnung1 =
      "Gr\xF6\xDF"
      "e <b>&";
  line.Artikelnummer = "A;7";
  line.Einzelbetrag = "-2,0005";
  line.Rabatt = "3";
  line.SummeBetrag = "1000000";
  line.Second = "nicht im CSV";
  EXPECT_EQ(CsvText(lines), kCsvHeader +
                                "\r\n\"1 a\";\"1.234,500\";\"Gr\xF6\xDF"
                                "e <b>&\";\"A;7\";\"-2,001\";\"3,000\";\"1.000.000,000\"");
}

TEST_F(LineRenderings, CsvDoublesQuotesInsideFields) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Bezeichnung1 = "Rohr 3\" lang";
  line.Pos = "\"\"";
  EXPECT_EQ(CsvText(lines),
            kCsvHeader + "\r\n\"\"\"\"\"\";\"\";\"Rohr 3\"\" lang\";\"\";\"\";\"\";\"\"");
}

TEST_F(LineRenderings, CsvWritesARecordForEveryLineEvenAnEmptyOne) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Stueck = "0";
  line.Artikelnummer = "X-1";
  line.Rabatt = "5";
  line.Second = "Nur Langtext";
  lines.Add();
  EXPECT_EQ(CsvText(lines), kCsvHeader + "\r\n\"\";\"\";\"\";\"X-1\";\"\";\"5,000\";\"\"" +
                                "\r\n\"\";\"\";\"\";\"\";\"\";\"\";\"\"");
}

TEST_F(LineRenderings, CsvFollowsTheListAndNumberSeparators) {
  SetNumberSeparators('.', ',');
  SetListSeparator(',');
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "1";
  line.Stueck = "1234.5";
  EXPECT_EQ(CsvText(lines),
            "\"Pos\",\"Menge\",\"Text\",\"Nummer\",\"Preis\",\"Rabatt\",\"Summe\""
            "\r\n\"1\",\"1,234.500\",\"\",\"\",\"\",\"\",\"\"");
}

}  // namespace
}  // namespace zw
