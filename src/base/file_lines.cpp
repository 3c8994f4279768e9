#include "base/file_lines.h"

#include <optional>

#include "base/errors.h"
#include "base/file_system.h"
#include "base/text_lines.h"

namespace zw {
namespace {

constexpr int kReadAttempts = 100;
constexpr std::chrono::milliseconds kReadRetryPause{100};

}  // namespace

std::vector<std::string> ReadLinesWithRetry(const std::string& path, Sleeper& sleeper) {
  for (int attempt = 1;; ++attempt) {
    try {
      // A file that is not there (any more) gives no lines.
      const std::optional<std::string> bytes = ReadFileIfExists(path);
      return bytes ? SplitLines(*bytes) : std::vector<std::string>();
    } catch (const Error&) {
      if (attempt >= kReadAttempts) throw;
      sleeper.Sleep(kReadRetryPause);
    }
  }
}

}  // namespace zw
