// Google Benchmark timings of the pieces around the search: the record
// formatter, the table build, the triple count, and a short search slice.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>

#include "engine/search.h"
#include "engine/triple_count.h"
#include "worker/square_record.h"

namespace ferolin {
namespace {

void BM_FormatSquareRecord(benchmark::State& state) {
  const std::int32_t cells[25] = {11, 24, 7,  20, 3,  4,  12, 25, 8, 16, 17, 5, 13,
                                  21, 9,  10, 18, 1,  14, 22, 23, 6, 19, 2,  15};
  char out[SquareRecordCapacity];
  std::int32_t n = 1000000;
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes += FormatSquareRecord(out, ++n, cells);
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_FormatSquareRecord);

void BM_PrepareLineTables(benchmark::State& state) {
  auto t = std::make_unique<LineTables>();
  for (auto _ : state) {
    PrepareLineTables(*t, static_cast<std::int32_t>(state.range(0)));
    benchmark::DoNotOptimize(t->LastCenterLine);
  }
}
BENCHMARK(BM_PrepareLineTables)->Arg(1)->Arg(13);

void BM_CountTriples(benchmark::State& state) {
  auto t = std::make_unique<LineTables>();
  auto counts = std::make_unique<TripleCounts>();
  PrepareLineTables(*t, static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    CountTriples(*t, *counts);
    benchmark::DoNotOptimize(counts->total);
  }
}
BENCHMARK(BM_CountTriples)->Arg(1)->Arg(13)->Unit(benchmark::kMillisecond);

// The program's search over center 13's last DiagA with every pass; items are squares.
void BM_SearchLastDiagA(benchmark::State& state) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, 13);
  const std::atomic<std::int32_t> all{AllPasses};
  std::int64_t squares = 0;
  for (auto _ : state) {
    Search(*s, DiagARange{302, 302}, all, [](const SearchState&) {}, [] { return false; });
    squares += s->FoundCount;
  }
  state.SetItemsProcessed(squares);
}
BENCHMARK(BM_SearchLastDiagA)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ferolin

BENCHMARK_MAIN();
