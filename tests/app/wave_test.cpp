#include "app/UWave.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/wave_player.h"
#include "base/errors.h"
#include "base/little_endian.h"

namespace zw {
namespace {

// What the fake player saw: the first bytes of each block played, "<stop>" for a stop.
class WaveTest : public ::testing::Test {
 protected:
  WaveTest() {
    SetWavePlayerForTests([this](const char* bytes) {
      calls_.push_back(bytes == nullptr ? std::string("<stop>") : std::string(bytes, 4));
    });
  }
  ~WaveTest() override { SetWavePlayerForTests(nullptr); }

  std::vector<std::string> calls_;
};

std::string Stored(const std::string& payload) {
  std::string out;
  AppendLittleEndian(out, static_cast<std::uint32_t>(payload.size()), 4);
  return out + payload;
}

std::string AsString(const TWaveData& data) {
  return std::string(data.Bytes().begin(), data.Bytes().end());
}

TEST_F(WaveTest, StoredFormRoundTripsBytesIncludingZeros) {
  std::string payload("RIFF\0\x01\xFFWAVE", 11);
  payload += std::string(300, '\x80');
  TWaveData data;
  data.SetData(payload);
  ASSERT_EQ(data.Size(), 311);

  std::ostringstream out;
  data.WriteData(out);
  EXPECT_EQ(out.str(), Stored(payload));
  EXPECT_EQ(out.str().substr(0, 4), std::string("\x37\x01\x00\x00", 4));

  TWaveData back;
  std::istringstream in(out.str());
  back.ReadData(in);
  EXPECT_EQ(AsString(back), payload);
  EXPECT_TRUE(back.HasStoredData());
}

TEST_F(WaveTest, ReadDataConsumesOnlyItsOwnBytes) {
  std::istringstream in(Stored("RIFFabc") + "TAIL");
  TWaveData data;
  data.ReadData(in);
  EXPECT_EQ(AsString(data), "RIFFabc");
  std::string rest;
  in >> rest;
  EXPECT_EQ(rest, "TAIL");
}

TEST_F(WaveTest, StoredSizeZeroLeavesDataEmptyAndNothingIsStoredBack) {
  TWaveData data;
  data.SetData("RIFFold");
  std::istringstream in(std::string(4, '\0'));
  data.ReadData(in);
  EXPECT_EQ(data.Size(), 0);
  EXPECT_TRUE(data.Empty());
  EXPECT_FALSE(data.HasStoredData());
}

TEST_F(WaveTest, NegativeStoredSizeLeavesDataEmpty) {
  TWaveData data;
  std::istringstream in(
      std::string("\xFF\xFF\xFF\xFF"
                  "RIFF",
                  8));
  data.ReadData(in);
  EXPECT_TRUE(data.Empty());
}

TEST_F(WaveTest, FreshValueHasNoStoredData) {
  TWaveData data;
  EXPECT_FALSE(data.HasStoredData());
  EXPECT_EQ(data.Size(), 0);
}

TEST_F(WaveTest, ShortStreamRaisesAndLeavesDataEmpty) {
  TWaveData data;
  data.SetData("RIFFold");
  std::string stored = Stored("RIFF-0123456789");
  stored.pop_back();
  std::istringstream in(stored);
  EXPECT_THROW(data.ReadData(in), Error);
  EXPECT_TRUE(data.Empty());
}

TEST_F(WaveTest, ShortSizePrefixRaises) {
  TWaveData data;
  std::istringstream in(std::string("\x05\x00", 2));
  EXPECT_THROW(data.ReadData(in), WaveReadError);
  EXPECT_TRUE(data.Empty());
}

TEST_F(WaveTest, HugeAnnouncedSizeOnShortStreamRaises) {
  TWaveData data;
  std::istringstream in(
      std::string("\xFF\xFF\xFF\x7F"
                  "RIFF",
                  8));
  EXPECT_THROW(data.ReadData(in), WaveReadError);
  EXPECT_TRUE(data.Empty());
}

TEST_F(WaveTest, AssignCopiesIndependentBytes) {
  TWaveData source;
  source.SetData("RIFFsource");
  TWaveData target;
  target.SetData("RIFFtarget-longer");
  target.Assign(&source);
  EXPECT_EQ(AsString(target), "RIFFsource");
  EXPECT_NE(target.Bytes().data(), source.Bytes().data());
  source.Clear();
  EXPECT_EQ(AsString(target), "RIFFsource");
}

TEST_F(WaveTest, AssignNullptrClears) {
  TWaveData data;
  data.SetData("RIFFdata");
  data.Assign(nullptr);
  EXPECT_TRUE(data.Empty());
}

TEST_F(WaveTest, AssignItselfKeepsData) {
  TWaveData data;
  data.SetData("RIFFdata");
  data.Assign(&data);
  EXPECT_EQ(AsString(data), "RIFFdata");
}

TEST_F(WaveTest, WaveAssignsThroughSetWaveData) {
  TWaveData source;
  source.SetData("RIFFsource");
  TWave wave;
  wave.SetWaveData(&source);
  EXPECT_EQ(AsString(wave.WaveData()), "RIFFsource");
  wave.SetWaveData(nullptr);
  EXPECT_TRUE(wave.WaveData().Empty());
}

TEST_F(WaveTest, OnPlayIsRaisedWithSenderBeforeThePlayer) {
  TWave wave;
  wave.WaveData().SetData("RIFFsound");
  TWave* sender = nullptr;
  std::size_t player_calls_seen = 99;
  wave.OnPlay = [&](TWave& w) {
    sender = &w;
    player_calls_seen = calls_.size();
  };
  wave.Play();
  EXPECT_EQ(sender, &wave);
  EXPECT_EQ(player_calls_seen, 0u);
  EXPECT_EQ(calls_, (std::vector<std::string>{"RIFF"}));
}

TEST_F(WaveTest, PlayerReceivesTheStoredBlock) {
  const char* played = nullptr;
  TWave wave;
  wave.WaveData().SetData("WAVEdata");
  SetWavePlayerForTests([&](const char* bytes) {
    if (bytes != nullptr) {
      played = bytes;
    }
  });
  wave.Play();
  EXPECT_EQ(played, wave.WaveData().Bytes().data());
}

TEST_F(WaveTest, EmptyWavePlaysNothingButStillRaisesOnPlay) {
  TWave wave;
  int raised = 0;
  wave.OnPlay = [&](TWave&) { ++raised; };
  wave.Play();
  EXPECT_EQ(raised, 1);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(WaveTest, TwoPlaysInARowCallThePlayerTwice) {
  TWave wave;
  wave.WaveData().SetData("RIFFsound");
  wave.Play();
  wave.Play();
  EXPECT_EQ(calls_, (std::vector<std::string>{"RIFF", "RIFF"}));
}

TEST_F(WaveTest, ClearingThePlayingBlockStopsPlaybackFirst) {
  TWaveData data;
  data.SetData("RIFFsound");
  data.Play();
  data.Clear();
  EXPECT_EQ(calls_, (std::vector<std::string>{"RIFF", "<stop>"}));
  data.Clear();
  EXPECT_EQ(calls_.size(), 2u);
}

TEST_F(WaveTest, ReplacingOrDestroyingThePlayingBlockStopsPlayback) {
  TWaveData other;
  other.SetData("WAVEother");
  {
    TWaveData data;
    data.SetData("RIFFsound");
    data.Play();
    data.Assign(&other);
    EXPECT_EQ(calls_, (std::vector<std::string>{"RIFF", "<stop>"}));
    data.Play();
  }
  EXPECT_EQ(calls_, (std::vector<std::string>{"RIFF", "<stop>", "WAVE", "<stop>"}));
}

TEST_F(WaveTest, ClearingABlockThatIsNotPlayingLeavesOtherSoundsAlone) {
  TWaveData playing;
  playing.SetData("RIFFplaying");
  TWaveData idle;
  idle.SetData("WAVEidle");
  idle.Play();
  playing.Play();  // replaces idle's sound
  idle.Clear();
  EXPECT_EQ(calls_, (std::vector<std::string>{"WAVE", "RIFF"}));
}

}  // namespace
}  // namespace zw
