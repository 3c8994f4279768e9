#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "exchange/exchange_requests.h"
#include "support/child_process.h"
#include "support/fake_sleeper.h"
#include "support/temp_folder.h"

namespace zw::test {

// A private exchange temp folder, fake pauses and unique pipe names; starts exchange-stub
// processes that list their names in this folder's server list.
class ExchangeStubTest : public ::testing::Test {
 protected:
  ExchangeStubTest();
  ~ExchangeStubTest() override;

  // A pipe name no other test uses.
  std::string UniqueName(const std::string& stem);
  // Starts exchange-stub serving the name with extra options; waits until it listens.
  ChildProcess& StartStub(const std::string& name, std::vector<std::string> options = {});
  // The stub's request counts ("TAXH=2" lines).
  std::string Counts(const std::string& name) const;
  std::string File(const std::string& name) const { return folder_.Path() + name; }

  TempFolder folder_;
  FakeSleeper pauses_;
  std::vector<std::unique_ptr<ChildProcess>> stubs_;

 private:
  ExchangeSettings saved_;
  std::string saved_selection_;
};

}  // namespace zw::test
