#include "worker/run_control.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/output_file.h"

namespace ferolin {

namespace {
pid_t ThisThreadId() { return static_cast<pid_t>(::syscall(SYS_gettid)); }
}  // namespace

int RunControl::NiceForLevel(int level) {
  static constexpr int kNice[5] = {-10, -5, 0, 5, 10};  // +2 .. -2
  return kNice[2 - std::clamp(level, -2, 2)];
}

void RunControl::Pause() {
  int expected = kRunning;
  state_.compare_exchange_strong(expected, kPaused);
}

void RunControl::Resume() {
  {
    std::lock_guard lock(mutex_);
    int expected = kPaused;
    state_.compare_exchange_strong(expected, kRunning);
  }
  wake_.notify_all();
}

void RunControl::Stop() {
  {
    std::lock_guard lock(mutex_);
    state_.store(kStopped);
  }
  wake_.notify_all();
}

bool RunControl::WaitWhilePaused() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [&] { return state_.load() != kPaused; });
  return state_.load() == kStopped;
}

std::string RunControl::SetPriorityLevel(int level) {
  std::lock_guard lock(mutex_);
  const int nice = NiceForLevel(level);
  const int old = NiceForLevel(level_);
  for (std::size_t i = 0; i < threads_.size(); ++i) {
    if (::setpriority(PRIO_PROCESS, static_cast<id_t>(threads_[i]), nice) != 0) {
      const int err = errno;
      for (std::size_t j = 0; j < i; ++j)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(threads_[j]), old);
      return platform::SystemReason(err);
    }
  }
  level_ = level;
  return {};
}

int RunControl::priorityLevel() const {
  std::lock_guard lock(mutex_);
  return level_;
}

void RunControl::EnterSearchThread() {
  std::lock_guard lock(mutex_);
  const pid_t tid = ThisThreadId();
  if (level_ != 0) ::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceForLevel(level_));
  threads_.push_back(tid);
}

void RunControl::LeaveSearchThread() {
  std::lock_guard lock(mutex_);
  std::erase(threads_, ThisThreadId());
}

}  // namespace ferolin
