#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "line_dump.h"
#include "orderlines/uDataGridLines.h"
#include "support/demo_data.h"
#include "support/temp_folder.h"
#include "zwconvert_options.h"
#include "zwconvert_run.h"

namespace zw {
namespace {

TEST(ZwconvertOptions, DefaultsMatchTheToolsConversion) {
  const ZwconvertOptions options = ParseZwconvertOptions({});
  EXPECT_EQ(options.InputPath, "-");
  EXPECT_EQ(options.TemplatesDir, "");
  EXPECT_EQ(options.Tax, "");
  EXPECT_EQ(options.DecimalSeparator, ',');
  EXPECT_EQ(options.ThousandSeparator, '.');
  EXPECT_EQ(options.ListSeparator, ';');
  EXPECT_FALSE(options.Explain);
}

TEST(ZwconvertOptions, ReadsEveryOptionInBothSpellings) {
  const ZwconvertOptions options =
      ParseZwconvertOptions({"--templates", "V", "--tax=19", "--decimal", ".", "--thousand=,",
                             "--list", ",", "--format", "lines", "--explain", "datei.txt"});
  EXPECT_EQ(options.TemplatesDir, "V");
  EXPECT_EQ(options.Tax, "19");
  EXPECT_EQ(options.DecimalSeparator, '.');
  EXPECT_EQ(options.ThousandSeparator, ',');
  EXPECT_EQ(options.ListSeparator, ',');
  EXPECT_TRUE(options.Explain);
  EXPECT_EQ(options.InputPath, "datei.txt");
}

TEST(ZwconvertOptions, RejectsBadUsage) {
  const std::vector<std::vector<std::string>> bad = {{"--decimal", ",,"},
                                                     {"--tax"},
                                                     {"--format", "pdf"},
                                                     {"--bogus"},
                                                     {"a.txt", "b.txt"},
                                                     {"--explain=1"},
                                                     {"--templates", ""},
                                                     {"--suggest", "--format", "csv"},
                                                     {"--suggest", "--exchange"},
                                                     {"--suggest", "--templates", "V"},
                                                     {"--suggest=1"},
                                                     {"--version=1"}};
  for (const auto& args : bad) {
    EXPECT_THROW(ParseZwconvertOptions(args), UsageError) << args.front();
  }
}

TEST(DumpLines, WritesEveryPropertyWithEscapes) {
  TExDataGridLines lines;
  TDataGridLine& line = lines.Add();
  line.Second = "a\\b\r\nc\td";
  line.Isnetto = true;
  line.Row = -3;
  const std::string dump = DumpLines(lines);
  EXPECT_NE(dump.find("\nSecond=a\\\\b\\r\\nc\\td\n"), std::string::npos);
  EXPECT_NE(dump.find("\nDM=false\n"), std::string::npos);
  EXPECT_NE(dump.find("\nIsnetto=true\n"), std::string::npos);
  EXPECT_NE(dump.find("\nRow=-3\n"), std::string::npos);
  EXPECT_EQ(dump.rfind("Stueck=\n", 0), 0u);
  EXPECT_EQ(dump.substr(dump.size() - 5), "L2=\n\n");
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 25);
}

class ZwconvertRunTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args, const std::string& input) {
    std::istringstream in(input);
    out_.str("");
    err_.str("");
    return RunZwconvert(args, in, out_, err_);
  }

  test::TempFolder folder_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(ZwconvertRunTest, ConvertsTheDemoFromStandardInput) {
  folder_.Write("glas.txt", test::DemoRules());
  EXPECT_EQ(Run({"--templates", folder_.Path(), "--tax", "8"}, test::DemoCalculation()), 0);
  EXPECT_NE(out_.str().find("Bezeichnung1=Glasentsorgung\n"), std::string::npos);
  EXPECT_NE(out_.str().find("Steuer=8\n"), std::string::npos);
  EXPECT_EQ(err_.str(), "");
}

TEST_F(ZwconvertRunTest, VersionPrintsOneLineWithFourNumbersAndReadsNoInput) {
  EXPECT_EQ(Run({"--version", "fehlt.txt"}, "nicht gelesen"), 0);
  EXPECT_TRUE(
      std::regex_match(out_.str(), std::regex("zwconvert [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << out_.str();
  EXPECT_EQ(err_.str(), "");
}

TEST_F(ZwconvertRunTest, NoTemplateGivesStatusOneAndNoOutput) {
  EXPECT_EQ(Run({"--templates", folder_.Path()}, test::DemoCalculation()), 1);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(ZwconvertRunTest, TheTextEndsAtItsFirstZeroByte) {
  folder_.Write("t.txt", "Quantity=A\r\nDescription1=B\r\nPrice=C\r\n");
  const std::string input =
      std::string("1\tvorher\t2\r\n", 12) + std::string(1, '\0') + "1\tnachher\t2\r\n";
  EXPECT_EQ(Run({"--templates", folder_.Path()}, input), 0);
  EXPECT_NE(out_.str().find("vorher"), std::string::npos);
  EXPECT_EQ(out_.str().find("nachher"), std::string::npos);
}

TEST_F(ZwconvertRunTest, SeparatorsComeFromTheOptions) {
  folder_.Write("t.txt", "Quantity=A\r\nDescription1=B\r\nPrice=C\r\n");
  EXPECT_EQ(Run({"--templates", folder_.Path(), "--decimal", "."}, "1.5\tRohr\t2.25\r\n"), 0);
  EXPECT_NE(out_.str().find("Stueck=1.5\n"), std::string::npos);
  EXPECT_NE(out_.str().find("Einzelbetrag=2.25\n"), std::string::npos);
}

TEST_F(ZwconvertRunTest, ExplainTellsWhyTemplatesFailedAndWhatEachRowBecame) {
  folder_.Write("a.txt", "MustContaintsLine=Gibt es nicht\r\nDescription1=C\r\n");
  folder_.Write("a2.txt", "Quantity=B\r\n");
  folder_.Write("b.txt", test::DemoRules());
  EXPECT_EQ(Run({"--templates", folder_.Path(), "--explain"}, test::DemoCalculation()), 0);
  const std::string report = err_.str();
  EXPECT_NE(report.find("a.txt"), std::string::npos);
  EXPECT_NE(report.find("MustContaintsLine"), std::string::npos);
  EXPECT_NE(report.find("a2.txt"), std::string::npos);
  EXPECT_NE(report.find("Description1 ist leer"), std::string::npos);
  EXPECT_NE(report.find("Zeile 1: verworfen wegen IgnoreLines0"), std::string::npos);
  EXPECT_NE(report.find("Zeile 3: Position 1"), std::string::npos);
  EXPECT_NE(report.find("Zeile 4: "), std::string::npos);
  EXPECT_NE(report.find("IgnoreNullQuantity"), std::string::npos);
  EXPECT_NE(report.find("3 Positionen"), std::string::npos);
  // Rows are reported in the order of the text.
  EXPECT_LT(report.find("Zeile 3:"), report.find("Zeile 10:"));
}

TEST_F(ZwconvertRunTest, SuggestWritesATemplateThatConvertsTheText) {
  EXPECT_EQ(Run({"--suggest"}, test::DemoCalculation()), 0);
  const std::string proposal = out_.str();
  EXPECT_EQ(err_.str(), "");
  EXPECT_NE(proposal.find("\r\nDescription1=C\r\n"), std::string::npos);
  folder_.Write("vorschlag.txt", proposal);
  EXPECT_EQ(Run({"--templates", folder_.Path()}, test::DemoCalculation()), 0);
  EXPECT_NE(out_.str().find("Bezeichnung1=Glasentsorgung\n"), std::string::npos);
}

TEST_F(ZwconvertRunTest, SuggestExplainGivesTheHeadingAndEachColumnsReason) {
  EXPECT_EQ(Run({"--suggest", "--explain"}, test::DemoCalculation()), 0);
  const std::string reasons = err_.str();
  EXPECT_NE(reasons.find("berschriftenzeile (Zeile 1)"), std::string::npos);
  EXPECT_NE(reasons.find("Spalte H \"CHF/Stk\": Einzelpreis, nach der"), std::string::npos);
  EXPECT_NE(reasons.find("Spalte I \"Total/CHF\": Total, nach der"), std::string::npos);
}

TEST_F(ZwconvertRunTest, SuggestWithoutATableGivesStatusOneAndAGermanReason) {
  EXPECT_EQ(Run({"--suggest"}, "Nur ein Satz ohne Spalten.\r\n"), 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(err_.str().find("keine Vorlage machen: keine Spalten"), std::string::npos);
  EXPECT_EQ(Run({"--suggest"}, "Name\tOrt\r\nAnna\tBern\r\n"), 1);
  EXPECT_NE(err_.str().find("keine Zeile mit Betr"), std::string::npos);
}

TEST_F(ZwconvertRunTest, UnreadableInputOrBadUsageGivesStatusTwo) {
  EXPECT_EQ(Run({"--templates", folder_.Path(), folder_.Path() + "fehlt.txt"}, ""), 2);
  EXPECT_NE(err_.str().find("fehlt.txt kann nicht ge"), std::string::npos);
  EXPECT_EQ(Run({"--bogus"}, ""), 2);
  EXPECT_NE(err_.str().find("--bogus"), std::string::npos);
  EXPECT_EQ(out_.str(), "");
}

TEST_F(ZwconvertRunTest, UnwritableTemplateFolderGivesStatusTwo) {
  // A file where the folder should be: the default files cannot be written.
  const std::string blocked = folder_.Write("Vorlagen", "kein Ordner");
  EXPECT_EQ(Run({"--templates", blocked}, test::DemoCalculation()), 2);
  EXPECT_NE(err_.str().find("kann nicht erstellt werden"), std::string::npos);
}

TEST_F(ZwconvertRunTest, ClipboardFormatsAreTheBytesTheToolPlaces) {
  folder_.Write("t.txt", "PosNumber=A\r\nQuantity=B\r\nDescription1=C\r\nPrice=D\r\n");
  const std::string text = "1\t2\tKitt\t3\r\n";
  const std::vector<std::string> base = {"--templates", folder_.Path(), "--tax", "8", "--format"};
  auto with = [&](const char* format) {
    std::vector<std::string> args = base;
    args.emplace_back(format);
    return args;
  };
  ASSERT_EQ(Run(with("datagrid"), text), 0);
  EXPECT_EQ(out_.str().size(), 138u);
  EXPECT_EQ(out_.str().substr(0, 8), std::string("\x86\0\0\0TPF0", 8));

  ASSERT_EQ(Run(with("text"), text), 0);
  EXPECT_EQ(out_.str(),
            "Position=1\r\nMenge=2\r\nEinheit=\r\n=Kitt\r\n=\r\n=\r\nSeriennummer=\r\n"
            "Artikelnummer=\r\nEinzelbetrag=3,00\r\nSteuer=8\r\nRabatt=\r\nSummebetrag=0,00\r\n"
            "Beschreibung=\r\nEAN=\r\n--------------------\r\n");

  ASSERT_EQ(Run(with("csv"), text), 0);
  EXPECT_EQ(out_.str(),
            "\"Pos\";\"Menge\";\"Text\";\"Nummer\";\"Preis\";\"Rabatt\";\"Summe\"\r\n"
            "\"1\";\"2,000\";\"Kitt\";\"\";\"3,000\";\"\";\"\"");

  ASSERT_EQ(Run(with("html"), text), 0);
  const std::string html = out_.str();
  EXPECT_EQ(html.rfind("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:", 0), 0u);
  EXPECT_NE(html.find("EndHTML:" + std::string(8 - std::to_string(html.size()).size(), '0') +
                      std::to_string(html.size())),
            std::string::npos);
  EXPECT_NE(html.find("StartFragment:00000172\r\n"), std::string::npos);
}

TEST_F(ZwconvertRunTest, HelpListsTheOptions) {
  EXPECT_EQ(Run({"--help"}, ""), 0);
  for (const char* option :
       {"--templates", "--tax", "--decimal", "--thousand", "--list", "--format", "--explain"}) {
    EXPECT_NE(out_.str().find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace zw
