// The search of a center on several threads against the engine's own search on
// one: the same squares, numbered alike, in the same order; pause, stop,
// errors from the caller, progress and the priority of the search threads.
#include "worker/center_search.h"

#include <dirent.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "worker/unit_plan.h"

namespace ferolin {
namespace {

using Square = std::array<std::int32_t, 25>;

struct Stream {
  std::vector<Square> squares;
  std::vector<std::int32_t> counts;
  void Add(const std::int32_t* cells, std::int32_t count) {
    Square sq;
    for (int i = 0; i < 25; ++i) sq[i] = cells[i];
    squares.push_back(sq);
    counts.push_back(count);
  }
};

// The squares of DiagA first..last found by the engine on this thread in one
// search, numbered from 1; and the units a pool of `threads` cuts the slice
// into, each searched alone: ends[k] is the number of squares up to and
// including the k-th unit.
struct Reference {
  Stream stream;
  std::vector<SearchUnit> units;
  std::vector<std::size_t> ends;
  std::vector<std::int64_t> unitTriples;  // admitted triples of each unit
  std::int64_t triples = 0;

  bool IsUnitEnd(std::size_t n) const {
    if (n == 0) return true;
    for (std::size_t e : ends)
      if (e == n) return true;
    return false;
  }
  // The index of the unit that holds square number n (1-based), and its end.
  std::size_t UnitHolding(std::size_t n) const {
    std::size_t k = 0;
    while (ends[k] < n) ++k;
    return k;
  }
  std::size_t EndOfUnitHolding(std::size_t n) const { return ends[UnitHolding(n)]; }
  // Whether the unit is a piece of a DiagA cut by DiagB.
  bool IsPiece(std::size_t k) const { return units[k].diagBFirst != 0 || units[k].diagBLast != 0; }
  std::size_t Pieces() const {
    std::size_t n = 0;
    for (std::size_t k = 0; k < units.size(); ++k) n += IsPiece(k);
    return n;
  }
};

struct Slice {
  std::int32_t center, first, last, passes;
};

std::string Describe(const Slice& s) {
  return "center " + std::to_string(s.center) + " DiagA " + std::to_string(s.first) + ".." +
         std::to_string(s.last) + " passes " + std::to_string(s.passes);
}

Reference ReferenceOf(const Slice& slice, int threads) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, slice.center);
  const std::int32_t first = std::max(slice.first, s->Tables.FirstCenterLine);
  const std::int32_t last = slice.last > 0 ? std::min(slice.last, s->Tables.LastCenterLine)
                                           : s->Tables.LastCenterLine;
  std::atomic<std::int32_t> passes{slice.passes};
  Reference ref;
  const SearchOutcome whole =
      Search(*s, DiagARange{first, last}, passes,
             [&](const SearchState& st) { ref.stream.Add(st.Cells, st.FoundCount); },
             [] { return false; });
  ref.triples = whole.triples;
  PlanUnits(s->Tables, first, last, threads, ref.units);
  // The units searched one by one add up to the whole search, square for square.
  Stream joined;
  for (const SearchUnit& unit : ref.units) {
    const SearchOutcome out = Search(
        *s, unit.Range(), passes, [&](const SearchState& st) { joined.Add(st.Cells, 0); },
        [] { return false; });
    ref.unitTriples.push_back(out.triples);
    ref.ends.push_back(joined.squares.size());
  }
  EXPECT_EQ(joined.squares, ref.stream.squares);
  return ref;
}

struct Outcome {
  Stream stream;
  CenterResult result;
};

template <class Hook>
Outcome RunSlice(CenterSearcher& searcher, const Slice& slice, RunControl& control,
                 CenterProgress& progress, Hook&& hook) {
  searcher.SetDiagARange({slice.first, slice.last});
  std::atomic<std::int32_t> passes{slice.passes};
  Outcome o;
  o.result = searcher.Run(slice.center, passes, control, progress,
                          [&](const std::int32_t* cells, std::int32_t count) {
                            o.stream.Add(cells, count);
                            hook(count);
                          });
  return o;
}

Outcome RunSlice(CenterSearcher& searcher, const Slice& slice) {
  RunControl control;
  CenterProgress progress;
  return RunSlice(searcher, slice, control, progress, [](std::int32_t) {});
}
// The slice on `threads` threads, stopped from the emitting thread when square
// `stopAt` is handed over.
Outcome RunStoppedAt(int threads, const Slice& slice, std::size_t stopAt) {
  CenterSearcher searcher(threads);
  RunControl control;
  CenterProgress progress;
  return RunSlice(searcher, slice, control, progress, [&](std::int32_t count) {
    if (static_cast<std::size_t>(count) == stopAt) control.Stop();
  });
}

void ExpectPrefix(const Stream& got, const Stream& want, std::size_t n) {
  ASSERT_EQ(got.squares.size(), n);
  for (std::size_t i = 0; i < n; ++i) {
    ASSERT_EQ(got.squares[i], want.squares[i]) << "square " << i + 1;
    ASSERT_EQ(got.counts[i], want.counts[i]) << "square " << i + 1;
  }
}

// Early stretches with empty and small DiagA units, and a few of the later,
// larger ones; "1/4" keeps most of them short.
const Slice kSlices[] = {
    {1, 0, 40, 3},    // from the table's start: 14 empty units, then small ones
    {1, 15, 22, 12},  // every diagonal pass
    {25, 60, 65, 3},
    {13, 44, 45, 3},  // the first admitted triple of center 13
    {1, 243, 0, 3},   // the last units, to the table's end
    {13, 301, 302, 3},  // the densest DiagA values, cut into pieces at any thread count
};

TEST(ParallelCenterSearch, EveryThreadCountGivesTheEngineStreamOfEachSlice) {
  std::vector<Reference> refs;
  for (const Slice& slice : kSlices) refs.push_back(ReferenceOf(slice, 1));
  // {threads, units in flight}; 0 takes the default bound.
  for (auto [threads, inFlight] : {std::pair{1, 0}, std::pair{2, 0}, std::pair{3, 0},
                                   std::pair{8, 0}, std::pair{3, 1}, std::pair{2, 3}}) {
    // One searcher for every slice: its threads and states serve center after center.
    auto searcher = inFlight > 0 ? std::make_unique<CenterSearcher>(threads, inFlight)
                                 : std::make_unique<CenterSearcher>(threads);
    ASSERT_EQ(searcher->threads(), threads);
    for (std::size_t k = 0; k < std::size(kSlices); ++k) {
      SCOPED_TRACE(Describe(kSlices[k]) + ", threads " + std::to_string(threads) +
                   ", in flight " + std::to_string(inFlight));
      RunControl control;
      CenterProgress progress;
      std::int64_t maxDoneSeen = 0;
      const Outcome o = RunSlice(*searcher, kSlices[k], control, progress, [&](std::int32_t) {
        maxDoneSeen = std::max(maxDoneSeen, progress.triplesDone.load());
      });
      const Reference& ref = refs[k];
      EXPECT_FALSE(o.result.stopped);
      EXPECT_EQ(o.result.found, static_cast<std::int32_t>(ref.stream.squares.size()));
      ExpectPrefix(o.stream, ref.stream, ref.stream.squares.size());
      EXPECT_EQ(progress.center.load(), kSlices[k].center);
      EXPECT_EQ(progress.triplesTotal.load(), ref.triples);
      EXPECT_EQ(progress.triplesDone.load(), ref.triples);
      EXPECT_LE(maxDoneSeen, ref.triples);
      EXPECT_EQ(progress.squares.load(), o.result.found);
    }
  }
}

TEST(ParallelCenterSearch, ThreadsWaitRatherThanRunMoreUnitsAheadThanAllowed) {
  const Slice slice{25, 60, 66, 3};
  const Reference ref = ReferenceOf(slice, 3);
  for (int inFlight : {1, 2}) {
    CenterSearcher searcher(3, inFlight);
    RunControl control;
    CenterProgress progress;
    std::int64_t worstExcess = std::numeric_limits<std::int64_t>::min();
    const Outcome o = RunSlice(searcher, slice, control, progress, [&](std::int32_t count) {
      // While a unit is emitted, only it and the inFlight - 1 units after it
      // may have been started.
      const std::size_t last =
          std::min(ref.UnitHolding(static_cast<std::size_t>(count)) + inFlight,
                   ref.unitTriples.size());
      std::int64_t allowed = 0;
      for (std::size_t k = 0; k < last; ++k) allowed += ref.unitTriples[k];
      worstExcess = std::max(worstExcess, progress.triplesDone.load() - allowed);
    });
    EXPECT_LE(worstExcess, 0) << "in flight " << inFlight;
    ExpectPrefix(o.stream, ref.stream, ref.stream.squares.size());
  }
}

TEST(ParallelCenterSearch, RangeOutsideTheTableFindsNothing) {
  for (int threads : {1, 3}) {
    CenterSearcher searcher(threads);
    for (Slice slice : {Slice{1, 245, 400, 12}, Slice{13, 303, 0, 12}}) {
      RunControl control;
      CenterProgress progress;
      const Outcome o = RunSlice(searcher, slice, control, progress, [](std::int32_t) {});
      EXPECT_EQ(o.result.found, 0) << Describe(slice);
      EXPECT_FALSE(o.result.stopped);
      EXPECT_EQ(progress.triplesTotal.load(), 0);
    }
  }
}

TEST(ParallelCenterSearch, StopEndsWithTheWholeUnitInEmission) {
  const Slice slice{25, 60, 65, 3};
  for (int threads : {2, 3, 8}) {
    const Reference ref = ReferenceOf(slice, threads);
    // Stop requested at square k: the emission ends at the end of k's unit.
    // 60 and 61 are empty; the first unit with squares, the one after it, and
    // one in the middle of the slice.
    const std::size_t firstUnit = ref.ends[2];
    ASSERT_GT(firstUnit, 10u);
    const std::size_t middle = ref.stream.squares.size() / 2;
    ASSERT_LT(ref.EndOfUnitHolding(firstUnit + 1), middle);
    ASSERT_TRUE(ref.IsPiece(ref.UnitHolding(middle)));
    for (std::size_t k : {std::size_t{1}, firstUnit, firstUnit + 1, middle}) {
      SCOPED_TRACE("threads " + std::to_string(threads) + ", stop at " + std::to_string(k));
      const Outcome o = RunStoppedAt(threads, slice, k);
      EXPECT_TRUE(o.result.stopped);
      const std::size_t n = ref.EndOfUnitHolding(k);
      ExpectPrefix(o.stream, ref.stream, n);
      EXPECT_EQ(o.result.found, static_cast<std::int32_t>(n));
    }
  }
}

// A stop inside a piece of a DiagA cut by DiagB ends the emission with that
// piece, before the rest of its DiagA.
TEST(ParallelCenterSearch, StopInACutDiagAEndsWithThePieceInEmission) {
  const Slice slice{13, 301, 302, 3};
  for (int threads : {2, 3, 8}) {
    const Reference ref = ReferenceOf(slice, threads);
    // The first piece of DiagA 302 that is not its last, with squares.
    std::size_t k = 0;
    while (k < ref.units.size() &&
           !(ref.units[k].diagA == 302 && ref.units[k].diagBLast != 0 &&
             ref.ends[k] > (k == 0 ? 0 : ref.ends[k - 1])))
      ++k;
    ASSERT_LT(k, ref.units.size()) << "threads " << threads;
    const std::size_t start = k == 0 ? 0 : ref.ends[k - 1];
    for (std::size_t stopAt : {start + 1, ref.ends[k]}) {
      SCOPED_TRACE("threads " + std::to_string(threads) + ", stop at " + std::to_string(stopAt));
      const Outcome o = RunStoppedAt(threads, slice, stopAt);
      EXPECT_TRUE(o.result.stopped);
      ExpectPrefix(o.stream, ref.stream, ref.ends[k]);
      // DiagA 302 is the slice's last: its squares run to the end of the stream.
      EXPECT_LT(ref.ends[k], ref.stream.squares.size());
    }
  }
}

TEST(ParallelCenterSearch, StopFromAnotherThreadLeavesWholeUnits) {
  const Slice slice{1, 0, 60, 3};
  for (int threads : {2, 8}) {
    const Reference ref = ReferenceOf(slice, threads);
    for (int delayMs : {0, 5, 30}) {
      CenterSearcher searcher(threads);
      RunControl control;
      CenterProgress progress;
      std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        control.Stop();
      });
      const Outcome o = RunSlice(searcher, slice, control, progress, [](std::int32_t) {});
      stopper.join();
      const std::size_t n = o.stream.squares.size();
      SCOPED_TRACE("threads " + std::to_string(threads) + ", delay " +
                   std::to_string(delayMs) + " ms, emitted " + std::to_string(n));
      // Done before the stop arrived is allowed; otherwise stopped, on a unit boundary.
      if (n < ref.stream.squares.size()) {
        EXPECT_TRUE(o.result.stopped);
      }
      EXPECT_TRUE(ref.IsUnitEnd(n));
      ExpectPrefix(o.stream, ref.stream, n);
    }
  }
}

TEST(ParallelCenterSearch, StoppedBeforeTheStartFindsNothing) {
  for (int threads : {1, 3}) {
    CenterSearcher searcher(threads);
    RunControl control;
    control.Stop();
    CenterProgress progress;
    const Outcome o = RunSlice(searcher, Slice{1, 0, 40, 3}, control, progress, [](std::int32_t) {});
    EXPECT_TRUE(o.result.stopped) << threads;
    EXPECT_EQ(o.result.found, 0) << threads;
  }
}

TEST(ParallelCenterSearch, PausedAndContinuedRunEqualsTheUninterruptedOne) {
  const Slice slice{25, 60, 64, 3};
  for (int threads : {2, 3}) {
    const Reference ref = ReferenceOf(slice, threads);
    // The first pause comes at the first square of a unit that goes on past the
    // emission's next pause check (every 1024 squares), so the check shows.
    std::size_t pauseAt = 0, checkAt = 0;
    for (std::size_t k = 0; k < ref.ends.size() && pauseAt == 0; ++k) {
      const std::size_t start = k == 0 ? 0 : ref.ends[k - 1];
      const std::size_t check = (start / 1024 + 1) * 1024;
      if (ref.ends[k] > check) pauseAt = start + 1, checkAt = check;
    }
    ASSERT_GT(pauseAt, 0u);
    ASSERT_GT(ref.Pieces(), 0u);  // the pauses fall in DiagA values cut into pieces
    CenterSearcher searcher(threads);
    RunControl control;
    CenterProgress progress;
    std::atomic<bool> finished{false}, firstPause{false};
    bool finishedWhilePaused = false;
    std::int64_t squaresWhilePaused = 0;
    std::thread pauser([&] {
      // One long pause early in the run, then short ones until the end.
      while (!firstPause.load()) std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      finishedWhilePaused = finished.load();
      squaresWhilePaused = progress.squares.load();
      control.Resume();
      while (!finished.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        control.Pause();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        control.Resume();
      }
    });
    const Outcome o = RunSlice(searcher, slice, control, progress, [&](std::int32_t count) {
      if (static_cast<std::size_t>(count) == pauseAt) {
        control.Pause();
        firstPause.store(true);
      }
    });
    finished.store(true);
    pauser.join();
    SCOPED_TRACE("threads " + std::to_string(threads));
    EXPECT_FALSE(finishedWhilePaused);
    // The emission also waits: at the latest at its next check, within the unit.
    EXPECT_LE(squaresWhilePaused, static_cast<std::int64_t>(checkAt));
    EXPECT_FALSE(o.result.stopped);
    ExpectPrefix(o.stream, ref.stream, ref.stream.squares.size());
    EXPECT_EQ(progress.triplesDone.load(), ref.triples);
  }
}

TEST(ParallelCenterSearch, StopWhilePausedEndsTheRunOnAUnitBoundary) {
  const Slice slice{25, 60, 65, 3};
  for (int threads : {2, 8}) {
    const Reference ref = ReferenceOf(slice, threads);
    const std::size_t k = ref.ends[2] + 3;  // in the second unit with squares
    ASSERT_LT(k, ref.stream.squares.size());
    CenterSearcher searcher(threads);
    RunControl control;
    CenterProgress progress;
    std::atomic<bool> paused{false};
    std::thread stopper([&] {
      while (!paused.load()) std::this_thread::yield();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      control.Stop();
    });
    const Outcome o = RunSlice(searcher, slice, control, progress, [&](std::int32_t count) {
      if (static_cast<std::size_t>(count) == k) {
        control.Pause();
        paused.store(true);
      }
    });
    stopper.join();
    SCOPED_TRACE("threads " + std::to_string(threads));
    EXPECT_TRUE(o.result.stopped);
    ExpectPrefix(o.stream, ref.stream, ref.EndOfUnitHolding(k));
  }
}

TEST(ParallelCenterSearch, ErrorOfTheCallerStopsTheThreadsAndThePoolServesAgain) {
  const Slice slice{1, 0, 40, 3};
  const Reference ref = ReferenceOf(slice, 3);
  CenterSearcher searcher(3);
  for (bool pausedFirst : {false, true}) {
    RunControl control;
    CenterProgress progress;
    EXPECT_THROW(RunSlice(searcher, slice, control, progress,
                          [&](std::int32_t count) {
                            if (count == 10) {
                              // A pause in force must not keep the threads from ending.
                              if (pausedFirst) control.Pause();
                              throw std::runtime_error("write failed");
                            }
                          }),
                 std::runtime_error);
    EXPECT_TRUE(control.stopped());
  }
  const Outcome o = RunSlice(searcher, slice);
  EXPECT_FALSE(o.result.stopped);
  ExpectPrefix(o.stream, ref.stream, ref.stream.squares.size());
}

// Nice values of this process's threads, read from /proc.
std::vector<int> ThreadNiceValues() {
  std::vector<int> nices;
  if (DIR* dir = ::opendir("/proc/self/task")) {
    while (dirent* e = ::readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      errno = 0;
      const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(std::atoi(e->d_name)));
      if (errno == 0) nices.push_back(nice);
    }
    ::closedir(dir);
  }
  return nices;
}

int ThreadsAtNice(int nice) {
  int n = 0;
  for (int v : ThreadNiceValues()) n += v == nice;
  return n;
}

// Waits, up to a generous limit, until `n` threads of this process run at `nice`.
bool AwaitThreadsAtNice(int n, int nice) {
  for (int i = 0; i < 2000; ++i) {
    if (ThreadsAtNice(nice) >= n) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(ParallelCenterSearch, PriorityReachesEverySearchThread) {
  const int threads = 3;
  CenterSearcher searcher(threads);
  RunControl control;
  // Lowering needs no privilege. Paused, every search thread stops at its first
  // triple, after it has registered.
  ASSERT_EQ(control.SetPriorityLevel(-2), "");
  control.Pause();
  bool lowered = false, changed = false;
  std::thread watcher([&] {
    lowered = AwaitThreadsAtNice(threads, RunControl::NiceForLevel(-2));
    changed = control.SetPriorityLevel(-1).empty() &&
              AwaitThreadsAtNice(threads, RunControl::NiceForLevel(-1));
    control.Resume();
  });
  CenterProgress progress;
  const Outcome o = RunSlice(searcher, Slice{25, 60, 66, 3}, control, progress, [](std::int32_t) {});
  watcher.join();
  EXPECT_TRUE(lowered);
  EXPECT_TRUE(changed);
  EXPECT_FALSE(o.result.stopped);
}

}  // namespace
}  // namespace ferolin
