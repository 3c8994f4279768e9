#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "base/errors.h"
#include "base/file_system.h"
#include "base/unique_handle_win32.h"

namespace zw {
namespace {

using FileHandle = UniqueHandle;

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

const char kPathDelimiter = '\\';

std::string ExecutableFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".\\";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of("\\/:");
  path.resize(slash == std::string::npos ? 0 : slash + 1);
  if (!path.empty() && path.back() == ':') path += '\\';
  return path;
}

std::string SystemTempFolder() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  std::string folder(buffer, length > 0 && length <= MAX_PATH ? length : 0);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateSingleDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::vector<DirectoryEntry> ListDirectory(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return entries;
}

std::optional<ByteBuffer> ReadFileBufferIfExists(const std::string& path) {
  // Shared as the C runtime shares a file it opens for reading.
  HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    // A folder of that name refuses with "access denied".
    if (error == ERROR_ACCESS_DENIED && DirectoryExists(path)) return std::nullopt;
    throw FileOpenError(path);
  }
  FileHandle file(opened);
  // A pipe or a device has no size and delivers in parts; it is read until its end.
  const bool regular = GetFileType(file.get()) == FILE_TYPE_DISK;
  LARGE_INTEGER size{};
  if (regular && (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0)) {
    throw FileOpenError(path);
  }
  // One read for one byte more than the size: a shorter read is the end. A file that grows
  // meanwhile is read on until its end.
  const auto expected = static_cast<std::size_t>(size.QuadPart);
  ByteBuffer bytes;
  bytes.reserve(expected + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.capacity()) bytes.reserve(std::max<std::size_t>(2 * used, 65536));
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.capacity() - used, 1 << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + used, chunk, &got, nullptr)) {
      throw FileOpenError(path);
    }
    if (got == 0) break;
    used += got;
    bytes.commit(used);
    if (regular && used < bytes.capacity() && used >= expected) break;
  }
  return bytes;
}

bool WriteNewFileBytes(const std::string& path, std::string_view bytes) {
  // CREATE_NEW decides in one step whether the name is free, so no other program can slip in.
  HANDLE created = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A folder of that name refuses with "access denied".
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
        (error == ERROR_ACCESS_DENIED &&
         GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)) {
      return false;
    }
    throw FileCreateError(path);
  }
  FileHandle file(created);
  if (!WriteAll(file.get(), bytes) || !CloseHandle(file.release())) {
    DeleteFileA(path.c_str());
    throw FileCreateError(path);
  }
  return true;
}

}  // namespace zw
