#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The member names of packed objects, shared by the objects of one arena.
namespace zw {

class TJsonArena;

// A sequence of distinct 8-bit member names. Every object of an order document that holds
// the thirteen members of a part points to the same shape instead of holding thirteen names,
// and each name it is given is compared with one name: the one that the previous object
// with the same names before it was given next. Shapes live in their arena and are never
// freed before it.
class TJsonNameShape {
 public:
  // A shape takes no more names than this, nor a name whose lead, at most six bytes for each
  // of its bytes, might not fit 32 bits.
  static constexpr int kMostNames = 32;
  static constexpr std::size_t kLongestName = (std::size_t{1} << 29) - 1;

  TJsonNameShape(const TJsonNameShape&) = delete;
  TJsonNameShape& operator=(const TJsonNameShape&) = delete;

  // The shape of no names, in the arena.
  static TJsonNameShape& Empty(TJsonArena& arena);

  TJsonArena& Arena() const { return *arena_; }
  int Count() const { return count_; }
  // The shape that added the name at `index`, 0 <= index < Count().
  const TJsonNameShape& Member(int index) const { return *path_[index]; }
  // The last name.
  std::string_view Name() const { return {name_, name_size_}; }
  // What the text form writes before the last name's string value: a comma, the quoted and
  // escaped name, a colon and the value's opening quote. The first member skips the comma.
  std::string_view Lead() const { return {lead_, lead_size_}; }
  // What the last name adds to its object's text besides its value's escaped bytes: its lead
  // and the value's closing quote.
  std::size_t AddedTextSize() const { return added_text_size_; }

  // The position of the name, -1 when it is none of this shape's.
  int IndexOf(std::string_view name) const;
  // The shape with the name appended; null when the name is already one of this shape's, the
  // shape has kMostNames or the name is longer than kLongestName. The shape made last from
  // this one is tried first, inline: it is nearly always the one.
  TJsonNameShape* Next(std::string_view name) {
    if (first_next_ != nullptr && first_next_->HasName(name)) return first_next_;
    return NextAfterLatest(name);
  }

 private:
  // A shape remembers the shapes made from it, the latest first; a name is looked for among
  // the first few only, so that objects of many different names cost no search through all
  // of them (they make shapes of their own instead).
  static constexpr int kNextShapesSearched = 8;

  TJsonNameShape() = default;
  TJsonNameShape* NextAfterLatest(std::string_view name);
  TJsonNameShape* MakeNext(std::string_view name);

  // Name() == name; a name of 4 to 16 bytes, as member names are, is compared as two
  // overlapping words each instead of through a call.
  bool HasName(std::string_view name) const {
    const std::size_t size = name.size();
    if (size != name_size_) return false;
    if (size >= 8 && size <= 16) return SameEnds<std::uint64_t>(name_, name.data(), size);
    if (size >= 4 && size < 8) return SameEnds<std::uint32_t>(name_, name.data(), size);
    return size == 0 || std::memcmp(name_, name.data(), size) == 0;
  }
  // Whether the first and the last sizeof(Word) of `size` bytes agree.
  template <class Word>
  static bool SameEnds(const char* a, const char* b, std::size_t size) {
    Word words[4];
    std::memcpy(&words[0], a, sizeof(Word));
    std::memcpy(&words[1], b, sizeof(Word));
    std::memcpy(&words[2], a + size - sizeof(Word), sizeof(Word));
    std::memcpy(&words[3], b + size - sizeof(Word), sizeof(Word));
    return words[0] == words[1] && words[2] == words[3];
  }

  TJsonArena* arena_ = nullptr;
  TJsonNameShape* first_next_ = nullptr;
  TJsonNameShape* next_sibling_ = nullptr;
  // Count() shapes from the first name's to this one.
  const TJsonNameShape* const* path_ = nullptr;
  const char* name_ = nullptr;
  const char* lead_ = nullptr;
  std::uint32_t name_size_ = 0;
  std::uint32_t lead_size_ = 0;
  std::uint32_t added_text_size_ = 0;
  int count_ = 0;
};

}  // namespace zw
