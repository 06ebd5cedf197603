// What a run tells its window, in the order it happens: squares to show,
// finished centers, a file error and the end of the run. The worker pushes
// without ever waiting for the window; the window takes everything pending on
// its own thread. A square pushed while the previous pending event is also a
// square replaces it, so showing every square cannot flood the window, and
// the order of the other events is kept.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace ferolin {

struct RunEvent {
  enum class Kind : std::uint8_t { Square, CenterDone, FileError, RunEnded };
  Kind kind = Kind::Square;
  bool withTime = false;     // Square: the time label shows timeMs as well
  bool stopped = false;      // RunEnded: the run was stopped before its end
  std::int32_t center = 0;   // CenterDone
  std::int32_t count = 0;    // Square, CenterDone, RunEnded: FoundCount
  std::int32_t error = 0;    // FileError: errno
  std::int64_t timeMs = 0;   // milliseconds since the epoch, system clock
  std::int32_t cells[25] = {};
};

// Told when events become pending after the window took the previous ones.
// Called on the worker's thread; must return without waiting for the window.
class RunEventSink {
 public:
  virtual void RunEventsPending() = 0;

 protected:
  ~RunEventSink() = default;
};

class RunEventQueue {
 public:
  explicit RunEventQueue(RunEventSink& sink) : sink_(sink) {}

  void PushSquare(const std::int32_t* cells, std::int32_t count, bool withTime,
                  std::int64_t timeMs);
  void Push(const RunEvent& event);

  // Moves every pending event into `out` (cleared first), oldest first.
  void TakeAll(std::vector<RunEvent>& out);

 private:
  void Notify(bool wake) {
    if (wake) sink_.RunEventsPending();
  }

  RunEventSink& sink_;
  std::mutex mutex_;
  std::vector<RunEvent> pending_;
  bool wakeSent_ = false;  // the sink was told and the window has not taken them yet
};

}  // namespace ferolin
