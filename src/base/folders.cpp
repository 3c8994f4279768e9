#include "base/file_system.h"

namespace zw {
namespace {

// The path without its last component, or the path itself when it has none (a root).
std::string ParentPath(const std::string& path) {
  const std::size_t slash = path.find_last_of(std::string(1, kPathDelimiter) + "/");
  if (slash == std::string::npos) return path;
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

}  // namespace

bool IsPathDelimiter(char c) { return c == kPathDelimiter || c == '/'; }

void ForceDirectories(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && IsPathDelimiter(folder.back())) folder.pop_back();
  if (folder.size() < 3 || DirectoryExists(folder)) return;
  const std::string parent = ParentPath(folder);
  if (parent == folder) return;
  ForceDirectories(parent);
  CreateSingleDirectory(folder);
}

}  // namespace zw
