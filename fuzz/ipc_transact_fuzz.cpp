// The pipe client's response handling over arbitrary bytes from a fake server, delivered in
// arbitrary pieces: the answer is valid exactly when a whole frame arrived, holds exactly its
// bytes, and a declared length the client refuses allocates nothing. The server side's frame
// reader gets the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exchange/frame_codec.h"
#include "exchange/ipc_client.h"
#include "exchange/message_data.h"
#include "fuzz_check.h"

namespace {

// Hands out the scripted bytes in the scripted piece sizes, then reports a broken pipe.
class ScriptedConnection final : public zw::PipeConnection {
 public:
  ScriptedConnection(std::string bytes, std::vector<std::size_t> pieces, bool writes_fail,
                     std::string& written)
      : bytes_(std::move(bytes)),
        pieces_(std::move(pieces)),
        writes_fail_(writes_fail),
        written_(written) {}

  bool Write(const void* data, std::size_t size, zw::PipeDeadline, std::uint32_t& error) override {
    if (writes_fail_) {
      error = zw::pipe_error::kBrokenPipe;
      return false;
    }
    written_.append(static_cast<const char*>(data), size);
    return true;
  }

  std::size_t Read(void* buffer, std::size_t size, zw::PipeDeadline,
                   std::uint32_t& error) override {
    if (position_ == bytes_.size()) {
      error = zw::pipe_error::kBrokenPipe;
      return 0;
    }
    std::size_t piece = pieces_.empty() ? size : pieces_[next_piece_++ % pieces_.size()];
    piece = std::clamp<std::size_t>(piece, 1, std::min(size, bytes_.size() - position_));
    std::memcpy(buffer, bytes_.data() + position_, piece);
    position_ += piece;
    return piece;
  }

 private:
  std::string bytes_;
  std::vector<std::size_t> pieces_;
  std::size_t next_piece_ = 0;
  std::size_t position_ = 0;
  bool writes_fail_;
  std::string& written_;
};

class ScriptedPipes final : public zw::PipeClientSystem {
 public:
  std::unique_ptr<zw::PipeConnection> Open(const std::string&, std::uint32_t&) override {
    return std::make_unique<ScriptedConnection>(bytes, pieces, writes_fail, written);
  }
  bool Wait(const std::string&, std::uint32_t, std::uint32_t& error) override {
    error = zw::pipe_error::kFileNotFound;
    return false;
  }

  std::string bytes;
  std::vector<std::size_t> pieces;
  bool writes_fail = false;
  std::string written;
};

// The frame the bytes begin with, when they hold a whole one the client accepts.
std::optional<zw::PipeFrame> WholeFrame(const std::string& bytes) {
  const auto length_at = [&](std::size_t at) -> std::optional<std::int64_t> {
    if (bytes.size() < at + 8) return std::nullopt;
    const std::int64_t value = zw::Int64From(reinterpret_cast<const unsigned char*>(&bytes[at]));
    if (value < 0 || value > zw::TIPCClient::kMaxFramePart) return std::nullopt;
    return value;
  };
  const auto id_length = length_at(0);
  if (!id_length || bytes.size() < 8 + static_cast<std::size_t>(*id_length)) return std::nullopt;
  const std::size_t size_at = 8 + static_cast<std::size_t>(*id_length);
  const auto data_size = length_at(size_at);
  if (!data_size || bytes.size() - size_at - 8 < static_cast<std::size_t>(*data_size)) {
    return std::nullopt;
  }
  return zw::PipeFrame{bytes.substr(8, static_cast<std::size_t>(*id_length)),
                       bytes.substr(size_at + 8, static_cast<std::size_t>(*data_size))};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  ScriptedPipes pipes;
  pipes.writes_fail = input.ConsumeIntegralInRange(0, 15) == 0;
  pipes.pieces.resize(input.ConsumeIntegralInRange(0, 4));
  for (std::size_t& piece : pipes.pieces) piece = input.ConsumeIntegralInRange(1, 64);
  const std::string request_text = input.ConsumeRandomLengthString(64);
  pipes.bytes = input.ConsumeRemainingBytesAsString();
  const std::optional<zw::PipeFrame> expected = WholeFrame(pipes.bytes);

  zw::MessageRef request = zw::NewMessageData();
  request->Storage().WriteString("DATA", request_text);
  zw::TIPCClient client(pipes);
  client.SelectServer("Fuzz");
  client.OpenPipe(1000);
  FUZZ_CHECK(client.IsConnected());
  const zw::MessageRef response = client.Transact(request, 1000);
  if (pipes.writes_fail) {
    FUZZ_CHECK(response == nullptr && !client.AnswerValid());
  } else {
    FUZZ_CHECK(response != nullptr);
    FUZZ_CHECK(client.AnswerValid() == expected.has_value());
    if (expected) {
      FUZZ_CHECK(response->MessageId() == expected->MessageId);
      FUZZ_CHECK(response->Storage().Bytes() == expected->Data);
    }
    response->Storage().ReadString("DATA");
    // The request went out as one frame of the request's own bytes.
    zw::PipeFrame sent;
    sent.Data = request->Storage().Bytes();
    FUZZ_CHECK(pipes.written == zw::EncodeFrame(sent));
  }
  client.ClosePipe();

  // The server's reader accepts the same frames.
  std::string ignored;
  ScriptedConnection connection(pipes.bytes, pipes.pieces, false, ignored);
  zw::PipeFrame frame;
  const bool read =
      zw::ReadFrame(connection, zw::PipeDeadline::max(), frame, zw::TIPCClient::kMaxFramePart);
  FUZZ_CHECK(read == expected.has_value());
  if (read) FUZZ_CHECK(frame.MessageId == expected->MessageId && frame.Data == expected->Data);
  return 0;
}
