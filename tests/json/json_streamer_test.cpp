#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "json/json_errors.h"
#include "json/json_object.h"
#include "json/json_streamer.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"

namespace zw {
namespace {

using namespace std::chrono_literals;

// {"k":"\u20ac\xE4"}: an escape and a raw 8-bit byte.
std::unique_ptr<TJsonObject> Sample() {
  auto object = std::make_unique<TJsonObject>();
  object->SetString("k", "\x80\xE4");
  return object;
}

const std::string kSampleText = "{\"k\":\"\\u20ac\xE4\"}";

TEST(JsonSaveToStream, WritesTheBytesAtTheCurrentPosition) {
  std::ostringstream stream;
  stream << "head:";
  TJsonStreamer::SaveToStream(Sample().get(), stream);
  EXPECT_EQ(stream.str(), "head:" + kSampleText);  // no zero byte, no byte-order mark
}

TEST(JsonSaveToStream, NothingForANullValue) {
  std::ostringstream stream;
  TJsonStreamer::SaveToStream(nullptr, stream);
  EXPECT_EQ(stream.str(), "");
}

TEST(JsonSaveToStream, AFailingStreamIsAnError) {
  std::ostringstream stream;
  stream.setstate(std::ios::badbit);
  EXPECT_THROW(TJsonStreamer::SaveToStream(Sample().get(), stream), TJsonStreamWriteError);
}

TEST(JsonSaveToFile, CreatesMissingFoldersAndReplacesTheFile) {
  test::TempFolder temp;
  const std::string path = temp.Path() + "a/b/c.json";
  test::FakeSleeper sleeper;
  TJsonStreamer::SaveToFile(Sample().get(), path, sleeper);
  EXPECT_EQ(temp.Read("a/b/c.json"), kSampleText);
  TJsonObject empty;
  TJsonStreamer::SaveToFile(&empty, path, sleeper);
  EXPECT_EQ(temp.Read("a/b/c.json"), "{}");
  EXPECT_TRUE(sleeper.pauses.empty());
}

TEST(JsonSaveToFile, NothingForANullValue) {
  test::TempFolder temp;
  TJsonStreamer::SaveToFile(nullptr, temp.Path() + "sub/x.json");
  EXPECT_FALSE(std::filesystem::exists(temp.Path() + "sub"));
}

TEST(JsonSaveToFile, AFolderThatCannotBeCreatedIsAnError) {
  test::TempFolder temp;
  temp.Write("file", "x");  // a file where a folder would have to be
  try {
    TJsonStreamer::SaveToFile(Sample().get(), temp.Path() + "file/sub/x.json");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Verzeichnis kann nicht erstellt werden");
  }
}

TEST(JsonSaveToFile, GivesUpSilentlyAfterFiveAttempts) {
  test::TempFolder temp;
  // A folder under the file's name: every attempt to create the file fails.
  std::filesystem::create_directory(temp.Path() + "x.json");
  test::FakeSleeper sleeper;
  EXPECT_NO_THROW(TJsonStreamer::SaveToFile(Sample().get(), temp.Path() + "x.json", sleeper));
  EXPECT_EQ(sleeper.pauses, (std::vector<std::chrono::milliseconds>(4, 100ms)));
}

TEST(JsonSaveToFile, RetriesUntilTheFileCanBeCreated) {
  test::TempFolder temp;
  const std::string path = temp.Path() + "x.json";
  std::filesystem::create_directory(path);
  test::FakeSleeper sleeper;
  sleeper.on_sleep = [&] {
    if (sleeper.pauses.size() == 2) std::filesystem::remove(path);
  };
  TJsonStreamer::SaveToFile(Sample().get(), path, sleeper);
  EXPECT_EQ(sleeper.pauses.size(), 2u);
  EXPECT_EQ(temp.Read("x.json"), kSampleText);
}

}  // namespace
}  // namespace zw
