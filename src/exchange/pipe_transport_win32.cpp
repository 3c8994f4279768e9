#include <windows.h>

#include "base/errors.h"
#include "exchange/pipe_transport.h"

namespace zw {
namespace {

constexpr DWORD kPipeBuffer = 65536;

DWORD MillisecondsUntil(PipeDeadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return 0;
  return left.count() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(left.count());
}

class Handle {
 public:
  explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Overlapped I/O on a pipe handle, so every wait is bounded by a deadline: a server that
// accepts and then sends nothing cannot hold the caller.
class OverlappedPipe final : public PipeConnection {
 public:
  explicit OverlappedPipe(HANDLE pipe)
      : pipe_(pipe), event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

  bool Write(const void* data, std::size_t size, PipeDeadline deadline,
             std::uint32_t& error) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
      DWORD done = 0;
      if (!Transfer(true, const_cast<char*>(bytes), chunk, deadline, done, error)) return false;
      bytes += done;
      size -= done;
    }
    return true;
  }

  std::size_t Read(void* buffer, std::size_t size, PipeDeadline deadline,
                   std::uint32_t& error) override {
    const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD done = 0;
    if (!Transfer(false, static_cast<char*>(buffer), chunk, deadline, done, error)) return 0;
    if (done == 0) error = ERROR_BROKEN_PIPE;
    return done;
  }

  HANDLE get() const { return pipe_.get(); }

 private:
  bool Transfer(bool write, char* bytes, DWORD size, PipeDeadline deadline, DWORD& done,
                std::uint32_t& error) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_.get();
    ResetEvent(event_.get());
    const BOOL started = write ? WriteFile(pipe_.get(), bytes, size, nullptr, &overlapped)
                               : ReadFile(pipe_.get(), bytes, size, nullptr, &overlapped);
    if (!started) {
      const DWORD failure = GetLastError();
      if (failure == ERROR_MORE_DATA) return Finish(overlapped, done, error);
      if (failure != ERROR_IO_PENDING) {
        error = failure;
        return false;
      }
      if (WaitForSingleObject(event_.get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0) {
        CancelIo(pipe_.get());
        GetOverlappedResult(pipe_.get(), &overlapped, &done, TRUE);
        error = WAIT_TIMEOUT;
        return false;
      }
    }
    return Finish(overlapped, done, error);
  }

  // A message longer than the buffer reports ERROR_MORE_DATA; its bytes arrived all the same.
  bool Finish(OVERLAPPED& overlapped, DWORD& done, std::uint32_t& error) {
    if (GetOverlappedResult(pipe_.get(), &overlapped, &done, TRUE)) return true;
    const DWORD failure = GetLastError();
    if (failure == ERROR_MORE_DATA) return true;
    error = failure;
    return false;
  }

  Handle pipe_;
  Handle event_;
};

class NamedPipes final : public PipeClientSystem {
 public:
  std::unique_ptr<PipeConnection> Open(const std::string& pipe_path,
                                       std::uint32_t& error) override {
    // Identification level only: the server may learn who connects, not act as the user.
    HANDLE pipe = CreateFileA(
        pipe_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
      error = GetLastError();
      return nullptr;
    }
    return std::make_unique<OverlappedPipe>(pipe);
  }

  bool Wait(const std::string& pipe_path, std::uint32_t timeout_ms, std::uint32_t& error) override {
    if (WaitNamedPipeA(pipe_path.c_str(), timeout_ms)) return true;
    error = GetLastError();
    return false;
  }
};

HANDLE NewPipeInstance(const std::string& path) {
  return CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                          PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES,
                          kPipeBuffer, kPipeBuffer, 0, nullptr);
}

// Always keeps one free instance of the pipe, so a client never finds the name missing
// between two connections.
class NamedPipeListener final : public PipeListener {
 public:
  NamedPipeListener(std::string path, HANDLE first)
      : path_(std::move(path)), next_(std::make_unique<OverlappedPipe>(first)) {}

  std::unique_ptr<PipeConnection> Accept(PipeDeadline deadline) override {
    if (!next_) {
      HANDLE pipe = NewPipeInstance(path_);
      if (pipe == INVALID_HANDLE_VALUE) return nullptr;
      next_ = std::make_unique<OverlappedPipe>(pipe);
    }
    if (!Connect(next_->get(), deadline)) return nullptr;
    std::unique_ptr<OverlappedPipe> connected = std::move(next_);
    HANDLE pipe = NewPipeInstance(path_);
    if (pipe != INVALID_HANDLE_VALUE) next_ = std::make_unique<OverlappedPipe>(pipe);
    return connected;
  }

 private:
  static bool Connect(HANDLE pipe, PipeDeadline deadline) {
    Handle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    if (ConnectNamedPipe(pipe, &overlapped)) return true;
    const DWORD failure = GetLastError();
    if (failure == ERROR_PIPE_CONNECTED) return true;
    if (failure != ERROR_IO_PENDING) return false;
    DWORD ignored = 0;
    if (WaitForSingleObject(event.get(), MillisecondsUntil(deadline)) != WAIT_OBJECT_0) {
      CancelIo(pipe);
      GetOverlappedResult(pipe, &overlapped, &ignored, TRUE);
      return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &ignored, FALSE) != 0;
  }

  std::string path_;
  std::unique_ptr<OverlappedPipe> next_;
};

}  // namespace

std::string PipeSocketFolder() { return {}; }

PipeClientSystem& SystemPipes() {
  static NamedPipes pipes;
  return pipes;
}

std::unique_ptr<PipeListener> ListenOnPipe(const std::string& server_name) {
  const std::string path = PipePathOf(".", server_name);
  HANDLE first = server_name.empty() ? INVALID_HANDLE_VALUE : NewPipeInstance(path);
  if (first == INVALID_HANDLE_VALUE) throw Error("Pipe kann nicht erstellt werden: " + server_name);
  return std::make_unique<NamedPipeListener>(path, first);
}

}  // namespace zw
