// Searches one center value for a run: prepares the tables, counts the triples
// for progress, runs the engine with the run's pause/stop control, and hands
// every square to the caller in the binding order, numbered from 1.
//
// With one thread the search runs on the calling thread. With more, a pool of
// that many search threads searches the units (whole DiagA values, the larger
// ones cut by DiagB: see unit_plan.h) and the calling thread emits the finished
// units in the binding order, numbering the squares as it emits them: the
// stream is the same for any number of threads.
//
// Memory: at most UnitsInFlightPerThread (2) units per thread are held at
// once, 25 bytes per square. The units are cut finer as threads are added (see
// unit_pool.h): the largest with 2 threads is half of center 13's last DiagA,
// 261,520 squares (6.5 MB) when every diagonal pass runs, so the bound is
// 2 x 2 x 6.5 MB = 26 MB with 2 threads; about 28 MB with 4 and 32 MB with 8.
// Whatever the cut, a unit is at most one DiagA (513,260 squares, 12.8 MB). The
// blocks stay allocated for later units until the searcher is destroyed.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/search.h"
#include "worker/run_control.h"
#include "worker/unit_plan.h"
#include "worker/unit_pool.h"

namespace ferolin {

// Read by other threads (a progress line, the window) while a center runs.
struct CenterProgress {
  std::atomic<std::int32_t> center{0};
  std::atomic<std::int64_t> triplesTotal{0};
  std::atomic<std::int64_t> triplesDone{0};  // summed over the search threads
  std::atomic<std::int64_t> squares{0};      // handed to the caller so far
};

struct CenterResult {
  std::int32_t found = 0;
  bool stopped = false;  // the control stopped the search before the end
};

class CenterSearcher {
 public:
  // Units held per search thread: one being searched and one finished ahead.
  static constexpr int UnitsInFlightPerThread = 2;

  // threads >= 1 search threads; 1 searches on the calling thread.
  explicit CenterSearcher(int threads = 1)
      : CenterSearcher(threads, UnitsInFlightPerThread * std::max(threads, 1)) {}
  // The same with a chosen bound on the units held at once (>= 1).
  CenterSearcher(int threads, int unitsInFlight)
      : state_(std::make_unique<SearchState>()) {
    if (threads > 1) pool_ = std::make_unique<UnitPool>(threads, std::max(unitsInFlight, 1));
  }

  int threads() const { return pool_ ? pool_->threads() : 1; }

  // Restricts later runs to DiagA in [range.first, range.last] of each center's
  // CenterLines; 0 for either bound means the table's own. The squares are those
  // of a whole run in that stretch, numbered from 1.
  void SetDiagARange(DiagARange range) { range_ = range; }

  // onSquare(const std::int32_t* cells, std::int32_t foundCount), on this thread.
  // After a stop the squares handed over are a prefix of the full stream: with
  // several threads they end at a unit boundary. An exception from onSquare
  // stops `control`, ends the search threads and is passed on.
  template <class OnSquare>
  CenterResult Run(std::int32_t center, const std::atomic<std::int32_t>& diagonalPasses,
                   RunControl& control, CenterProgress& progress, OnSquare&& onSquare) {
    SearchState& s = *state_;
    PrepareCenter(s, center);
    const std::int32_t first = std::max(range_.first, s.Tables.FirstCenterLine);
    const std::int32_t last =
        range_.last > 0 ? std::min(range_.last, s.Tables.LastCenterLine) : s.Tables.LastCenterLine;
    const std::int64_t total = CountRangeTriples(s.Tables, first, last);
    progress.triplesDone.store(0, std::memory_order_relaxed);
    progress.squares.store(0, std::memory_order_relaxed);
    progress.triplesTotal.store(total, std::memory_order_relaxed);
    progress.center.store(center, std::memory_order_relaxed);
    if (first > last) return {};

    const CenterResult result = pool_ ? RunPool(center, first, last, diagonalPasses, control,
                                                progress, onSquare)
                                      : RunHere(first, last, diagonalPasses, control, progress,
                                                onSquare);
    if (!result.stopped) progress.triplesDone.store(total, std::memory_order_relaxed);
    return result;
  }

 private:
  template <class OnSquare>
  CenterResult RunHere(std::int32_t first, std::int32_t last,
                       const std::atomic<std::int32_t>& diagonalPasses, RunControl& control,
                       CenterProgress& progress, OnSquare& onSquare) {
    SearchState& s = *state_;
    std::int64_t done = 0;
    const SearchOutcome out = Search(
        s, DiagARange{first, last}, diagonalPasses,
        [&](const SearchState& st) {
          progress.squares.store(st.FoundCount, std::memory_order_relaxed);
          onSquare(static_cast<const std::int32_t*>(st.Cells), st.FoundCount);
        },
        [&] {
          progress.triplesDone.store(done++, std::memory_order_relaxed);
          return control.ShouldStop();
        });
    return {s.FoundCount, out.stopped};
  }

  template <class OnSquare>
  CenterResult RunPool(std::int32_t center, std::int32_t first, std::int32_t last,
                       const std::atomic<std::int32_t>& diagonalPasses, RunControl& control,
                       CenterProgress& progress, OnSquare& onSquare) {
    // Pause is honoured between units and every PauseCheckSquares squares;
    // a stop ends the emission only between units, so it emits whole units.
    constexpr std::int32_t PauseCheckSquares = 1024;
    CenterResult result;
    std::int32_t cells[25];
    pool_->Start(center, state_->Tables, first, last, diagonalPasses, control,
                 progress.triplesDone);
    try {
      for (;;) {
        if (control.ShouldStop()) {
          result.stopped = true;
          break;
        }
        const UnitSquares* unit = pool_->NextUnit();
        if (unit == nullptr) {
          result.stopped = pool_->cutShort();
          break;
        }
        for (std::size_t i = 0; i < unit->count; ++i) {
          const std::uint8_t* square = unit->Square(i);
          for (int k = 0; k < 25; ++k) cells[k] = square[k];
          ++result.found;
          progress.squares.store(result.found, std::memory_order_relaxed);
          onSquare(static_cast<const std::int32_t*>(cells), result.found);
          if (result.found % PauseCheckSquares == 0) control.ShouldStop();
        }
        pool_->ReleaseUnit();
      }
    } catch (...) {
      control.Stop();  // frees threads waiting in a pause, so they can be joined
      pool_->Finish();
      throw;
    }
    pool_->Finish();
    return result;
  }

  std::unique_ptr<SearchState> state_;  // the searching state with one thread; the counting one
  std::unique_ptr<UnitPool> pool_;
  DiagARange range_;
};

}  // namespace ferolin
