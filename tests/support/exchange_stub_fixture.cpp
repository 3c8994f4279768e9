#include <gtest/gtest.h>

#include "support/exchange_stub_fixture.h"

#include <atomic>
#include <thread>

#include "base/errors.h"
#include "base/file_system.h"
#include "exchange/process_info.h"

namespace zw::test {

ExchangeStubTest::ExchangeStubTest()
    : saved_(ExchangeConfiguration()), saved_selection_(SelectedServerName()) {
  ExchangeConfiguration().TempFolder = folder_.Path();
  ExchangeConfiguration().Pauses = &pauses_;
  SetSelectedServerName("");
}

ExchangeStubTest::~ExchangeStubTest() {
  for (const auto& stub : stubs_) {
    stub->Kill();
    stub->Wait(std::chrono::seconds(5));
  }
  ExchangeConfiguration() = saved_;
  SetSelectedServerName(saved_selection_);
}

std::string ExchangeStubTest::UniqueName(const std::string& stem) {
  static std::atomic<int> counter{0};
  return stem + "-" + std::to_string(CurrentProcessId()) + "-" + std::to_string(counter++);
}

ChildProcess& ExchangeStubTest::StartStub(const std::string& name,
                                          std::vector<std::string> options) {
  const std::string ready = File(name + ".ready");
  options.insert(options.end(), {"--list-file", ServerListFile(), "--ready-file", ready, "--counts",
                                 File(name + ".counts"), name});
  stubs_.push_back(std::make_unique<ChildProcess>(BuiltProgram("exchange-stub"), options));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!FileExists(ready) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(FileExists(ready)) << "exchange-stub did not start";
  return *stubs_.back();
}

std::string ExchangeStubTest::Counts(const std::string& name) const {
  try {
    return ReadFileBytes(File(name + ".counts"));
  } catch (const Error&) {
    return {};
  }
}

}  // namespace zw::test
