#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "base/errors.h"
#include "base/file_system.h"

namespace zw {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::optional<std::string> ReadFileIfExists(const std::string& path) {
  const std::optional<ByteBuffer> bytes = ReadFileBufferIfExists(path);
  if (!bytes) return std::nullopt;
  return bytes->str();
}

std::string ReadFileBytes(const std::string& path) {
  std::optional<std::string> bytes = ReadFileIfExists(path);
  if (!bytes) throw FileOpenError(path);
  return std::move(*bytes);
}

ByteBuffer ReadFileBuffer(const std::string& path) {
  std::optional<ByteBuffer> bytes = ReadFileBufferIfExists(path);
  if (!bytes) throw FileOpenError(path);
  return std::move(*bytes);
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  FileHandle file(std::fopen(path.c_str(), "wb"));
  if (!file) throw FileCreateError(path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  if (!written || std::fclose(file.release()) != 0) throw FileCreateError(path);
}

}  // namespace zw
