#include "exchange/stream_storage.h"

#include <algorithm>
#include <limits>

#include "base/errors.h"
#include "base/little_endian.h"
#include "base/win1252.h"

namespace zw {
namespace {

constexpr std::size_t kNameIndexBuckets = 50;
// The name index holds 32-bit offsets.
constexpr std::int64_t kMaxIndexedOffset = std::numeric_limits<std::int32_t>::max();

// Offsets into the stream are signed, as its lengths are.
std::uint64_t UnsignedAt(const std::string& bytes, std::int64_t offset, std::size_t width) {
  return LittleEndianAt(bytes, static_cast<std::size_t>(offset), width);
}

void AppendUtf16(std::string& out, std::u16string_view units) {
  for (const char16_t unit : units) AppendLittleEndian(out, unit, 2);
}

std::u16string Utf16At(const std::string& bytes, std::int64_t offset, std::int64_t unit_count) {
  std::u16string units;
  units.reserve(static_cast<std::size_t>(unit_count));
  for (std::int64_t i = 0; i < unit_count; ++i) {
    units.push_back(static_cast<char16_t>(UnsignedAt(bytes, offset + 2 * i, 2)));
  }
  return units;
}

}  // namespace

// One complete entry inside the stream.
struct TStreamStorage::Entry {
  std::u16string name;
  std::int64_t size_offset = 0;
  std::int64_t value_size = 0;
};

TStreamStorage::TStreamStorage() : name_index_(kNameIndexBuckets) {}

void TStreamStorage::WriteBoolean(std::string_view name, bool value) {
  if (name.empty()) return;
  AppendEntry(name, std::string(1, value ? '\x01' : '\x00'));
}

void TStreamStorage::WriteInteger(std::string_view name, std::int32_t value) {
  if (name.empty()) return;
  std::string bytes;
  AppendLittleEndian(bytes, static_cast<std::uint32_t>(value), 4);
  AppendEntry(name, bytes);
}

void TStreamStorage::WriteString(std::string_view name, std::string_view text) {
  if (name.empty() || text.empty()) return;
  std::string bytes;
  AppendUtf16(bytes, Win1252ToUtf16(text));
  AppendEntry(name, bytes);
}

void TStreamStorage::AppendEntry(std::string_view name, std::string_view value) {
  if (name_index_.Lookup(name) != -1) {
    throw Error("Value with name \"" + std::string(name) + "\" already exists");
  }
  const std::u16string units = Win1252ToUtf16(name);
  const auto name_bytes = static_cast<std::int64_t>(2 * units.size());
  const std::int64_t size_offset = Size() + 4 + name_bytes;
  if (size_offset > kMaxIndexedOffset) throw Error("The message storage is full");

  // The whole entry is built first so that a failure leaves the stream unchanged.
  std::string entry;
  AppendLittleEndian(entry, static_cast<std::uint32_t>(name_bytes), 4);
  AppendUtf16(entry, units);
  AppendLittleEndian(entry, value.size(), 8);
  entry.append(value);
  bytes_ += entry;
  name_index_.Insert(name, static_cast<std::int32_t>(size_offset));
  position_ = Size();
  scan_position_ = position_;
}

std::optional<TStreamStorage::Entry> TStreamStorage::ParseEntry(std::int64_t offset) const {
  const std::int64_t remaining = Size() - offset;
  if (remaining < 4) return std::nullopt;
  const auto name_bytes =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(UnsignedAt(bytes_, offset, 4)));
  if (name_bytes < 0 || name_bytes % 2 != 0 || remaining - 4 - 8 < name_bytes) {
    return std::nullopt;
  }
  Entry entry;
  entry.size_offset = offset + 4 + name_bytes;
  if (entry.size_offset > kMaxIndexedOffset) return std::nullopt;
  entry.value_size = static_cast<std::int64_t>(UnsignedAt(bytes_, entry.size_offset, 8));
  if (entry.value_size < 0 || entry.value_size > Size() - entry.size_offset - 8) {
    return std::nullopt;
  }
  entry.name = Utf16At(bytes_, offset + 4, name_bytes / 2);
  return entry;
}

bool TStreamStorage::LocateValue(std::string_view name, std::int64_t& size) {
  const std::int32_t indexed = name_index_.Lookup(name);
  if (indexed != -1) {
    // Indexed entries were complete when indexed and the stream only grows; checked anyway.
    if (indexed > Size() - 8) return false;
    const auto value_size = static_cast<std::int64_t>(UnsignedAt(bytes_, indexed, 8));
    if (value_size < 0 || value_size > Size() - indexed - 8) return false;
    position_ = static_cast<std::int64_t>(indexed) + 8;
    size = value_size;
    return true;
  }

  const std::u16string wanted = Win1252ToUtf16(name);
  position_ = scan_position_;
  while (position_ < Size()) {
    const std::optional<Entry> entry = ParseEntry(position_);
    // A broken entry ends the walk where it starts, so bytes appended later can complete it.
    if (!entry) return false;
    // A name the code page cannot hold is never asked for; indexing its lossy 8-bit form
    // could answer a different name.
    const std::string key = Utf16ToWin1252(entry->name);
    if (Win1252ToUtf16(key) == entry->name) {
      name_index_.Insert(key, static_cast<std::int32_t>(entry->size_offset));
    }
    position_ = entry->size_offset + 8;
    if (entry->name == wanted) {
      size = entry->value_size;
      return true;
    }
    position_ += entry->value_size;
  }
  return false;
}

std::optional<std::string> TStreamStorage::ReadValue(std::string_view name) {
  std::optional<std::string> value;
  std::int64_t size = 0;
  if (LocateValue(name, size)) {
    value = bytes_.substr(static_cast<std::size_t>(position_), static_cast<std::size_t>(size));
    // Past the whole value, also for an odd text size, so ScanPosition stays on an entry start.
    position_ += size;
  }
  scan_position_ = std::max(scan_position_, position_);
  return value;
}

std::string TStreamStorage::ReadString(std::string_view name) {
  const std::optional<std::string> value = ReadValue(name);
  if (!value) return {};
  const auto units = static_cast<std::int64_t>(value->size() / 2);
  return Utf16ToWin1252(Utf16At(*value, 0, units));
}

std::optional<std::int32_t> TStreamStorage::ReadInteger(std::string_view name) {
  const std::optional<std::string> value = ReadValue(name);
  if (!value || value->size() != 4) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(UnsignedAt(*value, 0, 4)));
}

std::optional<bool> TStreamStorage::ReadBoolean(std::string_view name) {
  const std::optional<std::string> value = ReadValue(name);
  if (!value || value->size() != 1) return std::nullopt;
  return (*value)[0] != '\0';
}

std::int64_t TStreamStorage::Size() const { return static_cast<std::int64_t>(bytes_.size()); }

std::int64_t TStreamStorage::Position() const { return position_; }

void TStreamStorage::SetPosition(std::int64_t position) {
  if (position < 0) throw Error("Negative stream position");
  position_ = position;
}

std::size_t TStreamStorage::Read(char* buffer, std::size_t count) {
  if (position_ >= Size()) return 0;
  const std::size_t available = static_cast<std::size_t>(Size() - position_);
  const std::size_t copied = std::min(count, available);
  std::copy_n(bytes_.data() + position_, copied, buffer);
  position_ += static_cast<std::int64_t>(copied);
  return copied;
}

void TStreamStorage::Append(const char* data, std::size_t count) {
  if (count > 0) bytes_.append(data, count);
  position_ = Size();
}

const std::string& TStreamStorage::Bytes() const { return bytes_; }

std::int64_t TStreamStorage::ScanPosition() const { return scan_position_; }

}  // namespace zw
