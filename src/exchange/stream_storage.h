#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/string_hash.h"

namespace zw {

// The named values of one IPC message as one flat byte stream, a layout shared with the
// exchange server. Each entry: int32 name length in bytes, the name in UTF-16LE, int64 value
// size, the value. Names and texts are Windows-1252 here and UTF-16 in the stream.
//
// The stream may come from another process, so reading never trusts it: an entry that is cut
// short or declares a negative, odd (name) or oversized length ends a search as "not found".
class TStreamStorage {
 public:
  TStreamStorage();
  TStreamStorage(const TStreamStorage&) = delete;
  TStreamStorage& operator=(const TStreamStorage&) = delete;

  // Each appends one entry. An empty name, or an empty text, writes nothing. A name that the
  // storage already knows raises zw::Error: Value with name "NAME" already exists.
  void WriteBoolean(std::string_view name, bool value);
  void WriteInteger(std::string_view name, std::int32_t value);
  void WriteString(std::string_view name, std::string_view text);

  // Finds the entry by exact name: from the name index, else by walking the entries from
  // ScanPosition, indexing every name passed. When found, size is the value size and the
  // stream is positioned at the first value byte.
  bool LocateValue(std::string_view name, std::int64_t& size);

  // The reads leave the stream after the value when found and raise ScanPosition to the
  // stream position in every case.
  // A missing value reads as empty text; an odd size reads size / 2 code units.
  std::string ReadString(std::string_view name);
  // Empty when missing or when the value size is not 4.
  std::optional<std::int32_t> ReadInteger(std::string_view name);
  // Empty when missing or when the value size is not 1; any non-zero byte is true.
  std::optional<bool> ReadBoolean(std::string_view name);

  // Stream access for the pipe client.
  std::int64_t Size() const;
  std::int64_t Position() const;
  // Raises zw::Error for a negative position; past the end, Read yields 0 bytes.
  void SetPosition(std::int64_t position);
  // Copies up to count bytes from the position on and advances; returns the bytes copied.
  std::size_t Read(char* buffer, std::size_t count);
  // Raw bytes at the end of the stream (a response as it arrives); the position moves to the
  // end.
  void Append(const char* data, std::size_t count);
  const std::string& Bytes() const;

  // Entries before this offset were written here or already indexed by a search.
  std::int64_t ScanPosition() const;

 private:
  struct Entry;

  void AppendEntry(std::string_view name, std::string_view value);
  std::optional<Entry> ParseEntry(std::int64_t offset) const;
  std::optional<std::string> ReadValue(std::string_view name);

  std::string bytes_;
  std::int64_t position_ = 0;
  std::int64_t scan_position_ = 0;
  TStringHash name_index_;
};

}  // namespace zw
