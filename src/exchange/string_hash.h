#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace zw {

// A chained hash table from 8-bit text keys to signed 32-bit values with a bucket count fixed
// at creation. Keys compare byte for byte; inserting a key again shadows the older entry.
class TStringHash {
 public:
  // Raises zw::Error for a bucket count of 0.
  explicit TStringHash(std::size_t bucket_count);
  virtual ~TStringHash();
  TStringHash(const TStringHash&) = delete;
  TStringHash& operator=(const TStringHash&) = delete;

  // Puts a new entry at the head of the key's chain.
  void Insert(std::string_view key, std::int32_t value);
  // The value of the newest entry with exactly this key, or -1.
  std::int32_t Lookup(std::string_view key) const;
  // Frees all entries; the bucket count stays.
  void Clear();

  std::size_t BucketCount() const;
  // HashOf(key) mod the bucket count.
  std::size_t BucketOf(std::string_view key) const;

  // The PJW/ELF hash of the key's bytes; a derived table may replace it.
  virtual std::uint32_t HashOf(std::string_view key) const;

 private:
  struct Entry;
  std::vector<std::unique_ptr<Entry>> buckets_;
};

}  // namespace zw
