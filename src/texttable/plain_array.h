#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace zw {

// An array of plain values that grows at its end, for the columns of numbers of a table: room
// is taken exactly as reserved (twice the values only beyond it), and appending gives the place
// to write to without first zeroing it.
template <class T>
class PlainArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>);

 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const T& operator[](std::size_t index) const { return values_[index]; }
  const T& back() const { return values_[size_ - 1]; }
  const T* data() const { return values_.get(); }

  // Forgets the values and keeps the room.
  void clear() { size_ = 0; }
  // Room for this many values in all.
  void Reserve(std::size_t room) {
    if (room <= room_) return;
    auto values = std::make_unique_for_overwrite<T[]>(room);
    std::copy_n(values_.get(), size_, values.get());
    values_ = std::move(values);
    room_ = room;
  }
  // Makes the array longer by count values and returns where they go, to be written by the caller.
  T* Extend(std::size_t count) {
    if (count > room_ - size_) Reserve(std::max(size_ + count, 2 * room_));
    T* const added = values_.get() + size_;
    size_ += count;
    return added;
  }
  void push_back(T value) { *Extend(1) = value; }
  // Room for count more values after the last, to be written before Take makes them part of
  // the array: a row's cells are written before it is known whether the row is kept.
  T* Ahead(std::size_t count) {
    if (count > room_ - size_) Reserve(std::max(size_ + count, 2 * room_));
    return values_.get() + size_;
  }
  // How many values fit behind the last without moving the array.
  std::size_t RoomLeft() const { return room_ - size_; }
  // Makes the first count values written Ahead part of the array.
  void Take(std::size_t count) { size_ += count; }
  // Drops the values from `size` on.
  void Truncate(std::size_t size) { size_ = std::min(size_, size); }

 private:
  std::unique_ptr<T[]> values_;
  std::size_t size_ = 0;
  std::size_t room_ = 0;
};

}  // namespace zw
