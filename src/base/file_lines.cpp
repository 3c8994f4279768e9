#include "base/file_lines.h"

#include "base/errors.h"
#include "base/file_system.h"
#include "base/text_lines.h"

namespace zw {
namespace {

constexpr int kReadAttempts = 100;
constexpr std::chrono::milliseconds kReadRetryPause{100};

}  // namespace

std::vector<std::string> ReadLinesWithRetry(const std::string& path, Sleeper& sleeper) {
  if (!FileExists(path)) return {};
  for (int attempt = 1;; ++attempt) {
    try {
      return SplitLines(ReadFileBytes(path));
    } catch (const Error&) {
      if (attempt >= kReadAttempts) throw;
      sleeper.Sleep(kReadRetryPause);
    }
  }
}

}  // namespace zw
