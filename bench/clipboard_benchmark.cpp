// Rendering and streaming order lines into the four clipboard items. Reports time, MB/s of
// the items written and the peak heap of one copy.
#include <benchmark/benchmark.h>

#include <string>

#include "counting_clipboard.h"
#include "demo_text.h"
#include "heap_counter.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"

namespace {

void BM_CopyToClipboard(benchmark::State& state) {
  zw::TExDataGridLines lines;
  zw::bench::FillDemoLikeLines(lines, static_cast<int>(state.range(0)));
  zw::bench::CountingClipboard clipboard;
  const auto copy = [&] {
    if (!lines.CopyToClipboard("", clipboard)) state.SkipWithError("not placed");
    benchmark::DoNotOptimize(clipboard.bytes);
  };
  const std::size_t peak = zw::bench::PeakHeapOf(copy);
  for (auto _ : state) copy();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * clipboard.bytes));
  state.counters["items_MB"] = static_cast<double>(clipboard.bytes) / 1e6;
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(BM_CopyToClipboard)->Arg(50)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
