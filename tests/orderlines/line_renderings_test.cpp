#include "orderlines/line_renderings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/number_text.h"
#include "orderlines/amount_format.h"

namespace zw {
namespace {

// The separators of a German user: decimal comma, thousands point, CSV fields by semicolon.
const Separators kGerman{',', '.', ';'};

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

// --- HTML text -----------------------------------------------------------------------------

// Every byte from 0x80 to 0xFF, in order, as the HTML table writes it.
const std::string kHighBytesAsHtml =
    "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
    "\x90\x91\x92\x93\x94&#8226;\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F"
    "\xA0&#161;&#162;&#163;&#164;&#165;&#166;&#167;&#168;&#169;&#170;&#171;&#172;&#173;&#174;&#175;"
    "&#176;&#177;&#178;&#179;&#180;&#181;&#182;&#183;&#184;&#185;&#186;&#187;&#188;&#189;&#190;&#"
    "191;"
    "&#192;&#193;&#194;&#195;&Auml;&#197;&#198;&#199;&#200;&#201;&#202;&#203;&#204;&#205;&#206;&#"
    "207;"
    "&#208;&#209;&#210;&#211;&#212;&#213;&Ouml;&#215;&#216;&#217;&#218;&#219;&Uuml;&#221;&#222;&"
    "szlig;"
    "&#224;&#225;&#226;&#227;&auml;&#229;&#230;&#231;&#232;&#233;&#234;&#235;&#236;&#237;&#238;&#"
    "239;"
    "&#240;&#241;&#242;&#243;&#244;&#245;&ouml;&#247;&#248;&#249;&#250;&#251;&uuml;&#253;&#254;&#"
    "255;";

TEST(ToHtmlText, WritesEveryHighByteAsTheTableHasIt) {
  std::string high;
  for (int byte = 0x80; byte <= 0xFF; ++byte) high.push_back(static_cast<char>(byte));
  EXPECT_EQ(TISO8859Adapter::ToHtmlText(high), kHighBytesAsHtml);
}

TEST(ToHtmlText, KeepsEveryLowByteButBlankCrAndLf) {
  const std::string low =
      "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0B\x0C\x0E\x0F"
      "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F"
      "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
      "abcdefghijklmnopqrstuvwxyz{|}~\x7F";
  EXPECT_EQ(TISO8859Adapter::ToHtmlText(low), low);
  EXPECT_EQ(TISO8859Adapter::ToHtmlText(std::string(1, '\0')), std::string(1, '\0'));
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

TEST(LineRenderings, KeyTextOfTheGlassPaneIsItsFifteenLines) {
  TCustomDataGridLines lines;
  AddFloatGlass(lines);
  EXPECT_EQ(KeyText(lines, kGerman),
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

TEST(LineRenderings, KeyTextPutsEachPropertyUnderItsKey) {
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
  EXPECT_EQ(KeyLines(KeyText(lines, kGerman)),
            (std::vector<std::string>{"Position=P", "Menge=S", "Einheit=E", "=B1", "=B2", "=BN",
                                      "Seriennummer=SN", "Artikelnummer=AN", "Einzelbetrag=EB",
                                      "Steuer=ST", "Rabatt=RB", "Summebetrag=SB", "Beschreibung=LT",
                                      "EAN=123", "--------------------"}));
}

TEST(LineRenderings, KeyTextConcatenatesTheBlocksInLineOrder) {
  TCustomDataGridLines lines;
  lines.Add().Pos = "1";
  lines.Add().Pos = "2";
  const std::vector<std::string> key_lines = KeyLines(KeyText(lines, kGerman));
  ASSERT_EQ(key_lines.size(), 30u);
  EXPECT_EQ(key_lines[0], "Position=1");
  EXPECT_EQ(key_lines[14], "--------------------");
  EXPECT_EQ(key_lines[15], "Position=2");
  EXPECT_EQ(key_lines[29], "--------------------");
}

TEST(LineRenderings, KeyTextKeepsTheQuantityAsStored) {
  TCustomDataGridLines lines;
  lines.Add().Stueck = "1234,5";
  EXPECT_EQ(KeyLines(KeyText(lines, kGerman))[1], "Menge=1234,5");
}

TEST(LineRenderings, KeyTextWritesPricesOfOrdinaryLinesWithTwoDecimals) {
  TCustomDataGridLines lines;
  lines.Add();
  TDataGridLine& priced = lines.Add();
  priced.Einzelbetrag = "1234,5";
  priced.SummeBetrag = "0,125";
  TDataGridLine& odd = lines.Add();
  odd.Einzelbetrag = "abc";
  odd.SummeBetrag = "-3";
  const std::vector<std::string> key_lines = KeyLines(KeyText(lines, kGerman));
  ASSERT_EQ(key_lines.size(), 45u);
  EXPECT_EQ(key_lines[8], "Einzelbetrag=0,00");
  EXPECT_EQ(key_lines[11], "Summebetrag=0,00");
  EXPECT_EQ(key_lines[15 + 8], "Einzelbetrag=1234,50");
  EXPECT_EQ(key_lines[15 + 11], "Summebetrag=0,13");
  EXPECT_EQ(key_lines[30 + 8], "Einzelbetrag=0,00");
  EXPECT_EQ(key_lines[30 + 11], "Summebetrag=-3,00");
}

TEST(LineRenderings, KeyTextPriceIsThePricePatternOfTheNumberRead) {
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
    EXPECT_EQ(KeyLines(KeyText(lines, kGerman))[8], std::string("Einzelbetrag=") + price) << stored;
  }
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    const std::string stored =
        std::to_string(random() % 100000) + "," + std::to_string(random() % 100000) + "5";
    TCustomDataGridLines lines;
    lines.Add().SummeBetrag = stored;
    EXPECT_EQ(KeyLines(KeyText(lines, kGerman))[11],
              "Summebetrag=" + FormatPrice(TextToNumber(stored, ','), ','))
        << stored;
  }
}

TEST(LineRenderings, KeyTextWritesPricesOfTextLinesAsStored) {
  for (const char* marker : {"-", "a", "\x81"}) {
    TCustomDataGridLines lines;
    TDataGridLine& empty = lines.Add();
    empty.TypeLine = marker;
    TDataGridLine& filled = lines.Add();
    filled.TypeLine = marker;
    filled.Einzelbetrag = "15,2";
    filled.SummeBetrag = "abc";
    const std::vector<std::string> key_lines = KeyLines(KeyText(lines, kGerman));
    ASSERT_EQ(key_lines.size(), 30u);
    EXPECT_EQ(key_lines[8], "Einzelbetrag=") << marker;
    EXPECT_EQ(key_lines[11], "Summebetrag=") << marker;
    EXPECT_EQ(key_lines[15 + 8], "Einzelbetrag=15,2") << marker;
    EXPECT_EQ(key_lines[15 + 11], "Summebetrag=abc") << marker;
  }
}

TEST(LineRenderings, KeyTextPriceFollowsTheDecimalSeparator) {
  TCustomDataGridLines lines;
  lines.Add().Einzelbetrag = "1234.5";
  EXPECT_EQ(KeyLines(KeyText(lines, Separators{'.', ',', ';'}))[8], "Einzelbetrag=1234.50");
}

TEST(LineRenderings, KeyTextKeepsTheLineBreaksOfTheLongText) {
  TCustomDataGridLines lines;
  lines.Add().Second = "Zeile 1\r\nZeile 2";
  const std::vector<std::string> key_lines = KeyLines(KeyText(lines, kGerman));
  ASSERT_EQ(key_lines.size(), 16u);
  EXPECT_EQ(key_lines[12], "Beschreibung=Zeile 1");
  EXPECT_EQ(key_lines[13], "Zeile 2");
  EXPECT_EQ(key_lines[14], "EAN=");
}

TEST(LineRenderings, KeyTextTakesTheEanFromTheUserData) {
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
    EXPECT_EQ(KeyLines(KeyText(lines, kGerman))[13], std::string("EAN=") + ean) << user;
  }
}

TEST(LineRenderings, KeyTextOfNoLinesIsEmpty) {
  TCustomDataGridLines lines;
  EXPECT_EQ(KeyText(lines, kGerman), "");
}

// --- HTML table ----------------------------------------------------------------------------

TEST(LineRenderings, HtmlTableOfTheGlassPane) {
  TCustomDataGridLines lines;
  AddFloatGlass(lines);
  EXPECT_EQ(HtmlTable(lines, kGerman),
            kTableStart + DataRow("1", "2,000", "Float&nbsp;3mm", "", "15,200", "", "") +
                LongTextRow("Masse&nbsp;in&nbsp;mm:&nbsp;500&nbsp;X&nbsp;400&nbsp;=&nbsp;0,40&"
                            "nbsp;m&#178;") +
                kTableEnd);
}

TEST(LineRenderings, HtmlTableOfNoLinesIsStartHeaderAndEnd) {
  TCustomDataGridLines lines;
  EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart + kTableEnd);
}

TEST(LineRenderings, HtmlTableFillsEveryColumnFromItsProperty) {
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
  EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart +
                                           DataRow("1.2", "-1.234,500", "T&uuml;r", "A&nbsp;7",
                                                   "1.234.567,500", "3,000", "0,001") +
                                           kTableEnd);
}

TEST(LineRenderings, HtmlTableFollowsTheSeparators) {
  TCustomDataGridLines lines;
  lines.Add().Stueck = "1234.5";
  EXPECT_EQ(HtmlTable(lines, Separators{'.', ',', ';'}),
            kTableStart + DataRow("", "1,234.500", "", "", "", "", "") + kTableEnd);
}

TEST(LineRenderings, HtmlTableLeavesOutTheRowOfALineEmptyForTheTable) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Stueck = "0";
  line.Einzelbetrag = "abc";
  // Part number and discount do not make the row worth showing.
  line.Artikelnummer = "X-1";
  line.Rabatt = "5";
  line.Second = "Nur Langtext";
  EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart + LongTextRow("Nur&nbsp;Langtext") + kTableEnd);
  lines.Items(0).Second.clear();
  EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart + kTableEnd);
}

TEST(LineRenderings, HtmlTableShowsTheRowWhenOneOfTheFiveColumnsHasAValue) {
  struct Case {
    LineText TDataGridLine::*property;
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
    EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart + c.row + kTableEnd) << c.value;
  }
}

TEST(LineRenderings, HtmlTablePassesMarkupCharactersUnchanged) {
  TCustomDataGridLines lines;
  lines.Add().Bezeichnung1 = "<b>&</b>";
  EXPECT_EQ(HtmlTable(lines, kGerman),
            kTableStart + DataRow("", "", "<b>&</b>", "", "", "", "") + kTableEnd);
}

TEST(LineRenderings, HtmlTableBreaksTheLongTextAtItsLineBreaks) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "1";
  line.Second = "Zeile1\r\nZeile2";
  EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart + DataRow("1", "", "", "", "", "", "") +
                                           LongTextRow("Zeile1<br>Zeile2") + kTableEnd);
}

TEST(LineRenderings, HtmlTableKeepsTheLineOrder) {
  TCustomDataGridLines lines;
  lines.Add().Pos = "1";
  lines.Add().Second = "a";
  lines.Add().Pos = "3";
  EXPECT_EQ(HtmlTable(lines, kGerman), kTableStart + DataRow("1", "", "", "", "", "", "") +
                                           LongTextRow("a") + DataRow("3", "", "", "", "", "", "") +
                                           kTableEnd);
}

// --- CSV -----------------------------------------------------------------------------------

TEST(LineRenderings, CsvOfTheGlassPane) {
  TCustomDataGridLines lines;
  AddFloatGlass(lines);
  EXPECT_EQ(CsvText(lines, kGerman),
            kCsvHeader + "\r\n\"1\";\"2,000\";\"Float 3mm\";\"\";\"15,200\";\"\";\"\"");
}

TEST(LineRenderings, CsvOfNoLinesIsTheHeaderRecordAlone) {
  TCustomDataGridLines lines;
  EXPECT_EQ(CsvText(lines, kGerman), kCsvHeader);
}

TEST(LineRenderings, CsvFillsEveryFieldFromItsPropertyWithoutHtmlEntities) {
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
  EXPECT_EQ(CsvText(lines, kGerman), kCsvHeader +
                                         "\r\n\"1 a\";\"1.234,500\";\"Gr\xF6\xDF"
                                         "e <b>&\";\"A;7\";\"-2,001\";\"3,000\";\"1.000.000,000\"");
}

TEST(LineRenderings, CsvDoublesQuotesInsideFields) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Bezeichnung1 = "Rohr 3\" lang";
  line.Pos = "\"\"";
  EXPECT_EQ(CsvText(lines, kGerman),
            kCsvHeader + "\r\n\"\"\"\"\"\";\"\";\"Rohr 3\"\" lang\";\"\";\"\";\"\";\"\"");
}

TEST(LineRenderings, CsvWritesARecordForEveryLineEvenAnEmptyOne) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Stueck = "0";
  line.Artikelnummer = "X-1";
  line.Rabatt = "5";
  line.Second = "Nur Langtext";
  lines.Add();
  EXPECT_EQ(CsvText(lines, kGerman), kCsvHeader + "\r\n\"\";\"\";\"\";\"X-1\";\"\";\"5,000\";\"\"" +
                                         "\r\n\"\";\"\";\"\";\"\";\"\";\"\";\"\"");
}

TEST(LineRenderings, CsvFollowsTheListAndNumberSeparators) {
  TCustomDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Pos = "1";
  line.Stueck = "1234.5";
  EXPECT_EQ(CsvText(lines, Separators{'.', ',', ','}),
            "\"Pos\",\"Menge\",\"Text\",\"Nummer\",\"Preis\",\"Rabatt\",\"Summe\""
            "\r\n\"1\",\"1,234.500\",\"\",\"\",\"\",\"\",\"\"");
}

}  // namespace
}  // namespace zw
