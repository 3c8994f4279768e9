#include "json/json_streamer.h"

#include <chrono>
#include <fstream>

#include "base/errors.h"
#include "base/file_system.h"
#include "json/json_errors.h"

namespace zw {
namespace {

constexpr int kFileAttempts = 5;
constexpr std::chrono::milliseconds kFileRetryPause{100};

bool IsDelimiter(char c) { return c == kPathDelimiter || c == '/'; }

// The folder part of a file name without its trailing delimiter; empty for a bare name.
std::string FolderOf(const std::string& file_name) {
  const std::size_t slash = file_name.find_last_of(std::string(1, kPathDelimiter) + "/");
  if (slash == std::string::npos) return {};
  if (slash == 0) return file_name.substr(0, 1);
  return file_name.substr(0, slash);
}

// Creates the folder and its missing parents; true when it exists afterwards.
bool ForceFolder(std::string folder) {
  while (folder.size() > 1 && IsDelimiter(folder.back())) folder.pop_back();
  if (DirectoryExists(folder)) return true;
  const std::string parent = FolderOf(folder);
  if (!parent.empty() && parent != folder && !ForceFolder(parent)) return false;
  // Another process may create it in between; what counts is that it exists.
  return CreateSingleDirectory(folder) || DirectoryExists(folder);
}

void WriteFile(const TJsonBase* value, const std::string& file_name) {
  std::ofstream file(file_name, std::ios::binary | std::ios::trunc);
  if (!file.is_open()) throw FileCreateError(file_name);
  TJsonStreamer::SaveToStream(value, file);
  file.close();
  if (file.fail()) throw FileCreateError(file_name);
}

}  // namespace

void TJsonStreamer::SaveToStream(const TJsonBase* value, std::ostream& stream) {
  if (value == nullptr) return;
  const std::string text = GenerateText(value);
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!stream) throw TJsonStreamWriteError();
}

void TJsonStreamer::SaveToFile(const TJsonBase* value, const std::string& file_name,
                               Sleeper& sleeper) {
  if (value == nullptr) return;
  const std::string folder = FolderOf(file_name);
  if (!folder.empty() && !ForceFolder(folder)) throw TJsonFolderError();
  for (int attempt = 1; attempt <= kFileAttempts; ++attempt) {
    try {
      WriteFile(value, file_name);
      return;
    } catch (const Error&) {
      // A file held open by another program is usually free again a moment later.
      if (attempt < kFileAttempts) sleeper.Sleep(kFileRetryPause);
    }
  }
}

}  // namespace zw
