#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/file_system.h"

namespace zw {

const char kPathDelimiter = '/';

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return exe.parent_path().string() + kPathDelimiter;
}

std::string SystemTempFolder() {
  const char* temp = std::getenv("TMPDIR");
  std::string folder = temp != nullptr && *temp != '\0' ? temp : "/tmp";
  if (folder.back() != kPathDelimiter) folder += kPathDelimiter;
  return folder;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateSingleDirectory(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

std::vector<DirectoryEntry> ListDirectory(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code type_error;
    entries.push_back({it->path().filename().string(), it->is_directory(type_error)});
  }
  return entries;
}

}  // namespace zw
