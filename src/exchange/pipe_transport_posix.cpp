#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "base/errors.h"
#include "exchange/pipe_transport.h"

namespace zw {
namespace {

constexpr std::uint32_t kGeneralFailure = 31;  // ERROR_GEN_FAILURE
constexpr std::string_view kPipePrefix = "\\\\.\\pipe\\";

// The socket of a server name, or "" when the name cannot have one.
std::string SocketPathOfName(const std::string& server_name) {
  // Every character takes at least one byte of the path: a name this long cannot have a
  // socket, and is not copied character by character (a server list may hold megabytes).
  if (server_name.empty() || server_name.size() >= sizeof(sockaddr_un::sun_path)) return {};
  std::string file;
  for (const char c : server_name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.') {
      file.push_back(c);
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      file += '%';
      file += kHex[byte >> 4];
      file += kHex[byte & 15];
    }
  }
  const std::string path = PipeSocketFolder() + "/" + file + ".pipe";
  // A socket address holds at most 107 bytes of path.
  return path.size() < sizeof(sockaddr_un::sun_path) ? path : std::string();
}

// Only pipes of the local machine exist here.
std::string SocketPathOfPipe(const std::string& pipe_path) {
  if (pipe_path.compare(0, kPipePrefix.size(), kPipePrefix) != 0) return {};
  return SocketPathOfName(pipe_path.substr(kPipePrefix.size()));
}

sockaddr_un AddressOf(const std::string& socket_path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socket_path.c_str(), socket_path.size() + 1);
  return address;
}

int MillisecondsUntil(PipeDeadline deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return 0;
  return left.count() > 1'000'000 ? 1'000'000 : static_cast<int>(left.count());
}

// Waits until the socket is ready for the events or the deadline passes.
bool WaitFor(int socket, short events, PipeDeadline deadline) {
  for (;;) {
    pollfd entry{socket, events, 0};
    const int ready = ::poll(&entry, 1, MillisecondsUntil(deadline));
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) return false;
  }
}

class SocketConnection final : public PipeConnection {
 public:
  explicit SocketConnection(int socket) : socket_(socket) {}
  ~SocketConnection() override { ::close(socket_); }
  SocketConnection(const SocketConnection&) = delete;
  SocketConnection& operator=(const SocketConnection&) = delete;

  bool Write(const void* data, std::size_t size, PipeDeadline deadline,
             std::uint32_t& error) override {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
      if (!WaitFor(socket_, POLLOUT, deadline)) {
        error = pipe_error::kWaitTimeout;
        return false;
      }
      const ssize_t sent = ::send(socket_, bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (sent < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        error = pipe_error::kBrokenPipe;
        return false;
      }
      bytes += sent;
      size -= static_cast<std::size_t>(sent);
    }
    return true;
  }

  std::size_t Read(void* buffer, std::size_t size, PipeDeadline deadline,
                   std::uint32_t& error) override {
    for (;;) {
      if (!WaitFor(socket_, POLLIN, deadline)) {
        error = pipe_error::kWaitTimeout;
        return 0;
      }
      const ssize_t got = ::recv(socket_, buffer, size, MSG_DONTWAIT);
      if (got > 0) return static_cast<std::size_t>(got);
      if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      error = pipe_error::kBrokenPipe;
      return 0;
    }
  }

 private:
  int socket_;
};

class SocketPipes final : public PipeClientSystem {
 public:
  std::unique_ptr<PipeConnection> Open(const std::string& pipe_path,
                                       std::uint32_t& error) override {
    const std::string path = SocketPathOfPipe(pipe_path);
    if (path.empty()) {
      error = pipe_error::kFileNotFound;
      return nullptr;
    }
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
      error = kGeneralFailure;
      return nullptr;
    }
    const sockaddr_un address = AddressOf(path);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      const int failure = errno;
      ::close(socket);
      // A socket file without a listener is a server that has gone.
      if (failure == ENOENT || failure == ECONNREFUSED) {
        error = pipe_error::kFileNotFound;
      } else if (failure == EAGAIN) {
        error = pipe_error::kPipeBusy;
      } else {
        error = kGeneralFailure;
      }
      return nullptr;
    }
    return std::make_unique<SocketConnection>(socket);
  }

  bool Wait(const std::string& pipe_path, std::uint32_t timeout_ms, std::uint32_t& error) override {
    const std::string path = SocketPathOfPipe(pipe_path);
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) {
      error = pipe_error::kFileNotFound;
      return false;
    }
    // A busy socket has no notification of a free slot; give the server a moment.
    std::this_thread::sleep_for(std::chrono::milliseconds(timeout_ms < 10 ? timeout_ms : 10));
    return true;
  }
};

class SocketListener final : public PipeListener {
 public:
  SocketListener(int socket, std::string path) : socket_(socket), path_(std::move(path)) {}
  ~SocketListener() override {
    ::close(socket_);
    ::unlink(path_.c_str());
  }
  SocketListener(const SocketListener&) = delete;
  SocketListener& operator=(const SocketListener&) = delete;

  std::unique_ptr<PipeConnection> Accept(PipeDeadline deadline) override {
    while (WaitFor(socket_, POLLIN, deadline)) {
      const int client = ::accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client >= 0) return std::make_unique<SocketConnection>(client);
      if (errno != EAGAIN && errno != EINTR && errno != ECONNABORTED) return nullptr;
    }
    return nullptr;
  }

 private:
  int socket_;
  std::string path_;
};

}  // namespace

std::string PipeSocketFolder() {
  const char* folder = std::getenv("ZW_PIPE_DIR");
  if (folder != nullptr && *folder != '\0') return folder;
  const char* temp = std::getenv("TMPDIR");
  return temp != nullptr && *temp != '\0' ? temp : "/tmp";
}

PipeClientSystem& SystemPipes() {
  static SocketPipes pipes;
  return pipes;
}

std::unique_ptr<PipeListener> ListenOnPipe(const std::string& server_name) {
  const std::string path = SocketPathOfName(server_name);
  if (path.empty()) throw Error("Pipe kann nicht erstellt werden: " + server_name);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket < 0) throw Error("Pipe kann nicht erstellt werden: " + server_name);
  ::unlink(path.c_str());
  const sockaddr_un address = AddressOf(path);
  if (::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket, 16) != 0) {
    ::close(socket);
    throw Error("Pipe kann nicht erstellt werden: " + server_name);
  }
  return std::make_unique<SocketListener>(socket, path);
}

}  // namespace zw
