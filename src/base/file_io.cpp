#include <cstdio>
#include <memory>

#include "base/errors.h"
#include "base/file_system.h"

namespace zw {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) throw FileOpenError(path);
  std::string bytes;
  // A file of known size is read in one piece into a string of that size; one that grows
  // meanwhile, or whose size cannot be told, is read on in blocks.
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0 && std::fseek(file.get(), 0, SEEK_SET) == 0) {
      bytes.resize(static_cast<std::size_t>(size));
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
      if (bytes.size() < static_cast<std::size_t>(size)) {
        if (std::ferror(file.get())) throw FileOpenError(path);
        return bytes;
      }
    } else {
      std::rewind(file.get());
    }
  }
  char buffer[65536];
  for (;;) {
    const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.append(buffer, count);
    if (count < sizeof buffer) break;
  }
  if (std::ferror(file.get())) throw FileOpenError(path);
  return bytes;
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  FileHandle file(std::fopen(path.c_str(), "wb"));
  if (!file) throw FileCreateError(path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  if (!written || std::fclose(file.release()) != 0) throw FileCreateError(path);
}

}  // namespace zw
