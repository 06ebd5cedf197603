// Searches one center value for a run: prepares the tables, counts the triples
// for progress, runs the engine with the run's pause/stop control, and hands
// every square to the caller in the binding order, numbered from 1.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/search.h"
#include "engine/triple_count.h"
#include "worker/run_control.h"

namespace ferolin {

// Read by other threads (a progress line, the window) while a center runs.
struct CenterProgress {
  std::atomic<std::int32_t> center{0};
  std::atomic<std::int64_t> triplesTotal{0};
  std::atomic<std::int64_t> triplesDone{0};
  std::atomic<std::int64_t> squares{0};
};

struct CenterResult {
  std::int32_t found = 0;
  bool stopped = false;  // the control stopped the search before the end
};

class CenterSearcher {
 public:
  CenterSearcher()
      : state_(std::make_unique<SearchState>()), counts_(std::make_unique<TripleCounts>()) {}

  // onSquare(const std::int32_t* cells, std::int32_t foundCount), on this thread.
  template <class OnSquare>
  CenterResult Run(std::int32_t center, const std::atomic<std::int32_t>& diagonalPasses,
                   RunControl& control, CenterProgress& progress, OnSquare&& onSquare) {
    SearchState& s = *state_;
    PrepareCenter(s, center);
    CountTriples(s.Tables, *counts_);
    progress.triplesDone.store(0, std::memory_order_relaxed);
    progress.squares.store(0, std::memory_order_relaxed);
    progress.triplesTotal.store(counts_->total, std::memory_order_relaxed);
    progress.center.store(center, std::memory_order_relaxed);
    std::int64_t done = 0;
    const SearchOutcome out = Search(
        s, DiagARange{}, diagonalPasses,
        [&](const SearchState& st) {
          progress.squares.store(st.FoundCount, std::memory_order_relaxed);
          onSquare(st.Cells, st.FoundCount);
        },
        [&] {
          progress.triplesDone.store(done++, std::memory_order_relaxed);
          return control.ShouldStop();
        });
    if (!out.stopped) progress.triplesDone.store(counts_->total, std::memory_order_relaxed);
    return {s.FoundCount, out.stopped};
  }

 private:
  std::unique_ptr<SearchState> state_;
  std::unique_ptr<TripleCounts> counts_;
};

}  // namespace ferolin
