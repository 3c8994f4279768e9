#include "server_list.h"

#include <algorithm>

#include "base/errors.h"
#include "base/file_system.h"
#include "base/text_lines.h"

namespace zw {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  try {
    return FileExists(path) ? SplitLines(ReadFileBytes(path)) : std::vector<std::string>();
  } catch (const Error&) {
    return {};
  }
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  WriteFileBytes(path, text);
}

}  // namespace

void AddToServerList(const std::string& path, const std::vector<std::string>& names) {
  std::vector<std::string> lines = ReadLines(path);
  for (const std::string& name : names) {
    if (std::find(lines.begin(), lines.end(), name) == lines.end()) lines.push_back(name);
  }
  WriteLines(path, lines);
}

void RemoveFromServerList(const std::string& path, const std::vector<std::string>& names) {
  std::vector<std::string> lines = ReadLines(path);
  std::erase_if(lines, [&](const std::string& line) {
    return std::find(names.begin(), names.end(), line) != names.end();
  });
  WriteLines(path, lines);
}

}  // namespace zw
