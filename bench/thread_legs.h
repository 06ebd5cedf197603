// One fixed slice searched three ways: the literal reference on one thread, the
// program's searcher on one thread, and the program's searcher on every core.
// The searcher emits in the binding order, so all three must give one signature.
#pragma once

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <thread>

#include "bench/engine_legs.h"
#include "worker/center_search.h"

namespace ferolin::bench {

// Center 13's last DiagA units, where the triples are densest, with "1/4".
inline constexpr std::int32_t ThreadSliceCenter = 13;
inline constexpr DiagARange ThreadSliceRange{291, 302};
inline constexpr std::int32_t ThreadSlicePasses = QuarterPasses;

struct ThreadLegResult {
  std::int64_t squares = 0;
  double seconds = 0;
  std::uint64_t signature = 0;
};

inline ThreadLegResult RunLiteralThreadSlice() {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, ThreadSliceCenter);
  const std::atomic<std::int32_t> p{ThreadSlicePasses};
  RecordSignature signature;
  const auto start = std::chrono::steady_clock::now();
  RunLimited(LiteralLeg{}, *s, ThreadSliceRange, p, 0, signature);
  ThreadLegResult r;
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.squares = s->FoundCount;
  r.signature = signature.Value();
  return r;
}

inline ThreadLegResult RunSearcherThreadSlice(int threads, std::size_t expectedSquares) {
  CenterSearcher searcher(threads);
  searcher.SetDiagARange(ThreadSliceRange);
  RunControl control;
  CenterProgress progress;
  const std::atomic<std::int32_t> p{ThreadSlicePasses};
  RecordSignature signature;
  signature.Reserve(expectedSquares);
  const auto start = std::chrono::steady_clock::now();
  const CenterResult out = searcher.Run(
      ThreadSliceCenter, p, control, progress,
      [&signature](const std::int32_t* cells, std::int32_t n) { signature.Add(n, cells); });
  ThreadLegResult r;
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.squares = out.found;
  r.signature = signature.Value();
  return r;
}

// Prints the three legs with their ratios; false when they disagree.
inline bool ThreadSlice(int repeats) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::printf("\nthread slice: center %d, DiagA %d..%d, passes %d; searcher legs: least time of %d runs\n",
              ThreadSliceCenter, ThreadSliceRange.first, ThreadSliceRange.last, ThreadSlicePasses,
              repeats);
  auto best = [repeats](auto leg) {
    ThreadLegResult b = leg();
    for (int i = 1; i < repeats; ++i) {
      const ThreadLegResult r = leg();
      if (r.signature != b.signature) b.signature = 0;  // unsteady: reported as a mismatch
      if (r.seconds < b.seconds) b.seconds = r.seconds;
    }
    return b;
  };
  const ThreadLegResult literal = RunLiteralThreadSlice();
  const auto expected = static_cast<std::size_t>(literal.squares);
  const ThreadLegResult one = best([expected] { return RunSearcherThreadSlice(1, expected); });
  const ThreadLegResult all =
      best([cores, expected] { return RunSearcherThreadSlice(cores, expected); });
  auto row = [](const char* name, const ThreadLegResult& r) {
    std::printf("%-22s %10" PRId64 " squares %9.3f s %13.0f squares/s  %016" PRIx64 "\n", name,
                r.squares, r.seconds, r.seconds > 0 ? r.squares / r.seconds : 0.0, r.signature);
  };
  row("literal, 1 thread", literal);
  row("fast, 1 thread", one);
  char name[32];
  std::snprintf(name, sizeof name, "fast, %d threads", cores);
  row(name, all);
  std::printf("fast 1 thread / literal: %.1f   fast %d threads / fast 1 thread: %.2f\n",
              one.seconds > 0 ? literal.seconds / one.seconds : 0.0, cores,
              all.seconds > 0 ? one.seconds / all.seconds : 0.0);
  const bool agree = literal.signature == one.signature && one.signature == all.signature &&
                     literal.squares == one.squares && one.squares == all.squares;
  if (!agree) std::printf("MISMATCH: the legs disagree on the thread slice\n");
  return agree;
}

}  // namespace ferolin::bench
