#include "templates/template_files.h"

#include <algorithm>
#include <optional>

#include "base/errors.h"
#include "base/file_lines.h"
#include "base/file_system.h"
#include "base/text_lines.h"
#include "base/win1252.h"
#include "templates/default_template_texts.h"

namespace zw {
namespace {

constexpr const char* kDescriptionFile = "beschreibung.txt";
constexpr const char* kDemoFile = "demo.txt";
constexpr const char* kEmptyFile = "leer.txt";

// "*.txt" against a whole path: letters compared case-insensitively.
bool MatchesTextFilePattern(const std::string& path) {
  if (path.size() < 4) return false;
  return SameTextAscii(std::string_view(path).substr(path.size() - 4), ".txt");
}

// Every run rewrites the shipped files; one that already holds exactly these bytes is left
// as it is, which saves the write on all but the first run.
void WriteDefaultFile(const std::string& path, DefaultTemplate which) {
  const std::string_view bytes = DefaultTemplateText(which);
  try {
    const std::optional<std::string> current = ReadFileIfExists(path);
    if (current && *current == bytes) return;
  } catch (const Error&) {
    // Unreadable: write it anew, which reports the failure if there is one.
  }
  WriteFileBytes(path, bytes);
}

}  // namespace

std::string PrepareTemplateFolder(const std::string& folder) {
  std::string result = folder;
  if (result.empty() || !IsPathDelimiter(result.back())) result += kPathDelimiter;
  ForceDirectories(result);
  return result;
}

std::string TemplateFolder() { return PrepareTemplateFolder(ExecutableFolder() + "Vorlagen"); }

void WriteDefaultTemplates(const std::string& folder, std::vector<std::string>* list) {
  const std::string description = folder + kDescriptionFile;
  const std::string demo = folder + kDemoFile;
  const std::string empty = folder + kEmptyFile;
  WriteDefaultFile(description, DefaultTemplate::Description);
  WriteDefaultFile(demo, DefaultTemplate::Demo);
  if (!FileExists(empty)) WriteDefaultFile(empty, DefaultTemplate::Empty);
  if (list != nullptr) {
    std::erase_if(*list, [&](const std::string& path) {
      return CompareAsUpperCase(path, description) == 0 || CompareAsUpperCase(path, demo) == 0;
    });
  }
}

void ListTemplateFiles(std::vector<std::string>& list, const std::string& folder) {
  list.clear();
  std::vector<std::string> names;
  for (const DirectoryEntry& entry : ListDirectory(folder)) {
    if (!entry.IsDirectory && MatchesTextFilePattern(folder + entry.Name)) {
      names.push_back(entry.Name);
    }
  }
  // NTFS enumerates in this order; sorting keeps it on every other file system too.
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareAsUpperCase(a, b) < 0;
  });
  for (const std::string& name : names) list.push_back(folder + name);
  WriteDefaultTemplates(folder, &list);
}

void LoadTextWithRetry(TemplateRules& rules, const std::string& path, Sleeper& sleeper) {
  rules.Clear();
  rules.Assign(ReadLinesWithRetry(path, sleeper));
}

}  // namespace zw
