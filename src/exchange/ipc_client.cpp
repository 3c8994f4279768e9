#include "exchange/ipc_client.h"

#include "exchange/frame_codec.h"

#include <vector>

namespace zw {
namespace {

constexpr std::size_t kChunk = 65536;
constexpr std::int64_t kCloseMarker = -1;
constexpr std::uint32_t kInvalidData = 13;  // ERROR_INVALID_DATA

PipeDeadline DeadlineAfter(std::uint32_t timeout_ms) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
}

}  // namespace

TIPCClient::TIPCClient(PipeClientSystem& pipes) : pipes_(pipes) {}

TIPCClient::~TIPCClient() { ClosePipe(); }

void TIPCClient::SelectServer(const std::string& server_name) {
  server_name_ = server_name;
  pipe_path_ = PipePathOf(computer_name_, server_name_);
}

bool TIPCClient::Fail(const char* text, std::uint32_t code) {
  last_error_text_ = text;
  last_error_code_ = code;
  return false;
}

void TIPCClient::OpenPipe(std::uint32_t timeout_ms) {
  pipe_.reset();
  is_connected_ = false;
  last_error_text_.clear();
  last_error_code_ = 0;
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - start)
                                          .count());
  };
  while (elapsed() < timeout_ms) {
    std::uint32_t error = 0;
    pipe_ = pipes_.Open(pipe_path_, error);
    if (pipe_) {
      is_connected_ = true;
      return;
    }
    if (error != pipe_error::kFileNotFound && error != pipe_error::kPipeBusy) {
      Fail("CreateFile failed while creating new pipe handle", error);
      return;
    }
    const std::uint32_t used = elapsed();
    if (!pipes_.Wait(pipe_path_, used < timeout_ms ? timeout_ms - used : 0, error)) {
      Fail("WaitNamedPipe failed while wating for the pipe", error);
      return;
    }
  }
  Fail("IPC client failed with WAIT timeout", pipe_error::kWaitTimeout);
}

bool TIPCClient::Send(const void* data, std::size_t size, PipeDeadline deadline,
                      const char* failure) {
  if (!pipe_) return Fail(failure, pipe_error::kInvalidHandle);
  std::uint32_t error = 0;
  if (!pipe_->Write(data, size, deadline, error)) return Fail(failure, error);
  return true;
}

// Reads exactly size bytes; a server may deliver a frame part in several pieces.
bool TIPCClient::Receive(void* buffer, std::size_t size, PipeDeadline deadline,
                         const char* failure) {
  if (!pipe_) return Fail(failure, pipe_error::kInvalidHandle);
  auto* bytes = static_cast<char*>(buffer);
  while (size > 0) {
    std::uint32_t error = 0;
    const std::size_t got = pipe_->Read(bytes, size, deadline, error);
    if (got == 0) return Fail(failure, error);
    bytes += got;
    size -= got;
  }
  return true;
}

bool TIPCClient::ReceiveLength(std::int64_t& length, PipeDeadline deadline, const char* failure) {
  unsigned char bytes[8];
  if (!Receive(bytes, sizeof bytes, deadline, failure)) return false;
  length = Int64From(bytes);
  // A length no response can have: nothing of that size is allocated or awaited.
  if (length < 0 || length > kMaxFramePart) return Fail(failure, kInvalidData);
  return true;
}

MessageRef TIPCClient::Transact(const MessageRef& request, std::uint32_t timeout_ms) {
  answer_valid_ = false;
  request_sent_ = false;
  last_error_code_ = 0;
  const PipeDeadline deadline = DeadlineAfter(timeout_ms);

  TStreamStorage& storage = request->Storage();
  const std::int64_t size = storage.Size();
  storage.SetPosition(0);
  const std::string id = request->MessageId();
  std::string head;
  AppendInt64(head, static_cast<std::int64_t>(id.size()));
  head += id;
  if (!Send(head.data(), head.size(), deadline, "WriteFile failed while writing message ID")) {
    return nullptr;
  }
  std::string size_bytes;
  AppendInt64(size_bytes, size);
  if (!Send(size_bytes.data(), size_bytes.size(), deadline,
            "WriteFile failed while writing message data size")) {
    return nullptr;
  }
  std::vector<char> chunk(kChunk);
  if (size > 0) {
    for (std::size_t got = storage.Read(chunk.data(), kChunk); got > 0;
         got = storage.Read(chunk.data(), kChunk)) {
      if (!Send(chunk.data(), got, deadline, "WriteFile failed while writing message chunk")) {
        return nullptr;
      }
    }
  }
  request_sent_ = true;

  MessageRef response = NewMessageData();
  std::int64_t id_length = 0;
  if (!ReceiveLength(id_length, deadline, "ReadFile failed while reading message ID length")) {
    return response;
  }
  if (id_length > 0) {
    std::string response_id(static_cast<std::size_t>(id_length), '\0');
    if (!Receive(response_id.data(), response_id.size(), deadline,
                 "ReadFile failed while reading message ID")) {
      return response;
    }
    response->SetMessageId(response_id);
  }
  std::int64_t data_size = 0;
  if (!ReceiveLength(data_size, deadline, "ReadFile failed while reading message data size")) {
    return response;
  }
  TStreamStorage& answer = response->Storage();
  for (std::int64_t total = 0; total < data_size;) {
    const auto wanted = static_cast<std::size_t>(
        data_size - total < static_cast<std::int64_t>(kChunk) ? data_size - total : kChunk);
    std::uint32_t error = 0;
    const std::size_t got = pipe_->Read(chunk.data(), wanted, deadline, error);
    if (got == 0) {
      Fail("ReadFile failed while reading message data", error);
      return response;
    }
    answer.Append(chunk.data(), got);
    total += static_cast<std::int64_t>(got);
  }
  answer.SetPosition(0);
  answer_valid_ = true;
  return response;
}

void TIPCClient::ClosePipe() {
  if (!pipe_) return;
  std::string marker;
  AppendInt64(marker, kCloseMarker);
  std::uint32_t ignored = 0;
  pipe_->Write(marker.data(), marker.size(), DeadlineAfter(1000), ignored);
  pipe_.reset();
  is_connected_ = false;
}

MessageRef TIPCClient::Request(const MessageRef& request, std::uint32_t timeout_ms) {
  OpenPipe(timeout_ms);
  MessageRef response;
  try {
    response = Transact(request, timeout_ms);
  } catch (...) {
    ClosePipe();
    throw;
  }
  ClosePipe();
  return response;
}

}  // namespace zw
