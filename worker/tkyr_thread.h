// The worker of one run: walks the center values from first to last, searches
// each, reports every square (ReportSquare: the record to the output file, the
// square to the window at the display interval) and, per center, its count;
// at the end it closes the output file and reports the end of the run.
//
// Created suspended: the first Resume() starts the thread. Suspend() pauses the
// search at its next safe point and Resume() continues it exactly there.
// Terminate() ends the run at the next safe point, also from a pause. The
// worker never waits for the window: everything goes through RunEventQueue.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "worker/center_search.h"
#include "worker/record_writer.h"
#include "worker/run_control.h"
#include "worker/run_events.h"

namespace ferolin {

struct RunSettings {
  std::int32_t firstCenter = 1;
  std::int32_t lastCenter = 1;
  int outputFd = -1;  // an open file for the records, or -1 for none; the worker closes it
  int searchThreads = 1;
  DiagARange diagARange{};  // each center's DiagA stretch; the whole table by default
};

class TkyrThread {
 public:
  // displayInterval (1, 100, 1000) is read for every square and may change at
  // any time; diagonalPasses is read by the search. Both outlive the worker.
  TkyrThread(const RunSettings& settings, const std::atomic<std::int32_t>& displayInterval,
             const std::atomic<std::int32_t>& diagonalPasses, RunEventQueue& events);
  ~TkyrThread();  // Terminate() and WaitFor()

  TkyrThread(const TkyrThread&) = delete;
  TkyrThread& operator=(const TkyrThread&) = delete;

  void Resume();
  void Suspend();
  bool Suspended() const;

  // +2 (highest) .. -2 (lowest). Empty on success, else the system's reason,
  // and the worker keeps its previous priority.
  std::string SetPriorityLevel(int level);
  int PriorityLevel() const { return control_.priorityLevel(); }

  void Terminate();
  void WaitFor();  // returns once the thread has ended (at once if never started)

  // After WaitFor(): why the search failed (it could not start its threads,
  // say), or empty. A failed run ends like a stopped one.
  const std::string& Failure() const { return failure_; }


 private:
  void Execute();  // the worker's thread body
  void ReportSquare(const std::int32_t* cells, std::int32_t foundCount);
  void ReportFileError(int error);

  RunSettings settings_;
  const std::atomic<std::int32_t>& displayInterval_;
  const std::atomic<std::int32_t>& diagonalPasses_;
  RunEventQueue& events_;
  RunControl control_;
  CenterProgress progress_;
  CenterSearcher searcher_;
  std::optional<RecordWriter> writer_;
  bool fileErrorReported_ = false;
  std::string failure_;
  std::thread thread_;
  std::atomic<bool> started_{false};
};

}  // namespace ferolin
