#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace zw::test {

// A program started by a test. The destructor ends it if it still runs.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const;
  // Why the start failed: the system's error code, 0 when it started.
  unsigned long StartError() const;
  // The exit code, or -1 when it has not ended within the time.
  int Wait(std::chrono::milliseconds timeout);
  void Kill();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A program built beside the test executable ("exchange-stub", ".exe" added on Windows).
std::string BuiltProgram(const std::string& name);

}  // namespace zw::test
