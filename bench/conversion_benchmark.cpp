// Conversion of demo-like calculations through the template loop and the description cut,
// the table fill alone, and the tool's whole path: the conversion and the four clipboard
// items. Reports time, MB/s and the peak heap of one conversion.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/template_loop.h"
#include "base/file_system.h"
#include "counting_clipboard.h"
#include "demo_text.h"
#include "heap_counter.h"
#include "mapping/row_mapping.h"
#include "templates/template_files.h"
#include "texttable/column_count.h"
#include "texttable/fill_row_table.h"
#include "texttable/normalize.h"

namespace {

using zw::bench::DemoLikeText;

std::string BenchmarkTemplateFolder() {
  static const std::string folder = [] {
    const auto path = std::filesystem::temp_directory_path() / "zw-benchmark-templates";
    std::filesystem::create_directories(path);
    const std::string result = zw::PrepareTemplateFolder(path.string());
    zw::WriteFileBytes(result + "glas.txt", zw::bench::DemoRules());
    return result;
  }();
  return folder;
}

void BM_Conversion(benchmark::State& state) {
  const std::string text = DemoLikeText(static_cast<int>(state.range(0)));
  zw::TemplateLoopOptions options;
  options.Folder = BenchmarkTemplateFolder();
  const auto convert = [&] {
    zw::TExDataGridLines lines;
    const auto winner = zw::RunTemplates(text, "8", lines, options);
    if (!winner || lines.Count() != state.range(0)) state.SkipWithError("demo did not convert");
    zw::SplitLongDescriptions(lines, winner ? winner->Settings.DescriptionLimit : 50);
    benchmark::DoNotOptimize(lines.Items(0).Einzelbetrag.data());
  };
  const std::size_t peak = zw::bench::PeakHeapOf(convert);
  for (auto _ : state) convert();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["text_MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(BM_Conversion)->Arg(50)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// What the tool does with a copied calculation, short of the system clipboard: the template
// loop, the description cut and the four items rendered into their clipboard blocks. False
// when the demo did not convert or was not placed.
bool RunToolPath(const std::string& text, const zw::TemplateLoopOptions& options,
                 zw::bench::CountingClipboard& clipboard, int rows) {
  zw::TExDataGridLines lines;
  const auto winner = zw::RunTemplates(text, "8", lines, options);
  if (!winner || lines.Count() != rows) return false;
  zw::SplitLongDescriptions(lines, winner->Settings.DescriptionLimit);
  return lines.CopyToClipboard("", clipboard);
}

void BM_ToolPath(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const std::string text = DemoLikeText(rows);
  zw::TemplateLoopOptions options;
  options.Folder = BenchmarkTemplateFolder();
  zw::bench::CountingClipboard clipboard;
  const auto run = [&] {
    if (!RunToolPath(text, options, clipboard, rows)) state.SkipWithError("demo not placed");
    benchmark::DoNotOptimize(clipboard.bytes);
  };
  const std::size_t peak = zw::bench::PeakHeapOf(run);
  for (auto _ : state) run();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["text_MB"] = static_cast<double>(text.size()) / 1e6;
  state.counters["items_MB"] = static_cast<double>(clipboard.bytes) / 1e6;
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(BM_ToolPath)->Arg(50)->Arg(100000)->Unit(benchmark::kMillisecond);

// The least the tool's path can cost on this machine for its memory alone: the heap traffic of
// one run of it replayed, every block allocated in the same order and sizes and each of its
// bytes written once, nothing read or computed.
void BM_ToolPathMemoryFloor(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const std::string text = DemoLikeText(rows);
  zw::TemplateLoopOptions options;
  options.Folder = BenchmarkTemplateFolder();
  zw::bench::CountingClipboard clipboard;
  bool placed = true;
  auto run = [&] { placed = RunToolPath(text, options, clipboard, rows) && placed; };
  run();  // the template folder's files are written once, as before the timed runs above
  const zw::bench::HeapTrace trace = zw::bench::TraceHeapOf(run);
  if (!placed) state.SkipWithError("demo not placed");
  std::size_t allocated = 0;
  for (const zw::bench::HeapStep& step : trace.Steps) allocated += step.Allocates ? step.Size : 0;
  std::vector<void*> slots;
  for (auto _ : state) zw::bench::ReplayHeap(trace, slots);
  state.counters["allocated_MB"] = static_cast<double>(allocated) / 1e6;
  state.counters["allocations"] = static_cast<double>(trace.Slots);
}
BENCHMARK(BM_ToolPathMemoryFloor)->Arg(50)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FillRowTable(benchmark::State& state) {
  const std::string text = DemoLikeText(static_cast<int>(state.range(0)));
  // The ignore entries of the demo rules.
  std::vector<std::string> ignore;
  for (const char* entry :
       {"(Pos)\tStk\tBezeichnung\tBreite x H\xF6he\t\tm\xB2\tPreis/m\xB2\tCHF/Stk\tTotal/CHF",
        "\t\t\tRechnungsbetrag in CHF", "\tStd\tBezeichnung\t\t\t\t\tCHF/Std\tTotal/CHF",
        "+8% MwSt.", "Summe"}) {
    ignore.push_back(zw::NormalizeText(entry));
  }
  zw::RowTable table;
  const auto fill = [&] {
    zw::FillRowTable(table, text, '\t', zw::CountColumns(text, '\t'), ignore);
    benchmark::DoNotOptimize(table.RowCount());
  };
  // The first fill, into an empty table, is the one that allocates.
  const std::size_t peak = zw::bench::PeakHeapOf(fill);
  for (auto _ : state) fill();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["peak_heap_MB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(BM_FillRowTable)->Arg(50)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
