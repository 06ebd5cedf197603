// Pause, continue and stop for a running search, and the priority of its
// threads. The search threads call ShouldStop() at the engine's safe point
// (once per line triple): one relaxed load while running; while paused they
// wait there, holding nothing.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace ferolin {

class RunControl {
 public:
  bool ShouldStop() {
    if (state_.load(std::memory_order_relaxed) == kRunning) return false;
    return WaitWhilePaused();
  }

  void Pause();
  void Resume();
  void Stop();  // final: wakes paused threads, and every ShouldStop() answers true
  bool paused() const { return state_.load(std::memory_order_acquire) == kPaused; }
  bool stopped() const { return state_.load(std::memory_order_acquire) == kStopped; }

  // Priority in levels, +2 (highest) to -2 (lowest), 0 normal: applied to every
  // search thread registered now or later. Empty on success, else the system's
  // reason; on failure the threads keep their previous priority.
  std::string SetPriorityLevel(int level);
  int priorityLevel() const;

  // A search thread calls this on itself when it starts, and Leave when it ends.
  void EnterSearchThread();
  void LeaveSearchThread();

  // Nice value of each level: five distinct steps, normal in the middle.
  static int NiceForLevel(int level);

 private:
  enum : int { kRunning = 0, kPaused = 1, kStopped = 2 };
  bool WaitWhilePaused();

  std::atomic<int> state_{kRunning};
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<pid_t> threads_;
  int level_ = 0;
};

}  // namespace ferolin
