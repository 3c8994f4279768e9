// The request layer against exchange-stub, a separate process serving real pipes.
#include <gtest/gtest.h>

#include "base/file_system.h"
#include "base/win1252.h"
#include "exchange/exchange_requests.h"
#include "exchange/frame_codec.h"
#include "exchange/process_info.h"
#include "support/exchange_stub_fixture.h"

namespace zw {
namespace {

using test::ExchangeStubTest;

TEST_F(ExchangeStubTest, ReadsTheDefaultTaxFromTheListedServer) {
  const std::string name = UniqueName("tax");
  StartStub(name, {"--answer", "TAXH=8"});
  EXPECT_EQ(DefaultServerName(), name);
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "8");
  EXPECT_EQ(Counts(name), "TAXH=1\n");
  EXPECT_TRUE(pauses_.pauses.empty());
}

TEST_F(ExchangeStubTest, SendsTheRequestFrameByteForByte) {
  const std::string name = UniqueName("frame");
  StartStub(name, {"--record", File("frames")});
  ReadIPCValueSync("TAXH");
  const std::string frame = ReadFileBytes(File("frames"));
  std::string storage;
  const auto entry = [&](std::u16string_view key, std::string value_size, std::string value) {
    storage += static_cast<char>(key.size() * 2);
    storage += std::string(3, '\0');
    for (const char16_t unit : key) storage += std::string{static_cast<char>(unit), '\0'};
    storage += value_size + std::string(7, '\0') + value;
  };
  entry(u"COMMAND", "\x08", std::string("T\0A\0X\0H\0", 8));
  entry(u"INDEX", "\x04", "\xFF\xFF\xFF\xFF");
  entry(u"SYNC", "\x01", "\x01");
  ASSERT_EQ(storage.size(), 81u);
  EXPECT_EQ(frame, std::string(8, '\0') + "\x51" + std::string(7, '\0') + storage);
  EXPECT_EQ(frame.size(), 97u);
}

TEST_F(ExchangeStubTest, MissingServerCostsThreePausesAndGivesNothing) {
  ExchangeConfiguration().TimeoutMs = 5000;
  SetSelectedServerName(UniqueName("absent"));
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "");
  ASSERT_EQ(pauses_.pauses.size(), 3u);
  for (const auto pause : pauses_.pauses) EXPECT_EQ(pause, std::chrono::milliseconds(50));
  EXPECT_FALSE(WriteIPCValueASync("{}", 11, "OUTDATA"));
  EXPECT_EQ(pauses_.pauses.size(), 6u);
}

TEST_F(ExchangeStubTest, WithoutServerListTheRequestFailsQuietly) {
  EXPECT_EQ(DefaultServerName(), "");
  TIPCResult result;
  EXPECT_EQ(SendExchangeRequest("TAXH", "", "", result), "");
  EXPECT_FALSE(result.AnswerValid);
  EXPECT_EQ(result.ComputerName, ".");
  EXPECT_EQ(result.ErrorDesc, "WriteFile failed while writing message ID");
}

TEST_F(ExchangeStubTest, FindsTheParentProcess) {
  // The stub started by this test reports its own parent: this process.
  const std::string name = UniqueName("parent");
  StartStub(name, {"--pid", "parent"});
  TIPCResult result;
  const std::string answer = SendExchangeRequest("SERVERPROCESS", name, "", result);
  EXPECT_EQ(answer, name + "\b" + std::to_string(CurrentProcessId()));
}

TEST_F(ExchangeStubTest, SelectsTheServerOfTheParentProcess) {
  // A process started from outside Wine has no parent in its process list.
  if (ParentProcessId() == 0) GTEST_SKIP() << "no parent process to find";
  const std::string other = UniqueName("other");
  const std::string own = UniqueName("own");
  StartStub(other, {"--pid", "1"});
  StartStub(own, {"--pid", std::to_string(ParentProcessId())});
  SelectOwnServer();
  EXPECT_EQ(SelectedServerName(), own);
  EXPECT_EQ(Counts(other), "SERVERPROCESS=1\n");
  EXPECT_EQ(Counts(own), "SERVERPROCESS=1\n");
  ReadIPCValueSync("TAXH");
  EXPECT_EQ(Counts(own), "SERVERPROCESS=1\nTAXH=1\n");
}

TEST_F(ExchangeStubTest, WithoutParentNoServerProcessRequestIsSent) {
  if (ParentProcessId() != 0) GTEST_SKIP() << "this process has a parent";
  const std::string name = UniqueName("orphan");
  StartStub(name);
  SelectOwnServer();
  EXPECT_EQ(SelectedServerName(), "");
  EXPECT_EQ(Counts(name), "");
}

TEST_F(ExchangeStubTest, NoMatchingProcessSelectsNothing) {
  if (ParentProcessId() == 0) GTEST_SKIP() << "no parent process to find";
  const std::string first = UniqueName("first");
  const std::string second = UniqueName("second");
  StartStub(first, {"--pid", "1"});
  StartStub(second, {"--pid", "2"});
  SelectOwnServer();
  EXPECT_EQ(SelectedServerName(), "");
  ReadIPCValueSync("TAXH");
  EXPECT_EQ(Counts(first), "SERVERPROCESS=1\nTAXH=1\n");
}

TEST_F(ExchangeStubTest, AResponseWithoutDataIsValidButEmpty) {
  const std::string name = UniqueName("nodata");
  StartStub(name, {"--no-data", "TAXH"});
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "");
  EXPECT_EQ(Counts(name), "TAXH=1\n");
  EXPECT_TRUE(pauses_.pauses.empty());
}

TEST_F(ExchangeStubTest, ALongAnswerArrivesInChunks) {
  const std::string name = UniqueName("long");
  StartStub(name, {"--answer", "TAXH=0123456789", "--repeat", "TAXH=7000"});
  const std::string answer = ReadIPCValueSync("TAXH");
  ASSERT_EQ(answer.size(), 70000u);
  EXPECT_EQ(answer.substr(69990), "0123456789");
}

TEST_F(ExchangeStubTest, PostsDataByteForByte) {
  const std::string name = UniqueName("post");
  StartStub(name, {"--outdata", File("posted")});
  const std::string json =
      "{\"Description\":\"Gr\xF6\xDF"
      "e \\u20ac\"}";
  EXPECT_TRUE(WriteIPCValueASync(json, 11, "OUTDATA"));
  EXPECT_EQ(ReadFileBytes(File("posted")), json);
  EXPECT_FALSE(WriteIPCValueASync("", 11, "OUTDATA"));
  EXPECT_EQ(Counts(name), "OUTDATA=1\n");
}

// The server has the whole request: posting it again could put the lines into the order twice.
TEST_F(ExchangeStubTest, APostClosedWithoutAnAnswerIsMadeOnce) {
  const std::string name = UniqueName("refuse");
  StartStub(name, {"--fail-outdata"});
  EXPECT_FALSE(WriteIPCValueASync("{}", 11, "OUTDATA"));
  EXPECT_TRUE(pauses_.pauses.empty());
  // The answered question after it shows that no second post followed.
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
  EXPECT_EQ(Counts(name), "OUTDATA=1\nTAXH=1\n");
}

// A post whose frame never reached a server is made again.
TEST_F(ExchangeStubTest, APostFindsAServerThatAppearsAfterTheFirstAttempt) {
  const std::string name = UniqueName("late");
  SetSelectedServerName(name);
  pauses_.on_sleep = [&] {
    if (pauses_.pauses.size() == 1) StartStub(name, {"--outdata", File("posted")});
  };
  EXPECT_TRUE(WriteIPCValueASync("{\"Order\":[]}", 11, "OUTDATA"));
  EXPECT_EQ(pauses_.pauses.size(), 1u);
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
  EXPECT_EQ(Counts(name), "OUTDATA=1\nTAXH=1\n");
  EXPECT_EQ(ReadFileBytes(File("posted")), "{\"Order\":[]}");
}

TEST(IsTrueAnswer, OnlyExactlyOne) {
  EXPECT_TRUE(IsTrueAnswer("1"));
  for (const char* answer : {"", "1 ", " 1", "01", "true", "2"}) {
    EXPECT_FALSE(IsTrueAnswer(answer)) << answer;
  }
}

TEST(SplitFields, NoFieldForEmptyTextAndNoneAfterAFinalDelimiter) {
  EXPECT_TRUE(SplitFields("", '\b').empty());
  EXPECT_EQ(SplitFields("a\bb", '\b'), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitFields("a\bb\b", '\b'), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitFields("\bb", '\b'), (std::vector<std::string>{"", "b"}));
}

}  // namespace
}  // namespace zw
