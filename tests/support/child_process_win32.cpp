#include <windows.h>

#include "base/file_system.h"
#include "support/child_process.h"

namespace zw::test {
namespace {

// Quotes an argument the way the C runtime splits a command line.
std::string Quoted(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

}  // namespace

struct ChildProcess::Impl {
  PROCESS_INFORMATION process{};
  bool started = false;
  DWORD start_error = 0;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : impl_(std::make_unique<Impl>()) {
  std::string command = Quoted(program);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  impl_->started = CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &impl_->process) != 0;
  if (!impl_->started) impl_->start_error = GetLastError();
}

ChildProcess::~ChildProcess() {
  if (!impl_->started) return;
  if (Wait(std::chrono::milliseconds(0)) < 0) {
    Kill();
    Wait(std::chrono::seconds(5));
  }
  CloseHandle(impl_->process.hThread);
  CloseHandle(impl_->process.hProcess);
}

bool ChildProcess::Started() const { return impl_->started; }

unsigned long ChildProcess::StartError() const { return impl_->start_error; }

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  if (!impl_->started) return -1;
  if (WaitForSingleObject(impl_->process.hProcess, static_cast<DWORD>(timeout.count())) !=
      WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(impl_->process.hProcess, &code);
  return static_cast<int>(code);
}

void ChildProcess::Kill() {
  if (impl_->started) TerminateProcess(impl_->process.hProcess, 137);
}

std::string BuiltProgram(const std::string& name) { return ExecutableFolder() + name + ".exe"; }

}  // namespace zw::test
