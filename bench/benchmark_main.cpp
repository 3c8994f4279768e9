// The benchmarks' entry point. "--write-demo-text ROWS FILE" writes the calculation the
// benchmarks convert, so other readers (scripts/bench times Python's csv) get the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "demo_text.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--write-demo-text") {
    if (argc != 4) {
      std::fprintf(stderr, "Usage: zw_benchmarks --write-demo-text ROWS FILE\n");
      return 2;
    }
    try {
      zw::WriteFileBytes(argv[3], zw::bench::DemoLikeText(std::stoi(argv[2])));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "zw_benchmarks: %s\n", error.what());
      return 2;
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
