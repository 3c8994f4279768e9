#include "templates/template_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "base/file_system.h"
#include "base/text_lines.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"
#include "templates/default_template_texts.h"

namespace zw {
namespace {

using test::FakeSleeper;
using test::TempFolder;

std::vector<std::string> NamesOf(const std::vector<std::string>& paths, const std::string& folder) {
  std::vector<std::string> names;
  for (const std::string& path : paths) names.push_back(path.substr(folder.size()));
  return names;
}

TEST(DefaultTemplates, DemoRulesAreTheShippedBytes) {
  const std::string t = "\t";
  const std::string heading =
      "(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF";
  const std::string expected =
      ";Beispieldatei, diese Datei wird nicht(!) vom Programm benutzt. Sie m\xFCssen mindestenes "
      "eine eigene Datei erstellen\r\n"
      "Delimeter=TAB\r\n"
      "IgnoreLines0=" +
      heading +
      "\r\n"
      "IgnoreLines2=\t\t\tRechnungsbetrag in CHF\r\n"
      "IgnoreLines3=\tStd\tBezeichnung\t\t\t\t\tCHF/Std\tTotal/CHF\r\n"
      "IgnoreLines4=+8% MwSt.\r\n"
      "IgnoreLines5=Summe\r\n"
      "MustContaintsLine=" +
      heading +
      "\r\n"
      "PosNumber=A\r\nQuantity=B\r\nQuantityUnit=\r\nDescription1=C\r\nPartNumber=\r\nPrice=H\r\n"
      "TaxValue=\r\nLongText=Masse in mm: [D] X [E] = [F] m\xB2\r\nDescription1ToLongText=\r\n"
      "TotalRow=I\r\nDirectToBrevanta=1\r\nIgnoreNullQuantity=1\r\nEmptyPriceAsTextLine=1\r\n";
  EXPECT_EQ(DefaultTemplateText(DefaultTemplate::Demo), expected);
}

TEST(DefaultTemplates, EmptyTemplateHasTheDemoKeysWithEmptyValues) {
  const std::string expected =
      ";Diese Datei k\xF6nnen Sie f\xFCr sich benutzen\r\n"
      "Delimeter=TAB\r\nIgnoreLines0=\r\nIgnoreLines2=\r\nIgnoreLines3=\r\nIgnoreLines4=\r\n"
      "IgnoreLines5=\r\nMustContaintsLine=\r\nPosNumber=\r\nQuantity=\r\nQuantityUnit=\r\n"
      "Description1=\r\nPartNumber=\r\nPrice=\r\nTaxValue=\r\nLongText=\r\n"
      "Description1ToLongText=\r\nTotalRow=\r\nDirectToBrevanta=1\r\nIgnoreNullQuantity=1\r\n"
      "EmptyPriceAsTextLine=1\r\n";
  EXPECT_EQ(DefaultTemplateText(DefaultTemplate::Empty), expected);
}

TEST(DefaultTemplates, DescriptionIsGermanHelpCoveringEveryKey) {
  const std::string_view text = DefaultTemplateText(DefaultTemplate::Description);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n') << "ends without a line break";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_EQ(text[i - 1], '\r') << "line break at " << i << " is not CR LF";
    }
  }
  const std::size_t lines = SplitLines(text).size();
  EXPECT_GE(lines, 80u);
  EXPECT_LE(lines, 120u);
  for (const char* key :
       {"Delimeter", "IgnoreLines", "MustContaintsLine", "PosNumber", "Quantity", "QuantityUnit",
        "Description1", "PartNumber", "Price", "TaxValue", "LongText", "Description1ToLongText",
        "TotalRow", "IgnoreNullQuantity", "EmptyPriceAsTextLine", "DirectToBrevanta", "demo.txt"}) {
    EXPECT_NE(text.find(key), std::string_view::npos) << key;
  }
}

TEST(TemplateFolder, CreatesMissingParentFolders) {
  TempFolder temp;
  const std::string folder = PrepareTemplateFolder(temp.Path() + "a" + kPathDelimiter + "b");
  EXPECT_EQ(folder.back(), kPathDelimiter);
  EXPECT_TRUE(DirectoryExists(temp.Path() + "a" + kPathDelimiter + "b"));
}

TEST(ListTemplateFiles, EmptyFolderGetsTheDefaultsAndListsNothing) {
  TempFolder temp;
  std::vector<std::string> list = {"stale entry"};
  ListTemplateFiles(list, temp.Path());
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(temp.Read("demo.txt"), DefaultTemplateText(DefaultTemplate::Demo));
  EXPECT_EQ(temp.Read("leer.txt"), DefaultTemplateText(DefaultTemplate::Empty));
  EXPECT_EQ(temp.Read("beschreibung.txt"), DefaultTemplateText(DefaultTemplate::Description));
  // The second listing finds "leer.txt", which the user may fill in.
  ListTemplateFiles(list, temp.Path());
  EXPECT_EQ(NamesOf(list, temp.Path()), std::vector<std::string>{"leer.txt"});
}

TEST(ListTemplateFiles, DescriptionAndDemoAreRewrittenButTheUsersEmptyTemplateStays) {
  TempFolder temp;
  temp.Write("demo.txt", "edited");
  temp.Write("beschreibung.txt", "edited");
  temp.Write("leer.txt", "Description1=C\r\n");
  std::vector<std::string> list;
  ListTemplateFiles(list, temp.Path());
  EXPECT_EQ(temp.Read("demo.txt"), DefaultTemplateText(DefaultTemplate::Demo));
  EXPECT_EQ(temp.Read("beschreibung.txt"), DefaultTemplateText(DefaultTemplate::Description));
  EXPECT_EQ(temp.Read("leer.txt"), "Description1=C\r\n");
}

TEST(ListTemplateFiles, TakesTextFilesOnlyInUpperCaseNameOrder) {
  TempFolder temp;
  for (const char* name :
       {"zeta.txt", "Alpha.TXT", "_unten.txt", "beta.txt.bak", "gamma.csv", "b.txt", "DEMO.TXT"}) {
    temp.Write(name, "x");
  }
  std::filesystem::create_directory(temp.Path() + "ordner.txt");
  std::filesystem::create_directory(temp.Path() + "sub");
  temp.Write(std::string("sub") + kPathDelimiter + "inner.txt", "x");

  std::vector<std::string> list;
  ListTemplateFiles(list, temp.Path());
  EXPECT_EQ(NamesOf(list, temp.Path()),
            (std::vector<std::string>{"Alpha.TXT", "b.txt", "zeta.txt", "_unten.txt"}));
}

TEST(LoadTextWithRetry, ReadsTheLinesOfTheFile) {
  TempFolder temp;
  const std::string path = temp.Write("t.txt", "Quantity=B\r\nPrice=H\rTotalRow=I\n");
  TemplateRules rules;
  FakeSleeper sleeper;
  LoadTextWithRetry(rules, path, sleeper);
  EXPECT_EQ(rules.Lines(), (std::vector<std::string>{"Quantity=B", "Price=H", "TotalRow=I"}));
  EXPECT_TRUE(sleeper.pauses.empty());
}

TEST(LoadTextWithRetry, AVanishedFileContributesNothing) {
  TempFolder temp;
  TemplateRules rules({"Description1=C"});
  FakeSleeper sleeper;
  LoadTextWithRetry(rules, temp.Path() + "weg.txt", sleeper);
  EXPECT_EQ(rules.LineCount(), 0u);
  EXPECT_EQ(rules.Value("Description1"), "");
}

TEST(WriteDefaultTemplates, UnwritableFolderRaisesTheCreationError) {
  TempFolder temp;
  const std::string missing = temp.Path() + "fehlt" + kPathDelimiter;
  try {
    WriteDefaultTemplates(missing, nullptr);
    FAIL() << "no error";
  } catch (const FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Datei " + missing + "beschreibung.txt kann nicht erstellt werden");
  }
}

}  // namespace
}  // namespace zw
