#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/little_endian.h"
#include "exchange/message_data.h"
#include "exchange/stream_storage.h"

namespace zw {
namespace {

// Stream bytes are laid out here by hand, independently of the writer under test; the byte
// order itself has golden bytes of its own in tests/base.
std::string Le(std::uint64_t value, std::size_t width) {
  std::string bytes;
  AppendLittleEndian(bytes, value, width);
  return bytes;
}

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (const char16_t unit : text) bytes += Le(unit, 2);
  return bytes;
}

std::string EntryBytes(std::u16string_view name, std::string_view value) {
  return Le(2 * name.size(), 4) + Utf16Le(name) + Le(value.size(), 8) + std::string(value);
}

std::unique_ptr<TStreamStorage> StorageOf(const std::string& bytes) {
  auto storage = std::make_unique<TStreamStorage>();
  storage->Append(bytes.data(), bytes.size());
  storage->SetPosition(0);
  return storage;
}

std::string Hex(const std::vector<unsigned char>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

const std::string kWorkedExample =
    Hex({0x0E, 0x00, 0x00, 0x00, 0x43, 0x00, 0x4F, 0x00, 0x4D, 0x00, 0x4D, 0x00, 0x41, 0x00,
         0x4E, 0x00, 0x44, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x54, 0x00,
         0x41, 0x00, 0x58, 0x00, 0x48, 0x00,  // COMMAND = TAXH
         0x0A, 0x00, 0x00, 0x00, 0x49, 0x00, 0x4E, 0x00, 0x44, 0x00, 0x45, 0x00, 0x58, 0x00,
         0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,  // INDEX = -1
         0x08, 0x00, 0x00, 0x00, 0x53, 0x00, 0x59, 0x00, 0x4E, 0x00, 0x43, 0x00, 0x01, 0x00,
         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01});  // SYNC = true

TEST(StreamStorage, WritesTheTaxRequestByteForByte) {
  TStreamStorage storage;
  storage.WriteString("COMMAND", "TAXH");
  storage.WriteInteger("INDEX", -1);
  storage.WriteString("DATA", "");
  storage.WriteBoolean("SYNC", true);
  ASSERT_EQ(kWorkedExample.size(), 81u);
  EXPECT_EQ(storage.Bytes(), kWorkedExample);
  EXPECT_EQ(storage.Size(), 81);
  EXPECT_EQ(storage.Position(), 81);
  EXPECT_EQ(storage.ScanPosition(), 81);
}

TEST(StreamStorage, ReadsTheTaxRequestFromRawBytes) {
  auto storage = StorageOf(kWorkedExample);
  EXPECT_EQ(storage->ReadBoolean("SYNC"), true);
  EXPECT_EQ(storage->ReadInteger("INDEX"), -1);
  EXPECT_EQ(storage->ReadString("COMMAND"), "TAXH");
  EXPECT_EQ(storage->ReadString("DATA"), "");
}

TEST(StreamStorage, WritesFalseAndIntegerBytesLittleEndian) {
  TStreamStorage storage;
  storage.WriteBoolean("B", false);
  storage.WriteInteger("I", 0x12345678);
  EXPECT_EQ(storage.Bytes(), EntryBytes(u"B", std::string(1, '\0')) +
                                 EntryBytes(u"I", Hex({0x78, 0x56, 0x34, 0x12})));
  EXPECT_EQ(storage.ReadBoolean("B"), false);
  EXPECT_EQ(storage.ReadInteger("I"), 0x12345678);
}

TEST(StreamStorage, EmptyNameOrEmptyTextWritesNothing) {
  TStreamStorage storage;
  storage.WriteString("DATA", "");
  storage.WriteString("", "x");
  storage.WriteInteger("", 1);
  storage.WriteBoolean("", true);
  EXPECT_EQ(storage.Size(), 0);
  EXPECT_EQ(storage.ScanPosition(), 0);
  // No index entry either: the name is still free.
  storage.WriteString("DATA", "x");
  EXPECT_EQ(storage.Bytes(), EntryBytes(u"DATA", Utf16Le(u"x")));
}

TEST(StreamStorage, ReadingFromAnEmptyStorageFindsNothing) {
  TStreamStorage storage;
  EXPECT_EQ(storage.ReadString("DATA"), "");
  EXPECT_EQ(storage.ScanPosition(), 0);
  EXPECT_EQ(storage.ReadInteger("INDEX"), std::nullopt);
  EXPECT_EQ(storage.ReadBoolean("SYNC"), std::nullopt);
  std::int64_t size = 99;
  EXPECT_FALSE(storage.LocateValue("DATA", size));
  EXPECT_EQ(storage.ScanPosition(), 0);
}

TEST(StreamStorage, DuplicateNameRaisesAndKeepsTheFirstEntry) {
  TStreamStorage storage;
  storage.WriteString("COMMAND", "TAXH");
  storage.WriteInteger("INDEX", -1);
  const std::string before = storage.Bytes();
  try {
    storage.WriteInteger("INDEX", 11);
    FAIL() << "no exception";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "Value with name \"INDEX\" already exists");
  }
  EXPECT_THROW(storage.WriteString("INDEX", "11"), Error);
  EXPECT_THROW(storage.WriteBoolean("COMMAND", true), Error);
  EXPECT_EQ(storage.Bytes(), before);
  EXPECT_EQ(storage.ScanPosition(), storage.Size());
  EXPECT_EQ(storage.ReadInteger("INDEX"), -1);
  // Names differ by case.
  storage.WriteInteger("Index", 11);
  EXPECT_EQ(storage.ReadInteger("Index"), 11);
}

TEST(StreamStorage, ComparesNamesCaseSensitively) {
  auto storage = StorageOf(EntryBytes(u"Data", Utf16Le(u"1")));
  EXPECT_EQ(storage->ReadString("DATA"), "");
  EXPECT_EQ(storage->ReadString("data"), "");
  EXPECT_EQ(storage->ReadString("Data"), "1");
}

TEST(StreamStorage, TextOfNCodeUnitsHasSize2NAndKeepsCodeUnitZero) {
  const std::string text("A\0B\0", 4);
  TStreamStorage storage;
  storage.WriteString("DATA", text);
  EXPECT_EQ(storage.Bytes(), EntryBytes(u"DATA", Hex({'A', 0, 0, 0, 'B', 0, 0, 0})));
  std::int64_t size = 0;
  ASSERT_TRUE(storage.LocateValue("DATA", size));
  EXPECT_EQ(size, 8);
  EXPECT_EQ(storage.Position(), 20);
  EXPECT_EQ(storage.ReadString("DATA"), text);
}

TEST(StreamStorage, ConvertsWindows1252ToUtf16AndBack) {
  // Umlauts, sharp s and the euro sign (0x80 <-> U+20AC).
  const std::string text = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF \x80";
  TStreamStorage storage;
  storage.WriteString("DATA", text);
  storage.WriteString("\xC4nderung", "x");
  EXPECT_EQ(storage.Bytes(),
            EntryBytes(u"DATA", Utf16Le(u"\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF \u20AC")) +
                EntryBytes(u"\u00C4nderung", Utf16Le(u"x")));
  EXPECT_EQ(storage.ReadString("DATA"), text);

  auto response = StorageOf(EntryBytes(u"\u00C4nderung", Utf16Le(u"\u20AC \u4E00")));
  EXPECT_EQ(response->ReadString("\xC4nderung"), "\x80 ?");
}

TEST(StreamStorage, ReadsAResponseThroughItsIndexAndScanPosition) {
  const std::string command = EntryBytes(u"COMMAND", Utf16Le(u"TAXH"));
  const std::string data = EntryBytes(u"DATA", Utf16Le(u"19"));
  const std::string sync = EntryBytes(u"SYNC", std::string(1, '\x01'));
  const std::string bytes = command + data + sync;
  TStreamStorage storage;
  storage.Append(bytes.data(), 10);
  storage.Append(bytes.data() + 10, bytes.size() - 10);
  EXPECT_EQ(storage.Position(), storage.Size());
  storage.SetPosition(0);
  EXPECT_EQ(storage.ScanPosition(), 0);

  const auto data_end = static_cast<std::int64_t>(command.size() + data.size());
  EXPECT_EQ(storage.ReadString("DATA"), "19");
  EXPECT_EQ(storage.ScanPosition(), data_end);
  // Only the index can answer this: the walk now starts after it.
  EXPECT_EQ(storage.ReadString("COMMAND"), "TAXH");
  EXPECT_EQ(storage.ScanPosition(), data_end);
  std::int64_t size = 0;
  ASSERT_TRUE(storage.LocateValue("DATA", size));
  EXPECT_EQ(size, 4);
  EXPECT_EQ(storage.Position(), data_end - 4);
  // A later name continues the walk.
  EXPECT_EQ(storage.ReadBoolean("SYNC"), true);
  EXPECT_EQ(storage.ScanPosition(), storage.Size());
  EXPECT_EQ(storage.ReadString("MISSING"), "");
  EXPECT_EQ(storage.ScanPosition(), storage.Size());
  EXPECT_EQ(storage.ReadString("DATA"), "19");
}

TEST(StreamStorage, OddTextSizeReadsHalfTheSizeAndSkipsTheWholeValue) {
  const std::string data = EntryBytes(u"DATA", Hex({'A', 0, 'B', 0, 'X'}));
  auto storage = StorageOf(data + EntryBytes(u"NEXT", Utf16Le(u"Z")));
  EXPECT_EQ(storage->ReadString("DATA"), "AB");
  EXPECT_EQ(storage->ScanPosition(), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(storage->ReadString("NEXT"), "Z");
}

TEST(StreamStorage, IntegerAndBooleanNeedTheirExactSize) {
  auto storage = StorageOf(EntryBytes(u"INDEX", Hex({1, 0})) + EntryBytes(u"SYNC", Hex({1, 0})));
  EXPECT_EQ(storage->ReadInteger("INDEX"), std::nullopt);
  EXPECT_EQ(storage->ReadBoolean("SYNC"), std::nullopt);
}

TEST(StreamStorage, IndexesOnlyNamesTheCodePageCanHold) {
  // U+4E00 has no Windows-1252 byte; its lossy form "?" must not shadow the real "?".
  auto storage =
      StorageOf(EntryBytes(u"?", Utf16Le(u"real")) + EntryBytes(u"\u4E00", Utf16Le(u"other")) +
                EntryBytes(u"END", Utf16Le(u"e")));
  EXPECT_EQ(storage->ReadString("END"), "e");
  EXPECT_EQ(storage->ReadString("?"), "real");
}

TEST(StreamStorage, EveryTruncationOfAResponseIsReadSafely) {
  const std::string command = EntryBytes(u"COMMAND", Utf16Le(u"TAXH"));
  const std::string index = EntryBytes(u"INDEX", Le(11, 4));
  const std::string data = EntryBytes(u"DATA", Utf16Le(u"19,5"));
  const std::string full = command + index + data;
  const std::array<std::size_t, 3> ends = {command.size(), command.size() + index.size(),
                                           full.size()};
  for (std::size_t length = 0; length <= full.size(); ++length) {
    SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
    auto storage = StorageOf(full.substr(0, length));
    std::size_t complete_end = 0;
    for (const std::size_t end : ends) {
      if (end <= length) complete_end = end;
    }
    EXPECT_EQ(storage->ReadString("DATA"), length >= ends[2] ? "19,5" : "");
    EXPECT_EQ(storage->ScanPosition(), static_cast<std::int64_t>(complete_end));
    EXPECT_EQ(storage->ReadString("COMMAND"), length >= ends[0] ? "TAXH" : "");
    EXPECT_EQ(storage->ReadInteger("INDEX"),
              length >= ends[1] ? std::optional<std::int32_t>(11) : std::nullopt);
    EXPECT_EQ(storage->ScanPosition(), static_cast<std::int64_t>(complete_end));

    // The rest arriving later completes the cut entry.
    storage->Append(full.data() + length, full.size() - length);
    EXPECT_EQ(storage->ReadString("DATA"), "19,5");
    EXPECT_EQ(storage->ReadString("COMMAND"), "TAXH");
    EXPECT_EQ(storage->ReadInteger("INDEX"), 11);
  }
}

struct HostileEntry {
  const char* what;
  std::string bytes;
};

TEST(StreamStorage, HostileLengthsEndTheWalk) {
  constexpr std::uint64_t kInt64Min = std::uint64_t{1} << 63;
  const std::string name = Le(8, 4) + Utf16Le(u"DATA");
  const std::vector<HostileEntry> entries = {
      {"value size -1", name + Le(~std::uint64_t{0}, 8) + "x"},
      {"value size 2^40", name + Le(std::uint64_t{1} << 40, 8) + "x"},
      {"value size int64 max", name + Le(kInt64Min - 1, 8) + "x"},
      {"value size int64 min", name + Le(kInt64Min, 8) + "x"},
      {"value size past the end", name + Le(1000, 8) + "x"},
      {"name length -1", Le(0xFFFFFFFF, 4) + Utf16Le(u"DATA") + Le(2, 8)},
      {"name length int32 min", Le(0x80000000, 4) + Utf16Le(u"DATA") + Le(2, 8)},
      {"name length int32 max", Le(0x7FFFFFFF, 4) + Utf16Le(u"DATA") + Le(2, 8)},
      {"name length 2^30", Le(0x40000000, 4) + Utf16Le(u"DATA") + Le(2, 8)},
      {"name length odd", Le(9, 4) + Utf16Le(u"DATA") + "x" + Le(2, 8) + "yy"},
  };
  const std::string first = EntryBytes(u"FIRST", Utf16Le(u"1"));
  const std::string last = EntryBytes(u"LAST", Utf16Le(u"2"));
  for (const HostileEntry& entry : entries) {
    SCOPED_TRACE(entry.what);
    auto storage = StorageOf(first + entry.bytes + last);
    EXPECT_EQ(storage->ReadString("LAST"), "");
    EXPECT_EQ(storage->ScanPosition(), static_cast<std::int64_t>(first.size()));
    EXPECT_EQ(storage->ReadString("DATA"), "");
    EXPECT_EQ(storage->ReadString("FIRST"), "1");
    EXPECT_EQ(storage->ScanPosition(), static_cast<std::int64_t>(first.size()));
    std::int64_t size = 0;
    EXPECT_FALSE(storage->LocateValue("LAST", size));
  }
}

TEST(StreamStorage, GivesThePipeClientChunksAndRawAccess) {
  TStreamStorage storage;
  storage.WriteString("DATA", std::string(40000, 'x'));
  ASSERT_EQ(storage.Size(), 4 + 8 + 8 + 80000);
  storage.SetPosition(0);
  std::vector<char> buffer(65536);
  std::string sent;
  std::vector<std::size_t> chunks;
  for (std::size_t count; (count = storage.Read(buffer.data(), buffer.size())) > 0;) {
    chunks.push_back(count);
    sent.append(buffer.data(), count);
  }
  EXPECT_EQ(chunks, (std::vector<std::size_t>{65536, 80020 - 65536}));
  EXPECT_EQ(sent, storage.Bytes());
  EXPECT_EQ(storage.Position(), storage.Size());

  storage.SetPosition(storage.Size() + 5);
  EXPECT_EQ(storage.Read(buffer.data(), buffer.size()), 0u);
  storage.SetPosition(2);
  EXPECT_EQ(storage.Read(buffer.data(), 3), 3u);
  EXPECT_EQ(std::string(buffer.data(), 3), Hex({0, 0, 'D'}));
  EXPECT_EQ(storage.Position(), 5);
  EXPECT_THROW(storage.SetPosition(-1), Error);
}

TEST(MessageData, StartsEmptyAndLivesWhileReferenced) {
  MessageRef message = NewMessageData();
  EXPECT_EQ(message->MessageId(), "");
  EXPECT_EQ(message->Storage().Size(), 0);
  message->SetMessageId("ID\x80");
  message->Storage().WriteString("DATA", "x");
  EXPECT_EQ(message->MessageId(), "ID\x80");

  MessageRef other = NewMessageData();
  EXPECT_EQ(other->Storage().Size(), 0);

  const std::weak_ptr<IMessageData> watch = message;
  MessageRef holder = message;
  message.reset();
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(holder->Storage().ReadString("DATA"), "x");
  holder.reset();
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace zw
