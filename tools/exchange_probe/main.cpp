// exchange-probe: measures request round trips to an exchange server, and the cost of a
// request to a server that is not there. Prints the figures; used for performance reports.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "exchange/exchange_requests.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration span) {
  return std::chrono::duration<double, std::milli>(span).count();
}

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-40s median %8.3f ms  min %8.3f ms  max %8.3f ms  (%zu runs)\n", what,
              samples[samples.size() / 2], samples.front(), samples.back(), samples.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "Usage: exchange-probe SERVER [COUNT]\n");
    return 2;
  }
  const std::string server = argv[1];
  const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;

  std::vector<double> round_trips;
  for (int i = 0; i < count; ++i) {
    zw::TIPCResult result;
    const auto start = std::chrono::steady_clock::now();
    zw::SendExchangeRequest("TAXH", server, "", result);
    round_trips.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    if (!result.AnswerValid) {
      std::fprintf(stderr, "exchange-probe: no answer from %s: %s\n", server.c_str(),
                   result.ErrorDesc.c_str());
      return 1;
    }
  }
  Report("TAXH round trip", round_trips);

  zw::SetSelectedServerName(server + "-absent");
  std::vector<double> missing;
  for (int i = 0; i < std::min(count, 20); ++i) {
    const auto start = std::chrono::steady_clock::now();
    zw::ReadIPCValueSync("TAXH");
    missing.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
  }
  Report("ReadIPCValueSync, server missing", missing);
  return 0;
}
