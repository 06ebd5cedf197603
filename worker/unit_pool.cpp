#include "worker/unit_pool.h"

#include "engine/search.h"

namespace ferolin {

namespace {
// Triples a thread counts before it adds them to the shared progress counter.
constexpr std::int64_t kProgressStep = 64;
}  // namespace

UnitPool::UnitPool(int threads, int unitsInFlight)
    : slots_(static_cast<std::size_t>(unitsInFlight < 1 ? 1 : unitsInFlight)) {
  for (int i = 0; i < (threads < 1 ? 1 : threads); ++i)
    states_.push_back(std::make_unique<SearchState>());
}

UnitPool::~UnitPool() { Finish(); }

void UnitPool::Start(std::int32_t center, const LineTables& tables, std::int32_t firstDiagA,
                     std::int32_t lastDiagA, const std::atomic<std::int32_t>& diagonalPasses,
                     RunControl& control, std::atomic<std::int64_t>& triplesDone) {
  Finish();
  center_ = center;
  PlanUnits(tables, firstDiagA, lastDiagA, threads(), units_);
  diagonalPasses_ = &diagonalPasses;
  control_ = &control;
  triplesDone_ = &triplesDone;
  next_ = head_ = 0;
  abort_.store(false);
  cutShort_ = false;
  error_ = nullptr;
  for (Slot& slot : slots_) slot.state = UnitState::kOpen;
  if (units_.empty()) return;
  searching_ = threads();
  try {
    for (std::size_t t = 0; t < states_.size(); ++t) running_.emplace_back(&UnitPool::Work, this, t);
  } catch (...) {
    {
      std::lock_guard lock(mutex_);
      searching_ -= threads() - static_cast<int>(running_.size());
    }
    Finish();
    throw;
  }
}

void UnitPool::Work(std::size_t thread) {
  RunControl& control = *control_;
  control.EnterSearchThread();
  SearchState& s = *states_[thread];
  PrepareCenter(s, center_);
  std::unique_lock lock(mutex_);
  for (;;) {
    windowOpen_.wait(lock, [&] {
      return abort_.load(std::memory_order_relaxed) || next_ == units_.size() ||
             next_ - head_ < slots_.size();
    });
    // A stopped control takes no new unit: the caller emits the units before it.
    if (abort_.load(std::memory_order_relaxed) || next_ == units_.size() || control.stopped())
      break;
    const std::size_t unit = next_++;
    Slot& slot = SlotOf(unit);
    lock.unlock();

    // The slot is this thread's until it marks the unit finished.
    slot.squares.count = 0;
    UnitState finished = UnitState::kFailed;
    std::exception_ptr error;
    try {
      std::int64_t counted = 0, polls = 0;
      const SearchOutcome out = Search(
          s, units_[unit].Range(), *diagonalPasses_,
          [&](const SearchState& st) { slot.squares.Append(st.Cells); },
          [&] {
            if (++polls - counted == kProgressStep) {
              triplesDone_->fetch_add(kProgressStep, std::memory_order_relaxed);
              counted = polls;
            }
            return abort_.load(std::memory_order_relaxed) || control.ShouldStop();
          });
      triplesDone_->fetch_add(out.triples - counted, std::memory_order_relaxed);
      finished = out.stopped ? UnitState::kCutShort : UnitState::kDone;
    } catch (...) {
      error = std::current_exception();
    }

    lock.lock();
    slot.state = finished;
    if (error && !error_) error_ = error;
    unitDone_.notify_one();
    if (finished != UnitState::kDone) break;
  }
  --searching_;
  unitDone_.notify_one();
  lock.unlock();
  control.LeaveSearchThread();
}

const UnitSquares* UnitPool::NextUnit() {
  std::unique_lock lock(mutex_);
  if (head_ == units_.size()) return nullptr;
  Slot& slot = SlotOf(head_);
  unitDone_.wait(lock, [&] { return slot.state != UnitState::kOpen || searching_ == 0; });
  if (slot.state == UnitState::kDone) return &slot.squares;
  if (slot.state == UnitState::kFailed) std::rethrow_exception(error_);
  // Cut short, or never taken because every thread has left after a stop.
  cutShort_ = true;
  return nullptr;
}

void UnitPool::ReleaseUnit() {
  {
    std::lock_guard lock(mutex_);
    SlotOf(head_).state = UnitState::kOpen;
    ++head_;
  }
  windowOpen_.notify_all();
}

void UnitPool::Finish() {
  {
    std::lock_guard lock(mutex_);
    abort_.store(true);
  }
  windowOpen_.notify_all();
  for (std::thread& t : running_) t.join();
  running_.clear();
}

}  // namespace ferolin
