#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/errors.h"
#include "exchange/string_hash.h"

namespace zw {
namespace {

TEST(StringHash, HashesDataTo296577InBucket27Of50) {
  const TStringHash table(50);
  EXPECT_EQ(table.HashOf("DATA"), 296577u);
  EXPECT_EQ(table.BucketOf("DATA"), 27u);
}

TEST(StringHash, FoldsTheHighNibbleOfLongKeys) {
  // Keys of 8 bytes and more push bits into the top nibble, which the hash folds back.
  const TStringHash table(50);
  EXPECT_EQ(table.HashOf(""), 0u);
  EXPECT_EQ(table.HashOf("COMMAND"), 138548836u);
  EXPECT_EQ(table.HashOf("SERVERPROCESS"), 47501475u);
  EXPECT_EQ(table.HashOf("CANPOSTJSON"), 80713070u);
  EXPECT_EQ(table.BucketOf("CANPOSTJSON"), 20u);
}

TEST(StringHash, TakesBytesAsUnsigned) {
  const TStringHash table(50);
  EXPECT_EQ(table.HashOf("\xFF"), 255u);
  EXPECT_EQ(table.HashOf("\xFC\x80"), 4160u);
}

TEST(StringHash, LookupFindsInsertedValuesAndMinusOneOtherwise) {
  TStringHash table(50);
  table.Insert("COMMAND", 4);
  table.Insert("INDEX", 38);
  EXPECT_EQ(table.Lookup("COMMAND"), 4);
  EXPECT_EQ(table.Lookup("INDEX"), 38);
  EXPECT_EQ(table.Lookup("SYNC"), -1);
  EXPECT_EQ(table.Lookup(""), -1);
}

TEST(StringHash, InsertingAKeyAgainShadowsTheOlderEntry) {
  TStringHash table(50);
  table.Insert("DATA", 1);
  table.Insert("DATA", 2);
  EXPECT_EQ(table.Lookup("DATA"), 2);
}

TEST(StringHash, ComparesKeysByteForByte) {
  TStringHash table(50);
  table.Insert("DATA", 7);
  table.Insert(std::string("A\0B", 3), 9);
  EXPECT_EQ(table.Lookup("Data"), -1);
  EXPECT_EQ(table.Lookup("data"), -1);
  EXPECT_EQ(table.Lookup("DATA "), -1);
  EXPECT_EQ(table.Lookup("DAT"), -1);
  EXPECT_EQ(table.Lookup("A"), -1);
  EXPECT_EQ(table.Lookup(std::string("A\0B", 3)), 9);
}

TEST(StringHash, ClearForgetsEveryEntryAndKeepsTheTableUsable) {
  TStringHash table(50);
  table.Insert("DATA", 1);
  table.Insert("SYNC", 2);
  table.Clear();
  EXPECT_EQ(table.Lookup("DATA"), -1);
  EXPECT_EQ(table.Lookup("SYNC"), -1);
  EXPECT_EQ(table.BucketCount(), 50u);
  table.Insert("DATA", 3);
  EXPECT_EQ(table.Lookup("DATA"), 3);
}

TEST(StringHash, RefusesZeroBuckets) { EXPECT_THROW(TStringHash(0), Error); }

// Every key collides, so lookups must walk the chain and compare keys.
class OneChainHash : public TStringHash {
 public:
  OneChainHash() : TStringHash(50) {}
  std::uint32_t HashOf(std::string_view) const override { return 57; }
};

TEST(StringHash, ADerivedHashChoosesTheBuckets) {
  OneChainHash table;
  EXPECT_EQ(table.BucketOf("DATA"), 7u);
  for (int i = 0; i < 20; ++i) table.Insert("key" + std::to_string(i), i);
  table.Insert("key3", 300);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(table.Lookup("key" + std::to_string(i)), i == 3 ? 300 : i);
  EXPECT_EQ(table.Lookup("key20"), -1);
}

TEST(StringHash, FreesALongChainWithoutDeepRecursion) {
  auto table = std::make_unique<OneChainHash>();
  for (int i = 0; i < 300000; ++i) table->Insert("k", i);
  EXPECT_EQ(table->Lookup("k"), 299999);
  table.reset();
}

}  // namespace
}  // namespace zw
