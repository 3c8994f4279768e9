#include <gtest/gtest.h>

#include <string>

#include "app/last_copy_files.h"
#include "base/file_system.h"
#include "proposal/template_proposal.h"
#include "support/demo_data.h"
#include "support/temp_folder.h"

namespace zw {
namespace {

TEST(WriteExplanationFile, WritesWindowsLineEndsAndReplacesTheLastReport) {
  const test::TempFolder folder;
  WriteExplanationFile(folder.Path(), "alter Bericht\n");
  const std::string path =
      WriteExplanationFile(folder.Path(), "Vorlage a.txt\n  passt nicht\nKeine Vorlage.\n");
  EXPECT_EQ(path, folder.Path() + "Zwischenablage-Erklaerung.txt");
  EXPECT_EQ(ReadFileBytes(path), "Vorlage a.txt\r\n  passt nicht\r\nKeine Vorlage.\r\n");
}

TEST(SaveTemplateProposal, SavesTheProposalAsANewFileBesideTheOthers) {
  const test::TempFolder folder;
  folder.Write("Vorschlag.txt", "eigene Vorlage");
  const Separators separators{',', '.', ';'};
  const std::string expected = ProposeTemplate(test::DemoCalculation(), separators).Text;

  const std::string first =
      SaveTemplateProposal(folder.Path(), test::DemoCalculation(), separators);
  const std::string second =
      SaveTemplateProposal(folder.Path(), test::DemoCalculation(), separators);

  EXPECT_EQ(first, folder.Path() + "Vorschlag (2).txt");
  EXPECT_EQ(second, folder.Path() + "Vorschlag (3).txt");
  EXPECT_EQ(ReadFileBytes(first), expected);
  EXPECT_EQ(ReadFileBytes(second), expected);
  EXPECT_EQ(folder.Read("Vorschlag.txt"), "eigene Vorlage");
}

TEST(SaveTemplateProposal, ATextWithoutTableWritesNothing) {
  const test::TempFolder folder;
  EXPECT_THROW(SaveTemplateProposal(folder.Path(), "Lieber Kunde,\r\nanbei die Offerte.\r\n",
                                    {',', '.', ';'}),
               NoTableError);
  EXPECT_TRUE(ListDirectory(folder.Path()).empty());
}

}  // namespace
}  // namespace zw
