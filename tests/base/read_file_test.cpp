#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/file_system.h"
#include "support/temp_folder.h"

namespace zw {
namespace {

struct FileContent {
  std::string Name;
  std::string Bytes;
};

// Sizes around the one read of one byte more than the file, and a file far larger than that.
TEST(ReadFileIfExists, ReadsEveryFileWhole) {
  const std::vector<FileContent> files = {
      {"leer.txt", ""},
      {"eins.txt", "x"},
      {"zeilen.txt", "Delimeter=TAB\r\nPosNumber=A\r\n"},
      {"null.txt", std::string("vor\0nach", 8)},
      {"gross.txt", std::string(3 * 65536 + 17, '\xE4')},
  };
  const test::TempFolder folder;
  for (const FileContent& file : files) {
    const std::string path = folder.Write(file.Name, file.Bytes);
    const std::optional<std::string> read = ReadFileIfExists(path);
    ASSERT_TRUE(read.has_value()) << file.Name;
    EXPECT_EQ(*read, file.Bytes) << file.Name;
    EXPECT_EQ(ReadFileBytes(path), file.Bytes) << file.Name;
    EXPECT_EQ(ReadFileBuffer(path).view(), file.Bytes) << file.Name;
  }
}

TEST(ReadFileIfExists, AMissingFileOrAFolderIsNoFile) {
  const test::TempFolder folder;
  ASSERT_TRUE(CreateSingleDirectory(folder.Path() + "ordner.txt"));
  for (const std::string& path : {folder.Path() + "fehlt.txt", folder.Path() + "ordner.txt",
                                  folder.Path() + "fehlt" + kPathDelimiter + "datei.txt"}) {
    EXPECT_EQ(ReadFileIfExists(path), std::nullopt) << path;
    EXPECT_THROW(ReadFileBytes(path), FileOpenError) << path;
    EXPECT_THROW(ReadFileBuffer(path), FileOpenError) << path;
  }
}

}  // namespace
}  // namespace zw
