#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>

#include "base/file_system.h"

namespace zw::test {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("zw-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(folder);
  path_ = folder.string() + kPathDelimiter;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = path_ + std::string(name);
  WriteFileBytes(path, bytes);
  return path;
}

std::string TempFolder::Read(std::string_view name) const {
  return ReadFileBytes(path_ + std::string(name));
}

}  // namespace zw::test
