// The order JSON of demo-like lines, as a post of the lines makes it: the document built, its
// text written and the document freed. Reports time, MB/s of the text and the peak heap.
#include <benchmark/benchmark.h>

#include <string>

#include "demo_text.h"
#include "exchange/UCustomTextParser.h"
#include "heap_counter.h"
#include "orderlines/uDataGridLines.h"

namespace {

void BM_OrderJson(benchmark::State& state) {
  zw::TExDataGridLines lines;
  zw::bench::FillDemoLikeLines(lines, static_cast<int>(state.range(0)));
  std::size_t text_size = 0;
  const auto post = [&] {
    const std::string text = zw::OrderJsonText(lines);
    text_size = text.size();
    benchmark::DoNotOptimize(text.data());
  };
  const std::size_t peak = zw::bench::PeakHeapOf(post);
  for (auto _ : state) post();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text_size));
  state.counters["text_MB"] = static_cast<double>(text_size) / 1e6;
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(BM_OrderJson)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
