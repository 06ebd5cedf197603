#include "worker/run_events.h"

#include <algorithm>
#include <utility>

namespace ferolin {

void RunEventQueue::PushSquare(const std::int32_t* cells, std::int32_t count, bool withTime,
                               std::int64_t timeMs) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    if (pending_.empty() || pending_.back().kind != RunEvent::Kind::Square)
      pending_.emplace_back();
    RunEvent& e = pending_.back();
    e.kind = RunEvent::Kind::Square;
    // A replaced square that carried a time keeps the time label in step: the
    // newest shown square's time wins, and a square shown without a time does
    // not wipe the time of the one it replaces.
    if (withTime) e.timeMs = timeMs;
    e.withTime = e.withTime || withTime;
    e.count = count;
    std::copy(cells, cells + 25, e.cells);
    wake = !std::exchange(wakeSent_, true);
  }
  Notify(wake);
}

void RunEventQueue::Push(const RunEvent& event) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(event);
    wake = !std::exchange(wakeSent_, true);
  }
  Notify(wake);
}

void RunEventQueue::TakeAll(std::vector<RunEvent>& out) {
  out.clear();
  std::lock_guard lock(mutex_);
  std::swap(out, pending_);
  wakeSent_ = false;
}

}  // namespace ferolin
