#include "app/UWave.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <string>
#include <utility>

#include "app/wave_player.h"
#include "base/little_endian.h"

namespace zw {

namespace {

std::function<void(const char*)>& TestPlayer() {
  static std::function<void(const char*)> player;
  return player;
}

// The block last handed to the player: only that one may still be read by it.
std::atomic<const char*> g_playing_block{nullptr};

void StartPlayer(const char* bytes) {
  g_playing_block = bytes;
  if (TestPlayer()) {
    TestPlayer()(bytes);
  } else {
    PlayWaveFromMemory(bytes);
  }
}

void StopPlayer() {
  g_playing_block = nullptr;
  if (TestPlayer()) {
    TestPlayer()(nullptr);
  } else {
    StopWavePlayback();
  }
}

// Reads in pieces so a corrupt size cannot force one huge allocation up front.
constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

void SetWavePlayerForTests(std::function<void(const char*)> player) {
  g_playing_block = nullptr;
  TestPlayer() = std::move(player);
}

WaveReadError::WaveReadError() : Error("Stream-Lesefehler") {}

TWaveData::~TWaveData() { ReleaseBlock(); }

void TWaveData::ReleaseBlock() {
  if (!bytes_.empty() && g_playing_block.load() == bytes_.data()) {
    StopPlayer();
  }
  // Frees the block itself, not just its contents.
  std::vector<char>().swap(bytes_);
}

void TWaveData::Clear() { ReleaseBlock(); }

void TWaveData::Assign(const TWaveData* other) {
  if (other == this) {
    return;
  }
  if (other == nullptr) {
    Clear();
    return;
  }
  std::vector<char> copy = other->bytes_;
  ReleaseBlock();
  bytes_ = std::move(copy);
}

void TWaveData::SetData(std::string_view bytes) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw Error("Wave-Daten zu gro\xDF");
  }
  std::vector<char> copy(bytes.begin(), bytes.end());
  ReleaseBlock();
  bytes_ = std::move(copy);
}

void TWaveData::ReadData(std::istream& in) {
  Clear();
  std::array<char, 4> prefix{};
  if (!in.read(prefix.data(), prefix.size())) {
    throw WaveReadError();
  }
  const auto raw = static_cast<std::uint32_t>(
      LittleEndianAt(std::string_view(prefix.data(), prefix.size()), 0, prefix.size()));
  const auto size = static_cast<std::int32_t>(raw);
  if (size <= 0) {
    return;
  }
  std::vector<char> block;
  auto remaining = static_cast<std::size_t>(size);
  while (remaining > 0) {
    const std::size_t piece = std::min(remaining, kReadChunk);
    const std::size_t old_size = block.size();
    block.resize(old_size + piece);
    if (!in.read(block.data() + old_size, static_cast<std::streamsize>(piece))) {
      throw WaveReadError();
    }
    remaining -= piece;
  }
  bytes_ = std::move(block);
}

void TWaveData::WriteData(std::ostream& out) const {
  std::string prefix;
  AppendLittleEndian(prefix, static_cast<std::uint32_t>(Size()), 4);
  out.write(prefix.data(), static_cast<std::streamsize>(prefix.size()));
  out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
}

void TWaveData::Play() const {
  if (!bytes_.empty()) {
    StartPlayer(bytes_.data());
  }
}

void TWave::Play() {
  if (OnPlay) {
    OnPlay(*this);
  }
  wave_data_->Play();
}

}  // namespace zw
