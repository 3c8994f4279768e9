#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "json/json_arena.h"
#include "json/json_name_shape.h"

// The string members of an object made in an arena, kept as bytes until nodes are asked for.
namespace zw {

// An order document's part is an object of thirteen strings set by name. As nodes it would be
// 27 values with a name and a text each; packed it is one shared TJsonNameShape and the 8-bit
// texts one after another in the arena. The object turns its packed members into nodes as
// soon as a caller needs one (a child, a lookup, a member of another kind) and stays a
// node object from then on.
class TJsonPackedMembers {
 public:
  // More members are better served by nodes and a name tree.
  static constexpr int kMostMembers = 32;

  // Holds no members and takes none: the object uses nodes.
  TJsonPackedMembers() = default;
  explicit TJsonPackedMembers(TJsonNameShape& no_names) : shape_(&no_names) {}

  bool Active() const { return shape_ != nullptr; }
  int Count() const { return shape_->Count(); }

  // Appends a string member when the name is none of the object's yet and the member fits the
  // packed form; otherwise false, and the caller turns to nodes.
  bool Append(std::string_view name, std::string_view text);

  // Calls visit(const TJsonNameShape& member, std::string_view text) for every member in
  // order; member.Name() is its name.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    const char* record = bytes_;
    for (int i = 0; i < Count(); ++i) {
      const std::size_t size = SizeOf(record);
      visit(shape_->Member(i), std::string_view(record + kHeader, size));
      record += kHeader + size;
    }
  }

  // The size of the object's text form, and that text written at `out`, which has room for
  // it; returns the end.
  std::size_t TextSize() const { return text_size_; }
  char* WriteText(char* out) const;

  // Leaves the packed form, with no members; the room stays the arena's.
  void Clear();

 private:
  // Each text is a header of four bytes, then its bytes. The header holds the size shifted up
  // by one, with the lowest bit set when a byte of the text needs an escape.
  static constexpr std::size_t kHeader = 4;
  static constexpr std::size_t kLongestText = (std::size_t{1} << 31) - 1;
  static constexpr std::size_t kMostRoom = std::numeric_limits<std::uint32_t>::max();

  static std::uint32_t HeaderAt(const char* record) {
    std::uint32_t header = 0;
    std::memcpy(&header, record, kHeader);
    return header;
  }
  static std::size_t SizeOf(const char* record) { return HeaderAt(record) >> 1; }

  // Room for `size` bytes after the used ones; false when the packed form cannot hold them.
  // The texts of an object that is filled while nothing else is made follow one another in
  // the arena, in one room that grows in place.
  bool HasRoom(std::size_t size) {
    if (size <= room_ - used_) return true;
    const std::size_t more = size - (room_ - used_);
    if (bytes_ != nullptr && more <= kMostRoom - room_ &&
        shape_->Arena().Extend(bytes_ + room_, more)) {
      room_ += static_cast<std::uint32_t>(more);
      return true;
    }
    return MoveToNewRoom(size);
  }
  bool MoveToNewRoom(std::size_t size);

  TJsonNameShape* shape_ = nullptr;
  char* bytes_ = nullptr;
  std::uint32_t used_ = 0;
  std::uint32_t room_ = 0;
  std::size_t text_size_ = 2;  // {}
};

}  // namespace zw
