#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "base/errors.h"
#include "base/file_system.h"

namespace zw {
namespace {

// A file descriptor, closed at the end of the scope unless Close was called.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

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

std::optional<ByteBuffer> ReadFileBufferIfExists(const std::string& path) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    throw FileOpenError(path);
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) throw FileOpenError(path);
  if (S_ISDIR(info.st_mode)) return std::nullopt;
  // A file of known size is read with one call for one byte more than that: a shorter read is
  // its end. A file that grows meanwhile, or whose size is not told, is read on until its end.
  // Files of the kernel's own file systems tell no size either.
  const bool sized = S_ISREG(info.st_mode) && info.st_size > 0;
  const auto size = sized ? static_cast<std::size_t>(info.st_size) : 0;
  ByteBuffer bytes;
  bytes.reserve(size + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.capacity()) bytes.reserve(std::max<std::size_t>(2 * used, 65536));
    const ssize_t got = ::read(file.Get(), bytes.data() + used, bytes.capacity() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw FileOpenError(path);
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
    bytes.commit(used);
    // A pipe delivers in parts; only a file of known size ends where a read falls short.
    if (sized && used < bytes.capacity() && used >= size) break;
  }
  return bytes;
}

bool WriteNewFileBytes(const std::string& path, std::string_view bytes) {
  Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (file.Get() < 0) {
    if (errno == EEXIST) return false;
    throw FileCreateError(path);
  }
  if (!WriteAll(file.Get(), bytes) || !file.Close()) {
    ::unlink(path.c_str());
    throw FileCreateError(path);
  }
  return true;
}

}  // namespace zw
