#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// Rules out at little cost the records that cannot contain any ignore entry. A few bytes are
// chosen so that every entry holds one of them and each is rare in the text; a record without
// any of them contains no entry whatever normalising drops, since its normalised fields are
// made of its own bytes. The text is searched for those bytes a stretch ahead at a time, so
// that a record asks for a comparison or two, and a text refused after a part of it is not
// searched in full.
class RareEntryBytes {
 public:
  // The records asked about are slices of the text, each after the one before.
  RareEntryBytes(std::string_view text, const std::vector<std::string>& entries);

  // False when the record holds none of the chosen bytes, so that no entry can match it. Always
  // true when more bytes would be needed than are worth searching for. Inline where the stretch
  // searched last answers: every record of a table asks.
  bool MayHoldAnEntry(std::string_view record) {
    const auto begin = static_cast<std::size_t>(record.data() - text_.data());
    const std::size_t end = begin + record.size();
    // Known: no chosen byte in [from_, found_), and found_ holds one unless it is until_.
    if (begin >= from_ && begin <= found_ && (found_ < until_ || end <= until_)) {
      return found_ < end;
    }
    return SearchFor(begin, end);
  }

 private:
  static constexpr std::size_t kMaxBytes = 8;

  void ChooseBytes(std::string_view text, const std::vector<std::string>& entries);
  bool SearchFor(std::size_t begin, std::size_t end);
  // The first position in [from, to) that holds one of the chosen bytes, else `to`.
  std::size_t Find(std::size_t from, std::size_t to) const;

  std::string_view text_;
  std::array<char, kMaxBytes> bytes_{};
  std::size_t byte_count_ = 0;
  bool always_ = false;  // too many bytes: every record may hold an entry
  std::array<bool, 256> chosen_{};
  // The stretch [from_, until_) searched last; found_ is the first chosen byte in it, or until_.
  std::size_t from_ = 0;
  std::size_t found_ = 0;
  std::size_t until_ = 0;
};

}  // namespace zw
