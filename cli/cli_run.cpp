#include "cli/cli_run.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_options.h"
#include "cli/progress_line.h"
#include "engine/triple_count.h"
#include "platform/output_file.h"
#include "worker/center_search.h"
#include "worker/record_writer.h"

namespace ferolin::cli {

namespace {

constexpr std::size_t kRecordBuffer = std::size_t{4} << 20;

using Clock = std::chrono::steady_clock;

// Watches for SIGINT and SIGTERM (blocked in every thread, taken here with
// sigtimedwait, so no handler runs in the middle of the search) and, on a
// terminal, redraws the progress line a few times a second.
class Watcher {
 public:
  Watcher(const CliOptions& o, RunControl& control, CenterProgress& progress, bool showProgress)
      : options_(o), control_(control), progress_(progress), show_(showProgress) {
    thread_ = std::thread([this] { Loop(); });
  }
  ~Watcher() { Finish(); }

  void Finish() {
    if (!thread_.joinable()) return;
    finished_.store(true);
    thread_.join();
    EraseLine();
  }

  int signal() const { return signal_.load(); }

  // Prints a result line on stdout without tangling it with the progress line.
  void PrintResult(const std::string& line) {
    std::lock_guard lock(terminal_);
    EraseLineLocked();
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
  }

 private:
  void Loop() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    const auto start = Clock::now();
    auto lastDraw = start;
    if (show_) CountRunTriples();
    while (!finished_.load()) {
      const timespec wait{0, 100'000'000};
      const int sig = sigtimedwait(&set, nullptr, &wait);
      if (sig == SIGINT || sig == SIGTERM) {
        int none = 0;
        signal_.compare_exchange_strong(none, sig);
        control_.Stop();
      }
      const auto now = Clock::now();
      if (show_ && now - lastDraw >= std::chrono::milliseconds(250)) {
        lastDraw = now;
        Draw(std::chrono::duration<double>(now - start).count());
      }
    }
  }

  void CountRunTriples() {
    auto tables = std::make_unique<LineTables>();
    auto counts = std::make_unique<TripleCounts>();
    for (int c = options_.from; c <= options_.to && !finished_.load(); ++c) {
      PrepareLineTables(*tables, c);
      CountTriples(*tables, *counts);
      centerTriples_[c] = counts->total;
    }
  }

  void Draw(double elapsed) {
    ProgressSnapshot p;
    p.center = progress_.center.load(std::memory_order_relaxed);
    if (p.center == 0) return;
    p.centerTriplesDone = progress_.triplesDone.load(std::memory_order_relaxed);
    p.centerTriplesTotal = progress_.triplesTotal.load(std::memory_order_relaxed);
    p.centerSquares = progress_.squares.load(std::memory_order_relaxed);
    for (int c = options_.from; c <= options_.to; ++c) {
      p.runTriplesTotal += centerTriples_[c];
      if (c < p.center) p.runTriplesDone += centerTriples_[c];
    }
    p.runTriplesDone += p.centerTriplesDone;
    p.elapsedSeconds = elapsed;
    const std::string line = FormatProgressLine(p);
    std::lock_guard lock(terminal_);
    std::fprintf(stderr, "\r%s\033[K", line.c_str());
    std::fflush(stderr);
    drawn_ = true;
  }

  void EraseLine() {
    std::lock_guard lock(terminal_);
    EraseLineLocked();
  }
  void EraseLineLocked() {
    if (!drawn_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
  }

  const CliOptions& options_;
  RunControl& control_;
  CenterProgress& progress_;
  const bool show_;
  std::array<std::int64_t, 26> centerTriples_{};
  std::atomic<bool> finished_{false};
  std::atomic<int> signal_{0};
  std::mutex terminal_;
  bool drawn_ = false;
  std::thread thread_;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "ferolin-cli: %s\n", message.c_str());
  return 1;
}

}  // namespace

int RunCli(int argc, char** argv) {
  const ParsedOptions parsed = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.exitCode >= 0) {
    std::fputs(parsed.message.c_str(), parsed.exitCode == 0 ? stdout : stderr);
    if (parsed.exitCode != 0) std::fputc('\n', stderr);
    return parsed.exitCode;
  }
  const CliOptions& o = parsed.options;

  // Block the stop signals before any thread starts, so every thread inherits the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  std::optional<RecordWriter> writer;
  if (!o.output.empty()) {
    platform::OpenedFile file = platform::OpenOutputFile(o.output);
    if (!file.ok()) return Fail(file.error);
    writer.emplace(file.fd, kRecordBuffer);
  }

  RunControl control;
  CenterProgress progress;
  const std::atomic<std::int32_t> passes{o.diagonalPasses};
  CenterSearcher searcher(o.threads);
  Watcher watcher(o, control, progress, !o.quiet && ::isatty(STDERR_FILENO));

  bool writeFailed = false;
  for (std::int32_t center = o.from; center <= o.to; ++center) {
    const CenterResult r =
        searcher.Run(center, passes, control, progress, [&](const std::int32_t* cells, std::int32_t n) {
          if (!writer) return;
          writer->Append(n, cells);
          if (writer->error() != 0 && !writeFailed) {
            writeFailed = true;
            control.Stop();
          }
        });
    if (r.stopped) break;
    watcher.PrintResult("Center=" + std::to_string(center) + " " + std::to_string(r.found) +
                        " kyrs\n");
  }
  watcher.Finish();

  int status = 0;
  if (writer) {
    const int flushError = writer->Flush();
    const int closeError = platform::CloseFile(writer->fd());
    if (flushError != 0)
      status = Fail("cannot write '" + o.output + "': " + platform::SystemReason(flushError));
    else if (closeError != 0)
      status = Fail("cannot close '" + o.output + "': " + platform::SystemReason(closeError));
  }
  if (status == 0 && watcher.signal() != 0) status = 128 + watcher.signal();
  return status;
}

}  // namespace ferolin::cli
