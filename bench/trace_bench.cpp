// What a trace point costs with tracing off (the common case) and on, and what a localized lookup
// costs: run `build/bench/qlxw_bench --benchmark_filter='Trace|Localized'`.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "api/library_state.h"
#include "diag/cls_debug.h"
#include "diag/trace.h"
#include "language/localized_strings.h"

namespace {

void BM_TracePointOff(benchmark::State& state) {
  qlxw::ResetLibraryState();
  int counter = 0;
  for (auto _ : state) {
    qlxw::Trace("FolderManager.GetPath >> ", qlxw::kTraceTime);
    benchmark::DoNotOptimize(++counter);
  }
}
BENCHMARK(BM_TracePointOff);

// The baseline for the point above: the same loop with no trace point in it.
void BM_EmptyLoopBaseline(benchmark::State& state) {
  int counter = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(++counter);
  }
}
BENCHMARK(BM_EmptyLoopBaseline);

void BM_TracePointOn(benchmark::State& state) {
  qlxw::ResetLibraryState();
  const std::string path = "qlxw_bench_trace.log";
  qlxw::clsDebug debug;
  debug.sLogFileName(path);
  debug.bCallLog(true);
  for (auto _ : state) {
    qlxw::Trace("FolderManager.GetPath >> ", qlxw::kTraceTime);
  }
  qlxw::ResetLibraryState();
  std::remove(path.c_str());
}
BENCHMARK(BM_TracePointOn);

void BM_GetLocalizedString(benchmark::State& state) {
  qlxw::ResetLibraryState();
  qlxw::EnsureStringTables();
  qlxw::SetCurrentLanguage(qlxw::kLangEnglishUK, {});
  for (auto _ : state) {
    benchmark::DoNotOptimize(qlxw::GetLocalizedString(74, {}));
  }
}
BENCHMARK(BM_GetLocalizedString);

}  // namespace
