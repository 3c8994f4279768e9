// The pipe client against servers that misbehave, played by a thread of the test.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "exchange/frame_codec.h"
#include "exchange/ipc_client.h"
#include "exchange/process_info.h"

namespace zw {
namespace {

std::string Int64Bytes(std::int64_t value) {
  std::string bytes;
  AppendInt64(bytes, value);
  return bytes;
}

// Serves one connection with the given behaviour on a thread of its own.
class OneShotServer {
 public:
  using Behaviour = std::function<void(PipeConnection&)>;

  explicit OneShotServer(Behaviour behaviour)
      : name_("zwtest-" + std::to_string(CurrentProcessId()) + "-" + std::to_string(counter_++)),
        listener_(ListenOnPipe(name_)),
        thread_([this, behaviour] {
          auto connection =
              listener_->Accept(std::chrono::steady_clock::now() + std::chrono::seconds(10));
          if (connection) behaviour(*connection);
        }) {}
  ~OneShotServer() { Join(); }
  // Waits until the server has finished its connection.
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  const std::string& Name() const { return name_; }

 private:
  static inline std::atomic<int> counter_{0};
  std::string name_;
  std::unique_ptr<PipeListener> listener_;
  std::thread thread_;
};

PipeDeadline Soon() { return std::chrono::steady_clock::now() + std::chrono::seconds(5); }

// Reads the request, then answers with the given bytes in the given pieces.
OneShotServer::Behaviour Answering(std::string bytes, std::size_t piece = 0,
                                   std::string* close_marker = nullptr) {
  return [bytes, piece, close_marker](PipeConnection& connection) {
    PipeFrame request;
    if (!ReadFrame(connection, Soon(), request)) return;
    std::uint32_t error = 0;
    const std::size_t step = piece == 0 ? bytes.size() : piece;
    for (std::size_t at = 0; at < bytes.size(); at += step) {
      connection.Write(bytes.data() + at, std::min(step, bytes.size() - at), Soon(), error);
      if (piece != 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (close_marker != nullptr) {
      close_marker->assign(8, '\0');
      ReadExactly(connection, close_marker->data(), 8, Soon());
    }
  };
}

MessageRef TaxRequest() {
  MessageRef request = NewMessageData();
  request->Storage().WriteString("COMMAND", "TAXH");
  return request;
}

std::string ResponseFrame(const std::string& answer) {
  MessageRef response = NewMessageData();
  response->Storage().WriteString("DATA", answer);
  return EncodeFrame({"resp-id", response->Storage().Bytes()});
}

TEST(TIPCClient, ExchangesOneFrameAndEndsWithTheCloseMarker) {
  std::string marker;
  OneShotServer server(Answering(ResponseFrame("19"), 0, &marker));
  TIPCClient client;
  client.SelectServer(server.Name());
  EXPECT_EQ(client.PipePath(), "\\\\.\\pipe\\" + server.Name());
  const MessageRef response = client.Request(TaxRequest(), 2000);
  ASSERT_TRUE(response);
  EXPECT_TRUE(client.AnswerValid());
  EXPECT_EQ(client.LastErrorText(), "");
  EXPECT_EQ(client.LastErrorCode(), 0u);
  EXPECT_FALSE(client.IsConnected());
  EXPECT_EQ(response->MessageId(), "resp-id");
  EXPECT_EQ(response->Storage().ReadString("DATA"), "19");
  server.Join();
  EXPECT_EQ(marker, std::string(8, '\xFF'));
}

TEST(TIPCClient, AcceptsAResponseDeliveredByteByByte) {
  OneShotServer server(Answering(ResponseFrame("langsam"), 1));
  TIPCClient client;
  client.SelectServer(server.Name());
  const MessageRef response = client.Request(TaxRequest(), 5000);
  ASSERT_TRUE(client.AnswerValid()) << client.LastErrorText();
  EXPECT_EQ(response->Storage().ReadString("DATA"), "langsam");
}

TEST(TIPCClient, EmptyResponseIsValid) {
  OneShotServer server(Answering(Int64Bytes(0) + Int64Bytes(0)));
  TIPCClient client;
  client.SelectServer(server.Name());
  const MessageRef response = client.Request(TaxRequest(), 2000);
  EXPECT_TRUE(client.AnswerValid());
  EXPECT_EQ(response->Storage().Size(), 0);
}

TEST(TIPCClient, ASilentServerHoldsTheClientOnlyForTheTimeout) {
  std::atomic<bool> release{false};
  OneShotServer server([&](PipeConnection&) {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  });
  TIPCClient client;
  client.SelectServer(server.Name());
  const auto start = std::chrono::steady_clock::now();
  client.Request(TaxRequest(), 300);
  const auto waited = std::chrono::steady_clock::now() - start;
  release = true;
  EXPECT_FALSE(client.AnswerValid());
  EXPECT_EQ(client.LastErrorText(), "ReadFile failed while reading message ID length");
  // Bounded by the time-out, with room for a busy machine; without the bound it never returns.
  EXPECT_LT(waited, std::chrono::seconds(4));
}

TEST(TIPCClient, AServerThatStopsInTheMiddleOfAFrameFails) {
  const std::string frame = ResponseFrame("abgebrochen");
  OneShotServer server(Answering(frame.substr(0, frame.size() - 3)));
  TIPCClient client;
  client.SelectServer(server.Name());
  const MessageRef response = client.Request(TaxRequest(), 2000);
  EXPECT_FALSE(client.AnswerValid());
  EXPECT_EQ(client.LastErrorText(), "ReadFile failed while reading message data");
  ASSERT_TRUE(response);  // what arrived is handed back
}

TEST(TIPCClient, ImpossibleLengthsAreFailedReads) {
  const struct {
    std::string bytes;
    const char* error;
  } cases[] = {
      {Int64Bytes(1LL << 40), "ReadFile failed while reading message ID length"},
      {Int64Bytes(-1), "ReadFile failed while reading message ID length"},
      {Int64Bytes(0) + Int64Bytes(-5), "ReadFile failed while reading message data size"},
      {Int64Bytes(0) + Int64Bytes(64LL * 1024 * 1024 + 1),
       "ReadFile failed while reading message data size"},
  };
  for (const auto& c : cases) {
    OneShotServer server(Answering(c.bytes));
    TIPCClient client;
    client.SelectServer(server.Name());
    client.Request(TaxRequest(), 2000);
    EXPECT_FALSE(client.AnswerValid());
    EXPECT_EQ(client.LastErrorText(), c.error);
  }
}

TEST(TIPCClient, AMissingPipeFailsAtOnceAtTheFirstWrite) {
  for (const std::string& name : {std::string("zw-nobody-listens"), std::string()}) {
    TIPCClient client;
    client.SelectServer(name);
    const auto start = std::chrono::steady_clock::now();
    const MessageRef response = client.Request(TaxRequest(), 5000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_FALSE(response);
    EXPECT_FALSE(client.AnswerValid());
    EXPECT_EQ(client.LastErrorText(), "WriteFile failed while writing message ID");
    EXPECT_EQ(client.LastErrorCode(), pipe_error::kInvalidHandle);
  }
}

TEST(TIPCClient, SendsLargeRequestsInChunks) {
  std::string received;
  OneShotServer server([&](PipeConnection& connection) {
    PipeFrame request;
    if (!ReadFrame(connection, Soon(), request)) return;
    received = request.Data;
    const std::string reply = Int64Bytes(0) + Int64Bytes(0);
    std::uint32_t error = 0;
    connection.Write(reply.data(), reply.size(), Soon(), error);
  });
  MessageRef request = NewMessageData();
  request->Storage().WriteString("DATA", std::string(100000, 'x'));
  TIPCClient client;
  client.SelectServer(server.Name());
  client.Request(request, 5000);
  EXPECT_TRUE(client.AnswerValid()) << client.LastErrorText();
  server.Join();
  EXPECT_EQ(received, request->Storage().Bytes());
}

}  // namespace
}  // namespace zw
