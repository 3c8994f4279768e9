#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "exchange/message_data.h"
#include "exchange/pipe_transport.h"

namespace zw {

// Carries one request message to an exchange server's pipe and brings back its response.
// Frame, both directions: int64 ID length, the ID, int64 data size, the storage stream. After
// the exchange the client writes the close marker (int64 -1) and closes the pipe.
class TIPCClient {
 public:
  // A declared ID length or data size beyond this is not a response: nothing of it is read.
  static constexpr std::int64_t kMaxFramePart = 64LL * 1024 * 1024;

  explicit TIPCClient(PipeClientSystem& pipes = SystemPipes());
  ~TIPCClient();
  TIPCClient(const TIPCClient&) = delete;
  TIPCClient& operator=(const TIPCClient&) = delete;

  void SelectServer(const std::string& server_name);
  // Opens the pipe, waiting for a busy one at most timeout_ms; a missing pipe fails at once.
  void OpenPipe(std::uint32_t timeout_ms);
  // Sends the request and reads the response, all within timeout_ms. The response is handed
  // back also after a failure in its middle, holding the data that arrived; none when sending
  // failed.
  MessageRef Transact(const MessageRef& request, std::uint32_t timeout_ms);
  void ClosePipe();
  // OpenPipe, Transact, ClosePipe.
  MessageRef Request(const MessageRef& request, std::uint32_t timeout_ms);

  const std::string& PipePath() const { return pipe_path_; }
  const std::string& LastErrorText() const { return last_error_text_; }
  std::uint32_t LastErrorCode() const { return last_error_code_; }
  const std::string& ServerName() const { return server_name_; }
  bool IsConnected() const { return is_connected_; }
  bool AnswerValid() const { return answer_valid_; }
  // The last Transact wrote the whole request frame: the server has the request, whatever
  // became of its answer.
  bool RequestSent() const { return request_sent_; }
  const std::string& ComputerName() const { return computer_name_; }

 private:
  bool Fail(const char* text, std::uint32_t code);
  bool Send(const void* data, std::size_t size, PipeDeadline deadline, const char* failure);
  bool Receive(void* buffer, std::size_t size, PipeDeadline deadline, const char* failure);
  bool ReceiveLength(std::int64_t& length, PipeDeadline deadline, const char* failure);

  PipeClientSystem& pipes_;
  std::string pipe_path_;
  std::string last_error_text_;
  std::uint32_t last_error_code_ = 0;
  std::string server_name_;
  std::unique_ptr<PipeConnection> pipe_;
  bool is_connected_ = false;
  bool answer_valid_ = false;
  bool request_sent_ = false;
  std::string computer_name_ = ".";
};

}  // namespace zw
