#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

#include "base/errors.h"

namespace zw {

// A stored wave value that ends before its announced size.
class WaveReadError : public Error {
 public:
  WaveReadError();
};

// The bytes of one complete wave file (RIFF header included), played from memory.
// While the platform player may still read the block, it is only released or overwritten
// after stopping that playback.
class TWaveData {
 public:
  TWaveData() = default;
  ~TWaveData();
  TWaveData(const TWaveData&) = delete;
  TWaveData& operator=(const TWaveData&) = delete;

  std::int32_t Size() const { return static_cast<std::int32_t>(bytes_.size()); }
  bool Empty() const { return bytes_.empty(); }
  const std::vector<char>& Bytes() const { return bytes_; }

  void Clear();
  // Copies the other's bytes; nullptr clears.
  void Assign(const TWaveData* other);
  // Takes a copy of a complete wave file; more than 2 GiB raises an Error.
  void SetData(std::string_view bytes);

  // Stored form: 4-byte little-endian signed size N, then N bytes.
  void ReadData(std::istream& in);
  void WriteData(std::ostream& out) const;
  // The stored form carries the "Data" property only for a non-empty value.
  bool HasStoredData() const { return !bytes_.empty(); }

  // Starts the sound asynchronously; an empty value plays nothing.
  void Play() const;

 private:
  // Stops the platform player first when it may still be reading this block.
  void ReleaseBlock();

  std::vector<char> bytes_;
};

// The non-visual sound component: owns its TWaveData.
class TWave {
 public:
  TWave() : wave_data_(std::make_unique<TWaveData>()) {}

  TWaveData& WaveData() { return *wave_data_; }
  const TWaveData& WaveData() const { return *wave_data_; }
  // Assigning copies the other's bytes.
  void SetWaveData(const TWaveData* value) { wave_data_->Assign(value); }

  // Raised at the start of every Play, with this component as sender.
  std::function<void(TWave&)> OnPlay;

  void Play();

 private:
  std::unique_ptr<TWaveData> wave_data_;
};

}  // namespace zw
