#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "exchange/pipe_transport.h"
#include "stub_options.h"

namespace zw {

// Serves every configured pipe on a thread of its own until asked to stop.
class ExchangeStub {
 public:
  explicit ExchangeStub(StubOptions options);

  // Returns when the stop flag is set, the stop file appears or the request limit is reached.
  void Run(std::atomic<bool>& stop);
  // The requests counted so far, by command; safe while Run serves on another thread.
  std::map<std::string, std::int64_t> Counts() const;

 private:
  void Serve(PipeListener& listener, const std::string& server_name, std::atomic<bool>& stop);
  void Answer(PipeConnection& connection, const std::string& server_name,
              const std::atomic<bool>& stop);
  bool Send(PipeConnection& connection, const std::string& bytes, const std::atomic<bool>& stop);
  // The hostile frame for the command, or the answer unchanged; hold: keep the connection.
  std::string Hostile(const std::string& command, std::string frame, bool& hold) const;
  std::string AnswerOf(const std::string& command, const std::string& server_name) const;
  void Count(const std::string& command);
  void AppendToFile(const std::string& path, const std::string& bytes);

  StubOptions options_;
  mutable std::mutex lock_;  // counts and files
  std::map<std::string, std::int64_t> counts_;
  std::int64_t requests_ = 0;
  std::atomic<bool> limit_reached_{false};
};

}  // namespace zw
