// Load, dock and save of generated models, in memory, for both formats.

#include <benchmark/benchmark.h>

#include "bench/ModelGenerator.h"
#include "core/util/LineList.h"
#include "core/workflow/Workflow.h"

namespace {

void LoadDockSave(benchmark::State& state, mk::FileKind kind, bool dock) {
  const std::string text = mk::bench::GenerateModelText(state.range(0), kind, 7);
  for (auto _ : state) {
    // As the program and the CLI do: the lines are freed before the docking.
    auto document = mk::CreateDocument(kind, nullptr, nullptr);
    document->LoadFromLines(mk::LineList::FromText(text), 0);
    if (dock) document->Dock(0.4);
    mk::LineWriter out;
    document->SaveToLines(out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}

void BM_MdlRoundTrip(benchmark::State& s) { LoadDockSave(s, mk::FileKind::Model, false); }
void BM_MdlDock(benchmark::State& s) { LoadDockSave(s, mk::FileKind::Model, true); }
void BM_SegRoundTrip(benchmark::State& s) { LoadDockSave(s, mk::FileKind::Segment, false); }
void BM_SegDock(benchmark::State& s) { LoadDockSave(s, mk::FileKind::Segment, true); }

}  // namespace

BENCHMARK(BM_MdlRoundTrip)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MdlDock)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SegRoundTrip)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SegDock)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
