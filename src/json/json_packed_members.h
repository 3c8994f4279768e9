#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "json/json_arena.h"
#include "json/json_escape.h"
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
  // Holds no members and takes none: the object uses nodes.
  TJsonPackedMembers() = default;
  explicit TJsonPackedMembers(TJsonNameShape& no_names) : shape_(&no_names) {}

  bool Active() const { return shape_ != nullptr; }
  int Count() const { return shape_->Count(); }

  // Appends a string member when the name is none of the object's yet and the member fits the
  // packed form; otherwise false, and the caller turns to nodes. Inline: an order document
  // appends thirteen members for each line.
  bool Append(std::string_view name, std::string_view text) {
    if (text.size() > kLongestText) return false;
    const std::size_t size = HeaderSize(text.size()) + text.size();
    if (!HasRoom(size)) return false;
    TJsonNameShape* const next = shape_->Next(name);
    if (next == nullptr) return false;

    char* record = bytes_ + used_;
    const std::size_t header_size = HeaderSize(text.size());
    const bool escapes = CopyJsonBytes(record + header_size, text);
    const std::uint32_t header = static_cast<std::uint32_t>(text.size() << 1) | (escapes ? 1 : 0);
    if (header_size == 1) {
      *record = static_cast<char>(header);
    } else {
      *record++ = kLongMark;
      std::memcpy(record, &header, sizeof header);
    }
    used_ += static_cast<std::uint32_t>(size);
    text_size_ += next->AddedTextSize() + (escapes ? JsonEscapedSize(text) : text.size());
    shape_ = next;
    return true;
  }

  // Calls visit(const TJsonNameShape& member, std::string_view text, bool escapes) for every
  // member in order; member.Name() is its name, `escapes` whether a byte of the text needs an
  // escape.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    const char* record = bytes_;
    for (int i = 0; i < Count(); ++i) {
      std::uint32_t header = static_cast<unsigned char>(*record);
      if (header == static_cast<unsigned char>(kLongMark)) {
        std::memcpy(&header, record + 1, sizeof header);
        record += 1 + sizeof header;
      } else {
        ++record;
      }
      const std::string_view text(record, header >> 1);
      visit(shape_->Member(i), text, (header & 1) != 0);
      record += text.size();
    }
  }

  // The size of the object's text form, and that text written at `out`, which has room for
  // it; returns the end.
  std::size_t TextSize() const { return text_size_; }
  char* WriteText(char* out) const;

  // Leaves the packed form, with no members; the room stays the arena's.
  void Clear();

 private:
  // Each text follows its header: for a text of up to 63 bytes one byte, its size shifted up
  // by one, with the lowest bit set when a byte of the text needs an escape; for a longer text
  // a mark and those bits as four bytes.
  static constexpr std::size_t kLongestShort = 63;
  static constexpr char kLongMark = '\xFF';
  static constexpr std::size_t kLongestText = (std::size_t{1} << 31) - 1;
  static constexpr std::size_t kMostRoom = std::numeric_limits<std::uint32_t>::max();

  static std::size_t HeaderSize(std::size_t text_size) {
    return text_size <= kLongestShort ? 1 : 1 + sizeof(std::uint32_t);
  }

  // Room for `size` bytes after the used ones; false when the packed form cannot hold them.
  // The texts of an object that is filled while nothing else is made follow one another in
  // the arena, in one room that grows in place.
  bool HasRoom(std::size_t size) {
    if (size <= room_ - used_) return true;
    const std::size_t more = size - (room_ - used_);
    // Without room yet, its end is null, which the arena never gives out.
    if (more <= kMostRoom - room_ && shape_->Arena().Extend(bytes_ + room_, more)) {
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
