#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The operating system's local pipes behind one small interface: Win32 named pipes in the
// Windows build, Unix domain sockets elsewhere. A pipe path "\\.\pipe\NAME" becomes the socket
// "NAME.pipe" in the folder PipeSocketFolder() (characters other than letters, digits, '-',
// '_' and '.' are written as %XX), so the client and server can be tested natively.
namespace zw {

using PipeDeadline = std::chrono::steady_clock::time_point;

// Error codes as Windows reports them; the socket implementation maps its errors onto them.
namespace pipe_error {
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kBrokenPipe = 109;
constexpr std::uint32_t kPipeBusy = 231;
constexpr std::uint32_t kMoreData = 234;
constexpr std::uint32_t kWaitTimeout = 258;
}  // namespace pipe_error

// One open connection, either end.
class PipeConnection {
 public:
  virtual ~PipeConnection() = default;
  // Writes all bytes unless the deadline passes first; false with the error code otherwise.
  virtual bool Write(const void* data, std::size_t size, PipeDeadline deadline,
                     std::uint32_t& error) = 0;
  // Reads at least one and at most size bytes, waiting until the deadline; 0 with the error
  // code on failure, end of the connection or time-out (kWaitTimeout).
  virtual std::size_t Read(void* buffer, std::size_t size, PipeDeadline deadline,
                           std::uint32_t& error) = 0;
};

// The client side: opening a server's pipe.
class PipeClientSystem {
 public:
  virtual ~PipeClientSystem() = default;
  // Opens the pipe; none with the error code (kFileNotFound, kPipeBusy, others) on failure.
  virtual std::unique_ptr<PipeConnection> Open(const std::string& pipe_path,
                                               std::uint32_t& error) = 0;
  // Waits up to timeout_ms for an instance of the pipe to be free; false with the error code
  // when the pipe does not exist or the wait fails.
  virtual bool Wait(const std::string& pipe_path, std::uint32_t timeout_ms,
                    std::uint32_t& error) = 0;
};

// The system's pipes.
PipeClientSystem& SystemPipes();

// The server side: one pipe name, connections accepted one after another.
class PipeListener {
 public:
  virtual ~PipeListener() = default;
  // The next client, or none when the deadline passes or the listener fails.
  virtual std::unique_ptr<PipeConnection> Accept(PipeDeadline deadline) = 0;
};

// Starts serving "\\.\pipe\<server_name>". Throws Error when the pipe cannot be created.
std::unique_ptr<PipeListener> ListenOnPipe(const std::string& server_name);

// "\\<computer>\pipe\<server>".
std::string PipePathOf(const std::string& computer_name, const std::string& server_name);

// Where the socket implementation keeps its sockets: $ZW_PIPE_DIR, else the temporary folder.
std::string PipeSocketFolder();

}  // namespace zw
