// Rendering and streaming order lines into the four clipboard items. Reports time, MB/s of
// the items written and the peak heap of one copy.
#include <benchmark/benchmark.h>

#include <string>

#include "counting_clipboard.h"
#include "heap_counter.h"
#include "orderlines/UClpUtils.h"
#include "orderlines/uDataGridLines.h"

namespace {

// Lines as the demo conversion makes them: every tenth a text line, every third with a long
// text.
void FillDemoLikeLines(zw::TExDataGridLines& lines, int count) {
  for (int i = 1; i <= count; ++i) {
    zw::TDataGridLine& line = lines.Add();
    line.Pos = "(" + std::to_string(i) + ",)";
    line.Bezeichnung1 = "Float 3mm klar, Position " + std::to_string(i);
    line.Isnetto = true;
    if (i % 10 == 0) {
      line.TypeLine = "-";
      continue;
    }
    line.Stueck = std::to_string(1 + i % 7);
    line.Einzelbetrag = "15,2";
    line.Steuer = "8";
    if (i % 3 == 0) line.Second = "Masse in mm: 500 X 400 = 0,40 m\xB2";
  }
}

void BM_CopyToClipboard(benchmark::State& state) {
  zw::TExDataGridLines lines;
  FillDemoLikeLines(lines, static_cast<int>(state.range(0)));
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
