// A template held open by another program without sharing cannot be read; the loader retries.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/errors.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"
#include "templates/template_files.h"

namespace zw {
namespace {

class ExclusiveLock {
 public:
  explicit ExclusiveLock(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~ExclusiveLock() { Release(); }
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

TEST(LoadTextWithRetryWin32, RetriesEvery100MsUntilTheFileIsReleased) {
  test::TempFolder temp;
  const std::string path = temp.Write("gesperrt.txt", "Quantity=B\r\n");
  ExclusiveLock lock(path);
  ASSERT_TRUE(lock.Held());
  test::FakeSleeper sleeper;
  sleeper.on_sleep = [&] {
    if (sleeper.pauses.size() == 3) lock.Release();
  };
  TemplateRules rules;
  LoadTextWithRetry(rules, path, sleeper);
  EXPECT_EQ(rules.Value("Quantity"), "B");
  ASSERT_EQ(sleeper.pauses.size(), 3u);
  EXPECT_EQ(sleeper.pauses[0], std::chrono::milliseconds(100));
}

TEST(LoadTextWithRetryWin32, GivesUpAfterOneHundredAttemptsWithTheOpenError) {
  test::TempFolder temp;
  const std::string path = temp.Write("gesperrt.txt", "Quantity=B\r\n");
  ExclusiveLock lock(path);
  ASSERT_TRUE(lock.Held());
  test::FakeSleeper sleeper;
  TemplateRules rules;
  try {
    LoadTextWithRetry(rules, path, sleeper);
    FAIL() << "no error";
  } catch (const FileOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Datei " + path +
                                             " kann nicht ge\xF6"
                                             "ffnet werden");
  }
  EXPECT_EQ(sleeper.pauses.size(), 99u);
}

}  // namespace
}  // namespace zw
