#include "exchange/frame_codec.h"

#include <string_view>

#include "base/little_endian.h"

namespace zw {
void AppendInt64(std::string& out, std::int64_t value) {
  AppendLittleEndian(out, static_cast<std::uint64_t>(value), 8);
}

std::int64_t Int64From(const unsigned char* bytes) {
  const std::string_view eight(reinterpret_cast<const char*>(bytes), 8);
  return static_cast<std::int64_t>(LittleEndianAt(eight, 0, 8));
}

namespace {

bool ReadLength(PipeConnection& connection, PipeDeadline deadline, std::int64_t limit,
                std::int64_t& length) {
  unsigned char bytes[8];
  if (!ReadExactly(connection, bytes, sizeof bytes, deadline)) return false;
  length = Int64From(bytes);
  return length >= 0 && length <= limit;
}

}  // namespace

std::string EncodeFrame(const PipeFrame& frame) {
  std::string bytes;
  bytes.reserve(16 + frame.MessageId.size() + frame.Data.size());
  AppendInt64(bytes, static_cast<std::int64_t>(frame.MessageId.size()));
  bytes += frame.MessageId;
  AppendInt64(bytes, static_cast<std::int64_t>(frame.Data.size()));
  bytes += frame.Data;
  return bytes;
}

bool ReadExactly(PipeConnection& connection, void* buffer, std::size_t size,
                 PipeDeadline deadline) {
  auto* bytes = static_cast<char*>(buffer);
  while (size > 0) {
    std::uint32_t error = 0;
    const std::size_t got = connection.Read(bytes, size, deadline, error);
    if (got == 0) return false;
    bytes += got;
    size -= got;
  }
  return true;
}

bool ReadFrame(PipeConnection& connection, PipeDeadline deadline, PipeFrame& frame,
               std::int64_t limit) {
  std::int64_t length = 0;
  if (!ReadLength(connection, deadline, limit, length)) return false;
  frame.MessageId.assign(static_cast<std::size_t>(length), '\0');
  if (!ReadExactly(connection, frame.MessageId.data(), frame.MessageId.size(), deadline)) {
    return false;
  }
  if (!ReadLength(connection, deadline, limit, length)) return false;
  frame.Data.assign(static_cast<std::size_t>(length), '\0');
  return ReadExactly(connection, frame.Data.data(), frame.Data.size(), deadline);
}

}  // namespace zw
