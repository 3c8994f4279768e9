// The order JSON of demo-like lines, as a post of the lines makes it: the document built, its
// text written and the document freed. Reports time, MB/s of the text and the peak heap.
#include <benchmark/benchmark.h>

#include <string>

#include "exchange/UCustomTextParser.h"
#include "heap_counter.h"
#include "orderlines/uDataGridLines.h"

namespace {

// Lines as the demo conversion makes them (as in the clipboard benchmark): every tenth a text
// line, every third with a long text.
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

void BM_OrderJson(benchmark::State& state) {
  zw::TExDataGridLines lines;
  FillDemoLikeLines(lines, static_cast<int>(state.range(0)));
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
