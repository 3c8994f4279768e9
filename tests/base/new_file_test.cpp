#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "base/file_system.h"
#include "base/new_file.h"
#include "support/temp_folder.h"

namespace zw {
namespace {

struct NewFileCase {
  std::vector<std::string> Existing;
  std::string Expected;
};

TEST(SaveAsNewFile, TakesTheFirstFreeNameAndLeavesEveryFileAsItWas) {
  const std::vector<NewFileCase> cases = {
      {{}, "Vorschlag.txt"},
      {{"Vorschlag.txt"}, "Vorschlag (2).txt"},
      {{"Vorschlag.txt", "Vorschlag (2).txt"}, "Vorschlag (3).txt"},
      {{"Vorschlag.txt", "Vorschlag (3).txt"}, "Vorschlag (2).txt"},
      {{"Vorschlag (2).txt", "vorschlag.ini"}, "Vorschlag.txt"},
  };
  for (const NewFileCase& c : cases) {
    const test::TempFolder folder;
    for (const std::string& name : c.Existing) folder.Write(name, "alt " + name);

    const std::string path = SaveAsNewFile(folder.Path(), "Vorschlag", ".txt", "neu\r\n");

    EXPECT_EQ(path, folder.Path() + c.Expected);
    EXPECT_EQ(folder.Read(c.Expected), "neu\r\n");
    for (const std::string& name : c.Existing) EXPECT_EQ(folder.Read(name), "alt " + name);
  }
}

TEST(SaveAsNewFile, PassesOverAFolderOfTheName) {
  const test::TempFolder folder;
  ASSERT_TRUE(CreateSingleDirectory(folder.Path() + "Vorschlag.txt"));
  EXPECT_EQ(SaveAsNewFile(folder.Path(), "Vorschlag", ".txt", "x"),
            folder.Path() + "Vorschlag (2).txt");
}

TEST(SaveAsNewFile, AMissingFolderIsAnError) {
  const test::TempFolder folder;
  const std::string missing = folder.Path() + "fehlt" + kPathDelimiter;
  EXPECT_THROW(SaveAsNewFile(missing, "Vorschlag", ".txt", "x"), FileCreateError);
}

TEST(WriteNewFileBytes, NeverReplacesAFile) {
  const test::TempFolder folder;
  const std::string path = folder.Write("a.txt", "alt");
  EXPECT_FALSE(WriteNewFileBytes(path, "neu"));
  EXPECT_EQ(folder.Read("a.txt"), "alt");
  EXPECT_TRUE(WriteNewFileBytes(folder.Path() + "b.txt", ""));
  EXPECT_EQ(folder.Read("b.txt"), "");
}

}  // namespace
}  // namespace zw
