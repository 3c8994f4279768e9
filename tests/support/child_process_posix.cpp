#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "base/file_system.h"
#include "support/child_process.h"

extern char** environ;

namespace zw::test {

struct ChildProcess::Impl {
  pid_t pid = -1;
  int status = -1;
  bool ended = false;
  int start_error = 0;
};

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : impl_(std::make_unique<Impl>()) {
  std::vector<std::string> all = {program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  impl_->start_error =
      posix_spawn(&impl_->pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (impl_->start_error != 0) impl_->pid = -1;
}

ChildProcess::~ChildProcess() {
  if (impl_->pid > 0 && !impl_->ended) {
    Kill();
    Wait(std::chrono::seconds(5));
  }
}

bool ChildProcess::Started() const { return impl_->pid > 0; }

unsigned long ChildProcess::StartError() const {
  return static_cast<unsigned long>(impl_->start_error);
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  if (impl_->pid <= 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!impl_->ended) {
    int status = 0;
    if (waitpid(impl_->pid, &status, WNOHANG) == impl_->pid) {
      impl_->ended = true;
      impl_->status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return impl_->status;
}

void ChildProcess::Kill() {
  if (impl_->pid > 0 && !impl_->ended) kill(impl_->pid, SIGTERM);
}

std::string BuiltProgram(const std::string& name) { return ExecutableFolder() + name; }

}  // namespace zw::test
