#include "exchange/string_hash.h"

#include <string>
#include <utility>

#include "base/errors.h"

namespace zw {

struct TStringHash::Entry {
  std::string key;
  std::int32_t value = 0;
  std::unique_ptr<Entry> next;
};

TStringHash::TStringHash(std::size_t bucket_count) {
  if (bucket_count == 0) throw Error("TStringHash needs at least one bucket");
  buckets_.resize(bucket_count);
}

TStringHash::~TStringHash() { Clear(); }

void TStringHash::Insert(std::string_view key, std::int32_t value) {
  auto entry = std::make_unique<Entry>();
  entry->key.assign(key.data(), key.size());
  entry->value = value;
  std::unique_ptr<Entry>& head = buckets_[BucketOf(key)];
  entry->next = std::move(head);
  head = std::move(entry);
}

std::int32_t TStringHash::Lookup(std::string_view key) const {
  for (const Entry* entry = buckets_[BucketOf(key)].get(); entry != nullptr;
       entry = entry->next.get()) {
    if (entry->key == key) return entry->value;
  }
  return -1;
}

void TStringHash::Clear() {
  // Unlinks one entry at a time: destroying a long chain recursively could exhaust the stack.
  for (std::unique_ptr<Entry>& head : buckets_) {
    while (head) head = std::move(head->next);
  }
}

std::size_t TStringHash::BucketCount() const { return buckets_.size(); }

std::size_t TStringHash::BucketOf(std::string_view key) const {
  return HashOf(key) % buckets_.size();
}

std::uint32_t TStringHash::HashOf(std::string_view key) const {
  std::uint32_t h = 0;
  for (const char c : key) {
    h = (h << 4) + static_cast<unsigned char>(c);
    const std::uint32_t g = h & 0xF0000000u;
    if (g != 0) h ^= g >> 24;
    h &= ~g;
  }
  return h;
}

}  // namespace zw
