// A template without read permission cannot be read; the loader retries. Root reads every
// file, so these tests only run for other users.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/errors.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"
#include "templates/template_files.h"

namespace zw {
namespace {

TEST(LoadTextWithRetryPosix, RetriesUntilTheFileBecomesReadable) {
  if (geteuid() == 0) GTEST_SKIP() << "root can read every file";
  test::TempFolder temp;
  const std::string path = temp.Write("gesperrt.txt", "Quantity=B\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  test::FakeSleeper sleeper;
  sleeper.on_sleep = [&] {
    if (sleeper.pauses.size() == 2) chmod(path.c_str(), 0600);
  };
  TemplateRules rules;
  LoadTextWithRetry(rules, path, sleeper);
  EXPECT_EQ(rules.Value("Quantity"), "B");
  EXPECT_EQ(sleeper.pauses.size(), 2u);
}

TEST(LoadTextWithRetryPosix, GivesUpAfterOneHundredAttempts) {
  if (geteuid() == 0) GTEST_SKIP() << "root can read every file";
  test::TempFolder temp;
  const std::string path = temp.Write("gesperrt.txt", "Quantity=B\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  test::FakeSleeper sleeper;
  TemplateRules rules;
  EXPECT_THROW(LoadTextWithRetry(rules, path, sleeper), FileOpenError);
  EXPECT_EQ(sleeper.pauses.size(), 99u);
  chmod(path.c_str(), 0600);
}

}  // namespace
}  // namespace zw
