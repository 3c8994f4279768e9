// The request layer against a hostile exchange-stub (a separate process serving real pipes)
// and against server list files that are binary or huge: every request ends empty or false,
// within the time-outs and retries it documents.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/file_system.h"
#include "exchange/exchange_requests.h"
#include "exchange/ipc_client.h"
#include "exchange/server_list_lock.h"
#include "support/exchange_stub_fixture.h"
#include "support/fake_sleeper.h"

namespace zw {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr std::uint32_t kInvalidData = 13;

// Far longer than any failure that does not wait for it takes, even on a busy machine: an
// exchange that ends well before it did not wait for the time-out.
constexpr std::uint32_t kLongTimeoutMs = 30000;
constexpr auto kWellBeforeTheTimeout = seconds(20);

struct Outcome {
  bool valid = false;
  std::string error;
  std::uint32_t code = 0;
  Clock::duration took{};
};

// One exchange with a client of its own, as the request layer makes it.
Outcome AskOnce(const std::string& server, const std::string& command, std::uint32_t timeout_ms) {
  MessageRef request = NewMessageData();
  request->Storage().WriteString("COMMAND", command);
  TIPCClient client;
  client.SelectServer(server);
  const auto start = Clock::now();
  client.Request(request, timeout_ms);
  return {client.AnswerValid(), client.LastErrorText(), client.LastErrorCode(),
          Clock::now() - start};
}

class ExchangeFaults : public test::ExchangeStubTest {
 protected:
  // The time a call takes.
  template <typename Call>
  Clock::duration Timed(Call call) {
    const auto start = Clock::now();
    call();
    return Clock::now() - start;
  }
};

TEST_F(ExchangeFaults, ASilentServerCostsThreeTimeoutsAndGivesAnEmptyAnswer) {
  const std::string name = UniqueName("silent");
  StartStub(name, {"--silent", "TAXH"});
  ExchangeConfiguration().TimeoutMs = 1000;
  std::string answer = "unchanged";
  const auto took = Timed([&] { answer = ReadIPCValueSync("TAXH"); });
  EXPECT_EQ(answer, "");
  EXPECT_EQ(Counts(name), "TAXH=3\n");
  EXPECT_EQ(pauses_.pauses.size(), 3u);
  // Each attempt waits out its time-out (the last poll may end a millisecond early), and no more
  // than that (a hang never returns).
  EXPECT_GE(took, milliseconds(2900));
  EXPECT_LT(took, seconds(30));

  const Outcome once = AskOnce(name, "TAXH", 1000);
  EXPECT_FALSE(once.valid);
  EXPECT_EQ(once.error, "ReadFile failed while reading message ID length");
  EXPECT_EQ(once.code, pipe_error::kWaitTimeout);
}

TEST_F(ExchangeFaults, APostToASilentServerIsMadeOnce) {
  const std::string name = UniqueName("silentpost");
  StartStub(name, {"--silent", "OUTDATA", "--outdata", File("posted")});
  ExchangeConfiguration().TimeoutMs = 1000;
  bool posted = true;
  const auto took = Timed([&] { posted = WriteIPCValueASync("{\"Order\":[]}", 11, "OUTDATA"); });
  EXPECT_FALSE(posted);
  EXPECT_LT(took, seconds(30));
  // The other commands of the same server still answer, and no second post came before them.
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
  EXPECT_EQ(Counts(name), "OUTDATA=1\nTAXH=1\n");
}

// An order application busy with a big order answers after the bound: the post counts as
// failed, and is not repeated, as the lines are already going into the order.
TEST_F(ExchangeFaults, APostAnsweredAfterTheBoundIsMadeOnce) {
  const std::string name = UniqueName("busypost");
  StartStub(name, {"--answer-delay", "OUTDATA:7000", "--outdata", File("posted")});
  ExchangeConfiguration().TimeoutMs = 5000;
  bool posted = true;
  const auto took = Timed([&] { posted = WriteIPCValueASync("{\"Order\":[]}", 11, "OUTDATA"); });
  EXPECT_FALSE(posted);
  EXPECT_TRUE(pauses_.pauses.empty());
  // The stub takes the next connection only after its late answer: the tax answered then
  // shows that the post was not made again meanwhile.
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
  EXPECT_EQ(Counts(name), "OUTDATA=1\nTAXH=1\n");
  EXPECT_EQ(ReadFileBytes(File("posted")), "{\"Order\":[]}");
  std::cout << "[ figures  ] post answered after 7 s: false after "
            << std::chrono::duration_cast<milliseconds>(took).count() << " ms, 1 OUTDATA\n";
}

TEST_F(ExchangeFaults, AFrameCutInItsHeaderFailsAtOnce) {
  const std::string name = UniqueName("cuthead");
  StartStub(name, {"--close-mid-frame", "TAXH=header"});
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  std::string answer = "unchanged";
  const auto took = Timed([&] { answer = ReadIPCValueSync("TAXH"); });
  EXPECT_EQ(answer, "");
  EXPECT_EQ(Counts(name), "TAXH=3\n");
  EXPECT_LT(took, kWellBeforeTheTimeout);

  const Outcome once = AskOnce(name, "TAXH", kLongTimeoutMs);
  EXPECT_FALSE(once.valid);
  EXPECT_EQ(once.error, "ReadFile failed while reading message ID length");
  EXPECT_NE(once.code, pipe_error::kWaitTimeout);
}

TEST_F(ExchangeFaults, AFrameCutInItsBodyGivesNoAnswerFromThePart) {
  const std::string name = UniqueName("cutbody");
  // A long answer, so the cut falls inside the text value: its first half arrives.
  StartStub(name, {"--close-mid-frame", "TAXH=body", "--answer", "TAXH=0123456789", "--repeat",
                   "TAXH=1000"});
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  std::string answer = "unchanged";
  const auto took = Timed([&] { answer = ReadIPCValueSync("TAXH"); });
  EXPECT_EQ(answer, "");
  EXPECT_EQ(Counts(name), "TAXH=3\n");
  EXPECT_LT(took, kWellBeforeTheTimeout);

  const Outcome once = AskOnce(name, "TAXH", kLongTimeoutMs);
  EXPECT_FALSE(once.valid);
  EXPECT_EQ(once.error, "ReadFile failed while reading message data");
  EXPECT_NE(once.code, pipe_error::kWaitTimeout);
}

TEST_F(ExchangeFaults, ImpossibleDeclaredSizesFailAtOnceWithoutWaitingForTheBytes) {
  // The stub declares the size, sends nothing more and keeps the connection open: a client
  // that believed the size would wait out the time-out (or first try to allocate it).
  const struct {
    const char* option;
    const char* size;
    const char* error;
  } cases[] = {
      {"--declare-size", "67108865", "ReadFile failed while reading message data size"},
      {"--declare-size", "4611686018427387904", "ReadFile failed while reading message data size"},
      {"--declare-size", "-1", "ReadFile failed while reading message data size"},
      {"--declare-size", "-9223372036854775808", "ReadFile failed while reading message data size"},
      {"--declare-id-size", "67108865", "ReadFile failed while reading message ID length"},
      {"--declare-id-size", "9223372036854775807",
       "ReadFile failed while reading message ID length"},
      {"--declare-id-size", "-2", "ReadFile failed while reading message ID length"},
  };
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.option) + " " + c.size);
    const std::string name = UniqueName("size");
    StartStub(name, {c.option, std::string("TAXH=") + c.size});
    const Outcome once = AskOnce(name, "TAXH", kLongTimeoutMs);
    EXPECT_FALSE(once.valid);
    EXPECT_EQ(once.error, c.error);
    EXPECT_EQ(once.code, kInvalidData);
    EXPECT_LT(once.took, kWellBeforeTheTimeout);
    SetSelectedServerName(name);
    EXPECT_EQ(ReadIPCValueSync("TAXH"), "");
    EXPECT_EQ(Counts(name), "TAXH=4\n");
  }
}

TEST_F(ExchangeFaults, ASizeWithinTheBoundThatNeverArrivesEndsWithTheTimeout) {
  // The largest size a response may declare: accepted, then awaited only until the time-out.
  const std::string name = UniqueName("bound");
  StartStub(name, {"--declare-size", "TAXH=67108864"});
  const Outcome once = AskOnce(name, "TAXH", 1000);
  EXPECT_FALSE(once.valid);
  EXPECT_EQ(once.error, "ReadFile failed while reading message data");
  EXPECT_EQ(once.code, pipe_error::kWaitTimeout);
  EXPECT_GE(once.took, milliseconds(900));
  EXPECT_LT(once.took, seconds(20));
}

TEST_F(ExchangeFaults, AnAnswerSentByteByByteWithinTheTimeoutArrives) {
  const std::string name = UniqueName("slow");
  StartStub(name, {"--byte-delay", "10"});
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
  EXPECT_TRUE(pauses_.pauses.empty());
  EXPECT_TRUE(WriteIPCValueASync("{}", 11, "OUTDATA"));
  EXPECT_EQ(Counts(name), "OUTDATA=1\nTAXH=1\n");
}

TEST_F(ExchangeFaults, AnAnswerSlowerThanTheTimeoutFailsWithinIt) {
  // About 40 bytes 150 ms apart: six seconds for the whole answer, against one second.
  const std::string name = UniqueName("slower");
  StartStub(name, {"--byte-delay", "150"});
  const Outcome once = AskOnce(name, "TAXH", 1000);
  EXPECT_FALSE(once.valid);
  EXPECT_EQ(once.code, pipe_error::kWaitTimeout);
  EXPECT_GE(once.took, milliseconds(900));
  EXPECT_LT(once.took, seconds(20));

  ExchangeConfiguration().TimeoutMs = 1000;
  std::string answer = "unchanged";
  const auto took = Timed([&] { answer = ReadIPCValueSync("TAXH"); });
  EXPECT_EQ(answer, "");
  EXPECT_EQ(pauses_.pauses.size(), 3u);
  EXPECT_LT(took, seconds(30));
}

// The first line of a binary file names no pipe that exists or can exist.
TEST_F(ExchangeFaults, ABinaryServerListGivesEmptyAnswersAtOnce) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 151 + 7) % 256));
  const std::string without_breaks = [&] {
    std::string bytes = binary;
    for (char& c : bytes) {
      if (c == '\r' || c == '\n') c = '\x01';
    }
    return bytes;
  }();
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  for (const std::string& contents :
       {binary, without_breaks, std::string("\0\0\0\0", 4), std::string(1 << 20, '\xFF')}) {
    WriteFileBytes(ServerListFile(), contents);
    pauses_.pauses.clear();
    std::string answer = "unchanged";
    bool posted = true;
    const auto took = Timed([&] {
      answer = ReadIPCValueSync("TAXH");
      posted = WriteIPCValueASync("{}", 11, "OUTDATA");
    });
    EXPECT_EQ(answer, "");
    EXPECT_FALSE(posted);
    EXPECT_EQ(pauses_.pauses.size(), 6u);
    EXPECT_LT(took, kWellBeforeTheTimeout);
  }
}

TEST_F(ExchangeFaults, BinaryBytesAfterTheFirstLineDoNotDisturbIt) {
  const std::string name = UniqueName("first");
  StartStub(name, {"--no-list"});
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 37 + 3) % 256));
  WriteFileBytes(ServerListFile(), name + "\r\n" + junk);
  EXPECT_EQ(DefaultServerName(), name);
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
}

// 50 MB: the file is read anew for every request that has no selected server.
TEST_F(ExchangeFaults, AHugeServerListIsReadAndItsFirstLineServed) {
  const std::string name = UniqueName("huge");
  StartStub(name, {"--no-list"});
  std::string contents = name + "\r\n";
  const std::string line = std::string(98, 'x') + "\r\n";
  while (contents.size() < 50'000'000) contents += line;
  WriteFileBytes(ServerListFile(), contents);
  contents.clear();
  contents.shrink_to_fit();
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  std::string answer;
  bool posted = false;
  const auto took = Timed([&] {
    answer = ReadIPCValueSync("TAXH");
    posted = WriteIPCValueASync("{}", 11, "OUTDATA");
  });
  EXPECT_EQ(answer, "19");
  EXPECT_TRUE(posted);
  EXPECT_LT(took, seconds(60));
  std::cout << "[ figures  ] two requests with a 50 MB server list: "
            << std::chrono::duration_cast<milliseconds>(took).count() << " ms\n";
}

TEST_F(ExchangeFaults, AHugeServerListOfOneLineNamesNoServer) {
  WriteFileBytes(ServerListFile(), std::string(50'000'000, 'A'));
  ExchangeConfiguration().TimeoutMs = kLongTimeoutMs;
  std::string answer = "unchanged";
  const auto took = Timed([&] { answer = ReadIPCValueSync("TAXH"); });
  EXPECT_EQ(answer, "");
  EXPECT_EQ(pauses_.pauses.size(), 3u);
  EXPECT_LT(took, kWellBeforeTheTimeout);
}

TEST_F(ExchangeFaults, AServerListHeldByAnotherProgramIsWaitedForUntilReleased) {
  const std::string name = UniqueName("locked");
  StartStub(name);
  test::ServerListLock lock(ServerListFile());
  ASSERT_TRUE(lock.Held());
  // The other program lets the list go during the fifth pause.
  test::FakeSleeper list_pauses;
  list_pauses.on_sleep = [&] {
    if (list_pauses.pauses.size() == 5) lock.Release();
  };
  ExchangeConfiguration().ListReadPauses = &list_pauses;
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
  EXPECT_EQ(list_pauses.pauses, std::vector<milliseconds>(5, milliseconds(100)));
  EXPECT_EQ(Counts(name), "TAXH=1\n");
}

TEST_F(ExchangeFaults, AServerListHeldLongerThanTheRetriesEndsInTheOpenError) {
  const std::string name = UniqueName("held");
  StartStub(name);
  test::ServerListLock lock(ServerListFile());
  ASSERT_TRUE(lock.Held());
  // 100 attempts 100 ms apart, then the error of the last one goes to the caller.
  test::FakeSleeper list_pauses;
  ExchangeConfiguration().ListReadPauses = &list_pauses;
  EXPECT_THROW(ReadIPCValueSync("TAXH"), FileOpenError);
  EXPECT_EQ(list_pauses.pauses, std::vector<milliseconds>(99, milliseconds(100)));
  EXPECT_EQ(Counts(name), "");
  // The tool selects its server at start; from then on the list is not read again.
  SetSelectedServerName(name);
  EXPECT_EQ(ReadIPCValueSync("TAXH"), "19");
}

}  // namespace
}  // namespace zw
