// The engines the benchmark compares, behind one shape: Run searches `range` of
// the prepared center and stops after `tripleLimit` admitted triples (0 = none),
// feeding every square to `signature`; Statistic is the engine's own count.
#pragma once

#include <atomic>
#include <cstdint>

#include "bench/record_signature.h"
#include "engine/fast_search.h"
#include "engine/search_state.h"
#include "tests/reference/literal_search.h"

namespace ferolin::bench {

struct LegResult {
  std::int64_t squares = 0;
  std::int64_t statistic = 0;
  std::int64_t triples = 0;
  double seconds = 0;
};

template <class Engine>
SearchOutcome RunLimited(Engine engine, SearchState& s, DiagARange range,
                         const std::atomic<std::int32_t>& passes, std::int64_t tripleLimit,
                         RecordSignature& signature) {
  std::int64_t polls = 0;
  return engine(
      s, range, passes,
      [&signature](const SearchState& x) { signature.Add(x.FoundCount, x.Cells); },
      [&polls, tripleLimit] { return tripleLimit > 0 && ++polls > tripleLimit; });
}

struct LiteralLeg {
  static constexpr const char* Name = "literal";
  template <class... A>
  SearchOutcome operator()(A&&... a) const {
    return LiteralSearch(std::forward<A>(a)...);
  }
  static std::int64_t Statistic(const SearchState& s) { return s.CompletionRuns; }
  static constexpr const char* StatisticName = "completion runs";
};

struct FastLeg {
  static constexpr const char* Name = "fast";
  template <class... A>
  SearchOutcome operator()(A&&... a) const {
    return FastSearch(std::forward<A>(a)...);
  }
  static std::int64_t Statistic(const SearchState& s) { return s.PairedArrangements; }
  static constexpr const char* StatisticName = "paired arrangements";
};

}  // namespace ferolin::bench
