#include "proposal/template_proposal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "proposal/calculation_table.h"
#include "support/demo_data.h"

namespace zw {
namespace {

const Separators kComma{',', '.', ';'};

std::string Crlf(std::string text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The value of a key as the template's key lookup finds it: the first line of the key.
std::string Value(const std::string& proposal, const std::string& key) {
  for (const std::string& line : Lines(proposal)) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "(missing)";
}

bool HasComment(const std::string& proposal, const std::string& part) {
  for (const std::string& line : Lines(proposal)) {
    if (line.front() == ';' && line.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST(ProposedDelimiter, IsTheTabElseTheMostFrequentSeparator) {
  const std::vector<std::pair<std::string, char>> cases = {
      {"a;b;c\tx\r\n", '\t'}, {"a;b;c,d\r\n", ';'}, {"a,b,c;d\r\n", ','},
      {"a|b|c,d\r\n", '|'},   {"a b c\r\n", '\0'},  {"", '\0'},
  };
  for (const auto& [text, delimiter] : cases) EXPECT_EQ(ProposedDelimiter(text), delimiter) << text;
}

TEST(ProposeTemplate, EveryKeyItSetsHasACommentAboveItAndEveryLineEndsInCrLf) {
  const std::string proposal = ProposeTemplate(test::DemoCalculation(), kComma).Text;
  ASSERT_GE(proposal.size(), 2u);
  EXPECT_EQ(proposal.substr(proposal.size() - 2), "\r\n");
  const std::vector<std::string> lines = Lines(proposal);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos);
    const std::size_t equals = lines[i].find('=');
    if (lines[i].front() == ';' || equals + 1 == lines[i].size()) continue;
    ASSERT_GT(i, 0u);
    EXPECT_EQ(lines[i - 1].front(), ';') << lines[i];
  }
}

TEST(ProposeTemplate, ReadsTheDemoAsItsShippedRulesDo) {
  const std::string proposal = ProposeTemplate(test::DemoCalculation(), kComma).Text;
  const std::string heading =
      "(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF";
  EXPECT_EQ(Value(proposal, "Delimeter"), "TAB");
  EXPECT_EQ(Value(proposal, "IgnoreLines0"), heading);
  EXPECT_EQ(Value(proposal, "MustContaintsLine"), heading);
  EXPECT_EQ(Value(proposal, "PosNumber"), "A");
  EXPECT_EQ(Value(proposal, "Quantity"), "B");
  EXPECT_EQ(Value(proposal, "Description1"), "C");
  EXPECT_EQ(Value(proposal, "Price"), "H");
  EXPECT_EQ(Value(proposal, "TotalRow"), "I");
  EXPECT_EQ(Value(proposal, "LongText"), "Breite x H\xF6he: [D] x [E] = [F] m\xB2");
  EXPECT_EQ(Value(proposal, "IgnoreNullQuantity"), "1");
  EXPECT_EQ(Value(proposal, "IgnoreLines2"), "Summe");
  EXPECT_EQ(Value(proposal, "IgnoreLines3"), "+8% MwSt.");
}

TEST(ProposeTemplate, TitleRowsAboveTheHeadingStayOutsideTheTable) {
  const std::string text =
      Crlf("\tOfferte 2026-114\n\tKunde: Muster AG\n\nMenge\tBezeichnung\tPreis\n2\tRohr\t4,50\n");
  const std::string proposal = ProposeTemplate(text, kComma).Text;
  EXPECT_EQ(Value(proposal, "MustContaintsLine"), "Menge\tBezeichnung\tPreis");
  EXPECT_EQ(Value(proposal, "Quantity"), "A");
  EXPECT_EQ(Value(proposal, "Description1"), "B");
  // The titles stand in the description's column, where they would become text lines.
  EXPECT_EQ(Value(proposal, "IgnoreLines1"), "\tOfferte 2026-114");
  EXPECT_EQ(Value(proposal, "IgnoreLines2"), "\tKunde: Muster AG");
}

TEST(ProposeTemplate, ASummaryLabelThatAnItemContainsIsIgnoredAsTheWholeRow) {
  const std::string text =
      Crlf("Menge\tBezeichnung\tTotal\n1\tTotal-Set Werkzeug\t80,00\n\tTotal\t80,00\n");
  const std::string proposal = ProposeTemplate(text, kComma).Text;
  EXPECT_EQ(Value(proposal, "IgnoreLines1"), "\tTotal\t80,00");
}

TEST(ProposeTemplate, ColumnsWithoutKnownWordsAreFoundByTheirProduct) {
  const std::string text =
      Crlf("Was\tWie viel\t\xE0\tFr.\nPlatten\t24\t32,50\t780,00\nSplitt\t2\t95,00\t190,00\n");
  const TemplateProposal proposal = ProposeTemplate(text, kComma);
  EXPECT_EQ(Value(proposal.Text, "Description1"), "A");
  EXPECT_EQ(Value(proposal.Text, "Quantity"), "B");
  EXPECT_EQ(Value(proposal.Text, "Price"), "C");
  EXPECT_EQ(Value(proposal.Text, "TotalRow"), "D");
  EXPECT_TRUE(HasComment(proposal.Text, "B \xD7 C = D in 2 von 2 Zeilen"));
  EXPECT_TRUE(HasComment(proposal.Text, "die Spalte mit den meisten W\xF6rtern"));
}

TEST(ProposeTemplate, DecidesTheNullQuantityAndTextLineRulesFromTheRows) {
  struct Case {
    std::string Text;
    std::string IgnoreNullQuantity;
    std::string EmptyPriceAsTextLine;
  };
  const std::vector<Case> cases = {
      // Section headings and no row of quantity 0: the headings become text lines.
      {"Pos\tMenge\tText\tPreis\n1\t\tRohbau\t\n1.1\t2\tMauer\t50,00\n", "0", "1"},
      // A row of quantity 0 with a price must stay out, so the headings are lost.
      {"Pos\tMenge\tText\tPreis\n1\t\tRohbau\t\n1.1\t2\tMauer\t50,00\n1.2\t0\tT\xFCr\t9,00\n", "1",
       "0"},
      // A price list without quantities or totals: every described row is a line.
      {"Artikel\tPreis\nSchraube\t0,10\nMutter\t0,05\n", "0", "0"},
  };
  for (const Case& c : cases) {
    const std::string proposal = ProposeTemplate(Crlf(c.Text), kComma).Text;
    EXPECT_EQ(Value(proposal, "IgnoreNullQuantity"), c.IgnoreNullQuantity) << c.Text;
    EXPECT_EQ(Value(proposal, "EmptyPriceAsTextLine"), c.EmptyPriceAsTextLine) << c.Text;
  }
}

TEST(ProposeTemplate, WarnsWhenTheAmountsUseTheOtherDecimalSeparator) {
  const std::string text = test::DemoCalculation();
  EXPECT_FALSE(HasComment(ProposeTemplate(text, kComma).Text, "Achtung"));
  const std::string proposal = ProposeTemplate(text, Separators{'.', ',', ','}).Text;
  EXPECT_TRUE(HasComment(proposal,
                         "Achtung: die Betr\xE4ge im Text haben ein Dezimalkomma, "
                         "eingestellt ist der Dezimalpunkt"));
}

TEST(ProposeTemplate, ReadsASemicolonExportAndWritesItsRowsWithoutDelimiters) {
  const std::string text =
      Crlf("Art.-Nr.;Bezeichnung;Menge;Preis\nA-1;Rohr;2;4,50\n;;Summe;9,00\n");
  const std::string proposal = ProposeTemplate(text, kComma).Text;
  EXPECT_EQ(Value(proposal, "Delimeter"), ";");
  EXPECT_EQ(Value(proposal, "MustContaintsLine"), "Art.-Nr.;Bezeichnung;Menge;Preis");
  // Records are compared without their delimiters, so the heading's entry has none.
  EXPECT_EQ(Value(proposal, "IgnoreLines0"), "Art.-Nr.BezeichnungMengePreis");
  EXPECT_EQ(Value(proposal, "PartNumber"), "A");
}

TEST(ProposeTemplate, LineBreaksInsideCellsNeverBreakARuleLine) {
  const std::string text =
      "Menge\t\"Bezeich\nnung\"\tPreis\r\n2\t\"Rohr\r\nverzinkt\"\t4,50\n\r\n\tSumme\n\t9,00\r\n";
  const std::string proposal = ProposeTemplate(text, kComma).Text;
  for (const std::string& line : Lines(proposal)) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  }
  // The heading spans two lines of the text, where no single line could contain it.
  EXPECT_EQ(Value(proposal, "MustContaintsLine"), "(missing)");
  EXPECT_EQ(Value(proposal, "Description1"), "B");
}

TEST(ProposeTemplate, ATextWithoutATableIsRefusedWithTheReason) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Nur ein Satz.\r\n", "keine Spalten"},
      {"Name\tOrt\r\nAnna\tBern\r\n", "keine Zeile mit Betr\xE4gen"},
      {"1\t2\r\n3\t4\r\n", "keine Spalte mit Bezeichnungen"},
  };
  for (const auto& [text, reason] : cases) {
    try {
      ProposeTemplate(text, kComma);
      ADD_FAILURE() << text;
    } catch (const NoTableError& error) {
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
}

TEST(ProposeTemplate, AHugeTextIsReadOnlyAsFarAsAProposalNeeds) {
  std::string text = "Menge\tBezeichnung\tPreis\r\n";
  for (std::size_t i = 0; i < kMaxProposalRows + 10; ++i) text += "1\tRohr\t2,00\r\n";
  const std::string proposal = ProposeTemplate(text, kComma).Text;
  EXPECT_TRUE(HasComment(proposal, "nur die ersten 20000 Zeilen"));
  EXPECT_EQ(Value(proposal, "Description1"), "B");
}

}  // namespace
}  // namespace zw
