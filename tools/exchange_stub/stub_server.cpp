#include "stub_server.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "base/file_system.h"
#include "exchange/frame_codec.h"
#include "exchange/message_data.h"
#include "exchange/process_info.h"

namespace zw {
namespace {

constexpr std::chrono::milliseconds kPoll{100};
constexpr std::chrono::milliseconds kStep{10};  // a delayed answer still notices the stop
constexpr std::chrono::seconds kExchangeTimeout{5};
constexpr int kCountsFileAttempts = 1000;
constexpr std::chrono::milliseconds kCountsFilePause{2};

constexpr std::chrono::seconds kLongestHold{60};
constexpr std::size_t kFrameHead = 16;  // ID length 0 (the stub's ID is empty) and data size

PipeDeadline After(std::chrono::milliseconds span) {
  return std::chrono::steady_clock::now() + span;
}

// Reads and drops whatever comes until the client closes; a client that never does is left
// after a minute, so one connection cannot hold the stub for good.
void HoldUntilClientLeaves(PipeConnection& connection, const std::atomic<bool>& stop) {
  const PipeDeadline until = After(kLongestHold);
  char buffer[256];
  while (!stop && std::chrono::steady_clock::now() < until) {
    std::uint32_t error = 0;
    if (connection.Read(buffer, sizeof buffer, After(kPoll), error) == 0 &&
        error != pipe_error::kWaitTimeout) {
      return;
    }
  }
}

}  // namespace

ExchangeStub::ExchangeStub(StubOptions options) : options_(std::move(options)) {}

void ExchangeStub::Run(std::atomic<bool>& stop) {
  std::vector<std::unique_ptr<PipeListener>> listeners;
  for (const std::string& name : options_.ServerNames) listeners.push_back(ListenOnPipe(name));
  if (!options_.ReadyFile.empty()) WriteFileBytes(options_.ReadyFile, "ready\n");

  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < listeners.size(); ++i) {
    threads.emplace_back([&, i] { Serve(*listeners[i], options_.ServerNames[i], stop); });
  }
  while (!stop && !limit_reached_) {
    if (!options_.StopFile.empty() && FileExists(options_.StopFile)) break;
    std::this_thread::sleep_for(kPoll);
  }
  stop = true;
  for (std::thread& thread : threads) thread.join();
}

void ExchangeStub::Serve(PipeListener& listener, const std::string& server_name,
                         std::atomic<bool>& stop) {
  while (!stop && !limit_reached_) {
    std::unique_ptr<PipeConnection> connection = listener.Accept(After(kPoll));
    if (connection) Answer(*connection, server_name, stop);
  }
}

std::string ExchangeStub::AnswerOf(const std::string& command,
                                   const std::string& server_name) const {
  if (command == "SERVERPROCESS") {
    std::uint32_t process = 0;
    if (options_.ProcessId == "parent") {
      process = ParentProcessId();
    } else if (options_.ProcessId == "self") {
      process = CurrentProcessId();
    } else {
      process = static_cast<std::uint32_t>(std::stoul(options_.ProcessId));
    }
    return server_name + '\b' + std::to_string(process);
  }
  const auto answer = options_.Answers.find(command);
  return answer == options_.Answers.end() ? std::string() : answer->second;
}

void ExchangeStub::Answer(PipeConnection& connection, const std::string& server_name,
                          const std::atomic<bool>& stop) {
  PipeFrame request;
  if (!ReadFrame(connection, After(kExchangeTimeout), request)) return;
  if (!options_.RecordFile.empty()) AppendToFile(options_.RecordFile, EncodeFrame(request));

  MessageRef message = NewMessageData();
  message->Storage().Append(request.Data.data(), request.Data.size());
  message->Storage().SetPosition(0);
  const std::string command = message->Storage().ReadString("COMMAND");
  if (command == "OUTDATA" && !options_.OutDataFile.empty() && !options_.FailOutData) {
    AppendToFile(options_.OutDataFile, message->Storage().ReadString("DATA"));
  }
  Count(command);
  if (command == "OUTDATA" && options_.FailOutData) return;
  if (IsSilentFor(options_, command)) {
    HoldUntilClientLeaves(connection, stop);
    return;
  }

  if (const auto delay = options_.AnswerDelayMs.find(command);
      delay != options_.AnswerDelayMs.end()) {
    const PipeDeadline until = After(std::chrono::milliseconds(delay->second));
    while (!stop && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(kStep);
  }

  MessageRef response = NewMessageData();
  if (options_.WithoutData.count(command) == 0) {
    response->Storage().WriteString("DATA", AnswerOf(command, server_name));
  }
  bool hold = false;
  const std::string frame = EncodeFrame({"", response->Storage().Bytes()});
  const std::string bytes = Hostile(command, frame, hold);
  if (!Send(connection, bytes, stop)) return;
  if (hold) {
    HoldUntilClientLeaves(connection, stop);
    return;
  }
  // A cut frame ends with the connection.
  if (bytes.size() != frame.size()) return;
  // The client ends with its close marker; closing before it arrives could lose the answer.
  char marker[8];
  ReadExactly(connection, marker, sizeof marker, After(kExchangeTimeout));
}

std::string ExchangeStub::Hostile(const std::string& command, std::string frame, bool& hold) const {
  if (const std::int64_t* size = HostileEntry(options_.DeclaredIdSize, command)) {
    hold = true;
    std::string head;
    AppendInt64(head, *size);
    return head;
  }
  if (const std::int64_t* size = HostileEntry(options_.DeclaredSize, command)) {
    hold = true;
    std::string head;
    AppendInt64(head, 0);
    AppendInt64(head, *size);
    return head;
  }
  if (const std::string* part = HostileEntry(options_.CutFrame, command)) {
    // header: half of the ID length; body: the head and half of the data.
    frame.resize(*part == "header" ? 4 : kFrameHead + (frame.size() - kFrameHead) / 2);
  }
  return frame;
}

bool ExchangeStub::Send(PipeConnection& connection, const std::string& bytes,
                        const std::atomic<bool>& stop) {
  std::uint32_t error = 0;
  if (options_.ByteDelayMs <= 0) {
    return connection.Write(bytes.data(), bytes.size(), After(kExchangeTimeout), error);
  }
  for (const char byte : bytes) {
    if (stop || !connection.Write(&byte, 1, After(kExchangeTimeout), error)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(options_.ByteDelayMs));
  }
  return true;
}

void ExchangeStub::Count(const std::string& command) {
  const std::lock_guard<std::mutex> guard(lock_);
  ++counts_[command];
  ++requests_;
  if (!options_.CountsFile.empty()) {
    std::string text;
    for (const auto& [name, count] : counts_) text += name + "=" + std::to_string(count) + "\n";
    const std::string temporary = options_.CountsFile + ".tmp";
    WriteFileBytes(temporary, text);
    // On Windows a reader that has the file open keeps it from being removed or replaced, and
    // a count that is not written would seem never made: the write waits for the reader.
    for (int attempt = 0; attempt < kCountsFileAttempts; ++attempt) {
      std::remove(options_.CountsFile.c_str());
      if (std::rename(temporary.c_str(), options_.CountsFile.c_str()) == 0) break;
      std::this_thread::sleep_for(kCountsFilePause);
    }
  }
  if (options_.StopAfter > 0 && requests_ >= options_.StopAfter) limit_reached_ = true;
}

std::map<std::string, std::int64_t> ExchangeStub::Counts() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return counts_;
}

void ExchangeStub::AppendToFile(const std::string& path, const std::string& bytes) {
  const std::lock_guard<std::mutex> guard(lock_);
  std::ofstream file(path, std::ios::binary | std::ios::app);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zw
