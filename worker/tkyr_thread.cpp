#include "worker/tkyr_thread.h"

#include <chrono>

#include "platform/output_file.h"

namespace ferolin {

namespace {

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

TkyrThread::TkyrThread(const RunSettings& settings,
                       const std::atomic<std::int32_t>& displayInterval,
                       const std::atomic<std::int32_t>& diagonalPasses, RunEventQueue& events)
    : settings_(settings),
      displayInterval_(displayInterval),
      diagonalPasses_(diagonalPasses),
      events_(events),
      searcher_(settings.searchThreads) {
  searcher_.SetDiagARange(settings.diagARange);
  if (settings_.outputFd >= 0) writer_.emplace(settings_.outputFd, 0);
}

TkyrThread::~TkyrThread() {
  Terminate();
  WaitFor();
  if (!started_.load() && settings_.outputFd >= 0) platform::CloseFile(settings_.outputFd);
}

void TkyrThread::Resume() {
  if (!started_.load()) {
    thread_ = std::thread([this] { Execute(); });  // may throw: then still not started
    started_.store(true);
    return;
  }
  control_.Resume();
}

void TkyrThread::Suspend() { control_.Pause(); }

bool TkyrThread::Suspended() const { return !started_.load() || control_.paused(); }

std::string TkyrThread::SetPriorityLevel(int level) { return control_.SetPriorityLevel(level); }

void TkyrThread::Terminate() { control_.Stop(); }

void TkyrThread::WaitFor() {
  if (thread_.joinable()) thread_.join();
}

void TkyrThread::Execute() {
  control_.EnterSearchThread();
  std::int32_t foundCount = 0;
  bool stopped = false;
  try {
    for (std::int32_t center = settings_.firstCenter; settings_.lastCenter >= center; ++center) {
      const CenterResult result = searcher_.Run(
          center, diagonalPasses_, control_, progress_,
          [this](const std::int32_t* cells, std::int32_t n) { ReportSquare(cells, n); });
      foundCount = result.found;
      if (result.stopped) {  // an interrupted center has no result line
        stopped = true;
        break;
      }
      RunEvent done;
      done.kind = RunEvent::Kind::CenterDone;
      done.center = center;
      done.count = foundCount;
      events_.Push(done);
    }
  } catch (const std::exception& e) {
    failure_ = e.what();
    stopped = true;
  }
  control_.LeaveSearchThread();

  if (settings_.outputFd >= 0) {
    const int closeError = platform::CloseFile(settings_.outputFd);
    settings_.outputFd = -1;
    if (closeError != 0 && !fileErrorReported_) ReportFileError(closeError);
  }
  RunEvent end;
  end.kind = RunEvent::Kind::RunEnded;
  end.count = foundCount;
  end.stopped = stopped;
  end.timeMs = NowMs();
  events_.Push(end);
}

void TkyrThread::ReportSquare(const std::int32_t* cells, std::int32_t foundCount) {
  if (writer_) {
    writer_->Append(foundCount, cells);
    // After a failed write the writer tries no more; the search goes on.
    if (writer_->error() != 0 && !fileErrorReported_) ReportFileError(writer_->error());
  }
  const std::int32_t interval = displayInterval_.load(std::memory_order_relaxed);
  if (interval == 1)
    events_.PushSquare(cells, foundCount, false, 0);
  else if (interval > 0 && foundCount % interval == 0)
    events_.PushSquare(cells, foundCount, true, NowMs());
}

void TkyrThread::ReportFileError(int error) {
  fileErrorReported_ = true;
  RunEvent e;
  e.kind = RunEvent::Kind::FileError;
  e.error = error;
  events_.Push(e);
}

}  // namespace ferolin
