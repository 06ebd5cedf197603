// Compares the engines on a fixed slice (centers 1, 13 and 25, the first 400
// admitted triples of each, with 3 and then 12 diagonal passes) and prints a
// table with the signature of the slice's record stream, which must agree.
// Then one slice three ways: the literal walk, the program's searcher on one
// thread and on every core (bench/thread_legs.h).
// `--full CENTER PASSES` times a whole center with the fast engine;
// `--compare CENTER PASSES` times it with both engines.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "bench/engine_legs.h"
#include "bench/thread_legs.h"

namespace ferolin::bench {
namespace {

constexpr std::int32_t SliceCenters[] = {1, 13, 25};
constexpr std::int32_t SlicePasses[] = {QuarterPasses, AllPasses};
constexpr std::int64_t SliceTriples = 400;
constexpr int SliceRepeats = 3;  // each leg runs this often; the least time counts

using Clock = std::chrono::steady_clock;

template <class Leg>
LegResult RunSlice(RecordSignature& signature) {
  LegResult r;
  auto s = std::make_unique<SearchState>();
  for (std::int32_t passes : SlicePasses) {
    const std::atomic<std::int32_t> p{passes};
    for (std::int32_t center : SliceCenters) {
      PrepareCenter(*s, center);
      const std::int64_t before = Leg::Statistic(*s);
      const auto start = Clock::now();
      const SearchOutcome out = RunLimited(Leg{}, *s, {}, p, SliceTriples, signature);
      r.seconds += std::chrono::duration<double>(Clock::now() - start).count();
      r.squares += s->FoundCount;
      r.statistic += Leg::Statistic(*s) - before;
      r.triples += out.triples;
    }
  }
  return r;
}

template <class Leg>
void PrintRow(const LegResult& r, std::uint64_t signature) {
  std::printf("%-8s %10" PRId64 " %10" PRId64 " %14" PRId64 " %-20s %9.3f %13.0f  %016" PRIx64 "\n",
              Leg::Name, r.triples, r.squares, r.statistic, Leg::StatisticName, r.seconds,
              r.seconds > 0 ? r.squares / r.seconds : 0.0, signature);
}

// Runs the slice SliceRepeats times; the time is the least, the other figures
// (and the signature) must be the same every time.
template <class Leg>
bool RunSliceRepeated(LegResult& best, std::uint64_t& signature) {
  for (int r = 0; r < SliceRepeats; ++r) {
    RecordSignature sig;
    const LegResult run = RunSlice<Leg>(sig);
    if (r == 0) {
      best = run, signature = sig.Value();
      continue;
    }
    if (sig.Value() != signature || run.squares != best.squares) return false;
    if (run.seconds < best.seconds) best.seconds = run.seconds;
  }
  return true;
}

int Slice() {
  std::printf("slice: centers 1, 13, 25; first %" PRId64
              " triples each; passes 3, then 12; least time of %d runs\n",
              SliceTriples, SliceRepeats);
  std::printf("%-8s %10s %10s %14s %-20s %9s %13s  %s\n", "engine", "triples", "squares",
              "statistic", "", "seconds", "squares/s", "signature");
  LegResult literal, fast;
  std::uint64_t literalSignature = 0, fastSignature = 0;
  const bool literalSteady = RunSliceRepeated<LiteralLeg>(literal, literalSignature);
  PrintRow<LiteralLeg>(literal, literalSignature);
  const bool fastSteady = RunSliceRepeated<FastLeg>(fast, fastSignature);
  PrintRow<FastLeg>(fast, fastSignature);
  std::printf("fast/literal speed ratio: %.1f\n",
              fast.seconds > 0 ? literal.seconds / fast.seconds : 0.0);
  if (!literalSteady || !fastSteady) {
    std::printf("MISMATCH: an engine gave different results on repeated runs\n");
    return 1;
  }
  if (literalSignature != fastSignature || literal.squares != fast.squares) {
    std::printf("MISMATCH: the engines disagree on the slice\n");
    return 1;
  }
  std::printf("signature %016" PRIx64 " (both engines)\n", fastSignature);
  return 0;
}

int Full(std::int32_t center, std::int32_t passes) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, center);
  const std::atomic<std::int32_t> p{passes};
  RecordSignature signature;
  const auto start = Clock::now();
  const SearchOutcome out = RunLimited(FastLeg{}, *s, {}, p, 0, signature);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("fast, center %d, passes %d: %" PRId64 " triples, %d squares, %" PRId64
              " paired arrangements, %.2f s, %.0f squares/s, signature %016" PRIx64 "\n",
              center, passes, out.triples, s->FoundCount, s->PairedArrangements, seconds,
              seconds > 0 ? s->FoundCount / seconds : 0.0, signature.Value());
  return 0;
}

// The literal walk and the fast engine over one whole center: the figure a
// slice can only estimate. The literal leg takes minutes.
int Compare(std::int32_t center, std::int32_t passes) {
  auto s = std::make_unique<SearchState>();
  const std::atomic<std::int32_t> p{passes};
  // An untimed count first, so the timed legs store squares into room made ahead.
  PrepareCenter(*s, center);
  FastSearch(*s, {}, p, [](const SearchState&) {}, [] { return false; });
  const auto expected = static_cast<std::size_t>(s->FoundCount);
  auto leg = [&](auto engine, std::uint64_t& signature) {
    PrepareCenter(*s, center);
    RecordSignature sig;
    sig.Reserve(expected);
    const auto start = Clock::now();
    RunLimited(engine, *s, {}, p, 0, sig);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    signature = sig.Value();
    std::printf("%-8s center %d, passes %d: %d squares, %.2f s, %.0f squares/s, signature %016" PRIx64
                "\n",
                decltype(engine)::Name, center, passes, s->FoundCount, seconds,
                seconds > 0 ? s->FoundCount / seconds : 0.0, signature);
    std::fflush(stdout);
    return std::make_pair(seconds, s->FoundCount);
  };
  std::uint64_t fastSignature = 0, literalSignature = 0;
  const auto fast = leg(FastLeg{}, fastSignature);
  const auto literal = leg(LiteralLeg{}, literalSignature);
  std::printf("fast/literal speed ratio: %.1f\n", fast.first > 0 ? literal.first / fast.first : 0.0);
  if (fastSignature != literalSignature || fast.second != literal.second) {
    std::printf("MISMATCH: the engines disagree on the center\n");
    return 1;
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr, "usage: ferolin-bench [--full CENTER PASSES | --compare CENTER PASSES]\n");
  return 2;
}

}  // namespace
}  // namespace ferolin::bench

int main(int argc, char** argv) {
  using namespace ferolin::bench;
  if (argc == 1) {
    const int slice = Slice();
    const bool threadsAgree = ThreadSlice(3);
    return slice != 0 ? slice : (threadsAgree ? 0 : 1);
  }
  const bool full = argc == 4 && std::strcmp(argv[1], "--full") == 0;
  const bool compare = argc == 4 && std::strcmp(argv[1], "--compare") == 0;
  if (full || compare) {
    const int center = std::atoi(argv[2]), passes = std::atoi(argv[3]);
    if (center < 1 || center > 25 || passes < 1 || passes > 12) return Usage();
    return full ? Full(center, passes) : Compare(center, passes);
  }
  return Usage();
}
