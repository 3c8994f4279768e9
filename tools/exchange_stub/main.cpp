// exchange-stub: a substitute for the order application's exchange server, for development,
// tests and the demo.
#include <atomic>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "exchange/exchange_requests.h"
#include "server_list.h"
#include "stop_signal.h"
#include "stub_options.h"
#include "stub_server.h"

int main(int argc, char** argv) {
  zw::StubOptions options;
  try {
    options = zw::ParseStubOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::cerr << "exchange-stub: " << error.what() << "\n" << zw::kStubUsage;
    return 2;
  }
  if (options.Help) {
    std::cout << zw::kStubUsage;
    return 0;
  }
  std::atomic<bool> stop{false};
  zw::StopOnSignal(stop);
  const std::string list = options.ListFile.empty() ? zw::ServerListFile() : options.ListFile;
  try {
    if (options.UseListFile) zw::AddToServerList(list, options.ServerNames);
    zw::ExchangeStub stub(options);
    stub.Run(stop);
  } catch (const std::exception& error) {
    std::cerr << "exchange-stub: " << error.what() << "\n";
    if (options.UseListFile) zw::RemoveFromServerList(list, options.ServerNames);
    return 1;
  }
  if (options.UseListFile) zw::RemoveFromServerList(list, options.ServerNames);
  return 0;
}
