// The search of one center value on several threads. The work is cut into
// units (a DiagA, or a stretch of DiagB values within one: see unit_plan.h),
// handed out in the binding order; every thread searches with its own
// SearchState and keeps the squares of its unit, 25 bytes each, until the
// caller takes the units back in the same order. So the squares come out in the
// order of a search on one thread, whatever the number of threads.
//
// Memory: at most `unitsInFlight` units are held at once, counting the units
// being searched, the finished ones waiting and the one being emitted; a thread
// that would run ahead of that window waits before taking its next unit. Each
// unit holds 25 bytes per square in blocks of UnitBlockSquares squares, so the
// squares held never exceed unitsInFlight times the largest unit (plus one
// partly filled block per unit). A unit is at most one DiagA, so no unit holds
// more than center 13's last DiagA (302): 513,260 squares with every diagonal
// pass. Cut as unit_plan.h does, a whole center's largest unit is smaller: over
// all 25 centers with every pass, 261,520 squares with 2 threads, 181,836 with
// 3, 140,368 with 4, 79,124 with 8 (each a piece of center 13's DiagA 302).
// Blocks are kept for reuse by later units.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/line_tables.h"
#include "engine/search_state.h"
#include "worker/run_control.h"
#include "worker/unit_plan.h"
#include "worker/unit_squares.h"

namespace ferolin {

class UnitPool {
 public:
  // threads >= 1 search threads; unitsInFlight >= 1 (see Memory above).
  UnitPool(int threads, int unitsInFlight);
  ~UnitPool();  // ends a search still under way and joins its threads
  UnitPool(const UnitPool&) = delete;
  UnitPool& operator=(const UnitPool&) = delete;

  // Cuts DiagA firstDiagA..lastDiagA (CenterLines indices within `tables`,
  // the tables of `center`; an empty range starts nothing) into units and
  // starts the threads on them. Each thread enters `control` as a search
  // thread, polls it once per triple and adds the triples it has searched to
  // `triplesDone`. The referenced objects, except `tables`, must outlive
  // Finish().
  void Start(std::int32_t center, const LineTables& tables, std::int32_t firstDiagA,
             std::int32_t lastDiagA, const std::atomic<std::int32_t>& diagonalPasses,
             RunControl& control, std::atomic<std::int64_t>& triplesDone);

  // Waits for the next unit in order and returns its squares, valid until
  // ReleaseUnit(); nullptr when there is none to emit: all units have been
  // emitted, or the next one was cut short by a stop (then cutShort() is true).
  // Rethrows an error that ended the next unit's thread (out of memory).
  const UnitSquares* NextUnit();
  // Gives the unit returned by NextUnit() back and lets the threads move on.
  void ReleaseUnit();
  bool cutShort() const { return cutShort_; }

  // Stops the threads at their next safe point if they are still searching,
  // and joins them. Called after the last unit, after a stop, or on an error.
  void Finish();

  int threads() const { return static_cast<int>(states_.size()); }

 private:
  enum class UnitState { kOpen, kDone, kCutShort, kFailed };
  struct alignas(64) Slot {  // own cache line: each is written per square by its thread
    UnitSquares squares;
    UnitState state = UnitState::kOpen;
  };

  void Work(std::size_t thread);
  Slot& SlotOf(std::size_t unit) { return slots_[unit % slots_.size()]; }

  std::vector<std::unique_ptr<SearchState>> states_;  // one per thread
  std::vector<Slot> slots_;                           // unitsInFlight of them
  std::vector<std::thread> running_;

  // The current search; set by Start before the threads begin.
  std::int32_t center_ = 0;
  std::vector<SearchUnit> units_;  // in the binding order
  const std::atomic<std::int32_t>* diagonalPasses_ = nullptr;
  RunControl* control_ = nullptr;
  std::atomic<std::int64_t>* triplesDone_ = nullptr;

  std::mutex mutex_;
  std::condition_variable windowOpen_;  // threads wait for room to take a unit
  std::condition_variable unitDone_;    // the caller waits for the next unit
  std::size_t next_ = 0;                // index of the next unit to hand out
  std::size_t head_ = 0;                // index of the next unit to emit
  int searching_ = 0;                   // threads that have not yet left
  std::atomic<bool> abort_{false};
  bool cutShort_ = false;
  std::exception_ptr error_;  // of the first failed unit
};

}  // namespace ferolin
