// ferolin-cli as a user runs it: exit statuses, stdout, stderr and the files it
// leaves, for bad input, the backup rule, a full disk and a stop signal.
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "square_checker.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Process {
  pid_t pid = -1;
  fs::path out, err;

  // Waits for the process; returns its exit status (128 + n if killed by signal n).
  int Wait() {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
};

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ferolin-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "elsewhere");
  }
  void TearDown() override {
    if (mounted_) ::umount2(mounted_->c_str(), MNT_DETACH);
    fs::remove_all(dir_);
  }

  // Starts ferolin-cli in `cwd` with its stdout and stderr going to files.
  Process Start(std::vector<std::string> args, const fs::path& cwd) {
    Process p;
    p.out = dir_ / ("stdout" + std::to_string(runs_));
    p.err = dir_ / ("stderr" + std::to_string(runs_++));
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, p.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&fa, 2, p.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
    args.insert(args.begin(), FEROLIN_CLI_PATH);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    EXPECT_EQ(posix_spawn(&p.pid, FEROLIN_CLI_PATH, &fa, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    return p;
  }

  int Run(std::vector<std::string> args, std::string* out = nullptr, std::string* err = nullptr) {
    Process p = Start(std::move(args), dir_);
    const int status = p.Wait();
    if (out) *out = Read(p.out);
    if (err) *err = Read(p.err);
    return status;
  }

  static void WaitForBytes(const fs::path& f) {
    for (int i = 0; i < 600 && !(fs::exists(f) && fs::file_size(f) > 0); ++i)
      std::this_thread::sleep_for(100ms);
  }

  fs::path dir_;
  int runs_ = 0;
  std::optional<fs::path> mounted_;
};

TEST_F(CliTest, BadInputIsRefusedBeforeAnyFileIsTouched) {
  struct Case {
    std::vector<std::string> args;
    std::string mentions;
  };
  const Case cases[] = {
      {{"--from", "0"}, "0"},          {{"--from", "26"}, "26"},
      {{"--to", "99"}, "99"},          {{"--from", "abc"}, "abc"},
      {{"--from", "7", "--to", "3"}, "3"}, {{"--count", "half"}, "half"},
      {{"--bogus"}, "--bogus"},        {{"--from"}, "--from"},
      {{"--threads", "0"}, "0"},       {{"--from", "1x"}, "1x"},
  };
  const fs::path f = dir_ / "kept.txt";
  std::ofstream(f) << "earlier squares";
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--output", f.string()});
    std::string out, err;
    EXPECT_EQ(Run(args, &out, &err), 2) << c.args[0];
    EXPECT_EQ(out, "") << c.args[0];
    EXPECT_NE(err.find(c.mentions), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  EXPECT_EQ(Read(f), "earlier squares");
  EXPECT_FALSE(fs::exists(dir_ / "kept.BAK"));
}

TEST_F(CliTest, ExistingBackupKeepsTheFileAndNothingIsSearched) {
  const fs::path f = dir_ / "elsewhere" / "run.txt";
  std::ofstream(f) << "second";
  std::ofstream(dir_ / "elsewhere" / "run.BAK") << "first";
  std::string out, err;
  EXPECT_EQ(Run({"--from", "13", "--to", "13", "--output", f.string()}, &out, &err), 1);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find(f.string()), std::string::npos) << err;
  EXPECT_NE(err.find("File exists"), std::string::npos) << err;
  EXPECT_EQ(Read(f), "second");
  EXPECT_EQ(Read(dir_ / "elsewhere" / "run.BAK"), "first");
}

// Stopped by a signal: the earlier file lies beside the new one as .BAK (not in
// the current folder), the new one holds only whole records numbered from 1,
// no result line is printed for the unfinished center, and the status says
// which signal stopped it.
TEST_F(CliTest, SignalStopsAtASafePointLeavingWholeRecords) {
  for (int sig : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    const fs::path f = dir_ / "elsewhere" / "run.txt";
    fs::remove(dir_ / "elsewhere" / "run.BAK");
    std::ofstream(f) << "earlier";
    Process p = Start({"--from", "13", "--to", "25", "--output", f.string()}, dir_);
    for (int i = 0; i < 100 && !fs::exists(dir_ / "elsewhere" / "run.BAK"); ++i)
      std::this_thread::sleep_for(50ms);
    WaitForBytes(f);
    ASSERT_GT(fs::file_size(f), 0u) << "no records written in time";
    ::kill(p.pid, sig);
    EXPECT_EQ(p.Wait(), 128 + sig);
    EXPECT_EQ(Read(dir_ / "elsewhere" / "run.BAK"), "earlier");
    EXPECT_FALSE(fs::exists(dir_ / "run.BAK"));
    EXPECT_EQ(Read(p.out), "");

    const std::string text = Read(f);
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    std::istringstream lines(text);
    std::string line;
    long expected = 0;
    while (std::getline(lines, line)) {
      ASSERT_EQ(line.back(), '\r');
      std::istringstream fields(line);
      long count;
      checker::Grid g;
      fields >> count;
      for (int& v : g) fields >> v;
      ASSERT_FALSE(fields.fail()) << line;
      ASSERT_EQ(count, ++expected);
      ASSERT_EQ(checker::Fault(g), "") << line;
      ASSERT_EQ(g[12], 13);
    }
  }
}

TEST_F(CliTest, FullDiskIsAnErrorNamingTheFile) {
  const fs::path mnt = dir_ / "small";
  fs::create_directories(mnt);
  if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  mounted_ = mnt;
  const fs::path f = mnt / "squares.txt";
  std::string out, err;
  EXPECT_EQ(Run({"--from", "13", "--to", "13", "--output", f.string()}, &out, &err), 1);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find(f.string()), std::string::npos) << err;
  EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
}

// A finished run: one line per center on stdout, one record per square found,
// numbered from 1 within each center, and the same bytes on one or two threads.
TEST_F(CliTest, CompleteRunGivesOneLinePerCenterAndTheSameBytesOnAnyThreadCount) {
  std::string out1, out2, err;
  const fs::path f1 = dir_ / "one.txt", f2 = dir_ / "two.txt";
  ASSERT_EQ(Run({"--from", "1", "--to", "2", "--count", "1/4", "--threads", "1", "--output",
                 f1.string()},
                &out1, &err),
            0)
      << err;
  ASSERT_EQ(Run({"--from", "1", "--to", "2", "--count", "1/4", "--threads", "2", "--output",
                 f2.string()},
                &out2, &err),
            0)
      << err;
  EXPECT_EQ(err, "");  // not a terminal: no progress line
  EXPECT_EQ(out1, out2);
  const std::string text = Read(f1);
  ASSERT_TRUE(text == Read(f2)) << "record streams differ between 1 and 2 threads";

  // Count the records of each center: field 14 is the center, field 1 restarts at 1.
  long counts[3] = {0, 0, 0};
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    // Field 1, then skip 13 fields to reach the center.
    const char* p = text.data() + pos;
    char* next = nullptr;
    const long n = std::strtol(p, &next, 10);
    long center = 0;
    for (int i = 0; i < 13; ++i) center = std::strtol(next, &next, 10);
    ASSERT_TRUE(center == 1 || center == 2) << text.substr(pos, end - pos);
    ASSERT_EQ(n, ++counts[center]);
    pos = end + 2;
  }
  EXPECT_GT(counts[1], 0);
  EXPECT_EQ(out1, "Center=1 " + std::to_string(counts[1]) + " kyrs\nCenter=2 " +
                      std::to_string(counts[2]) + " kyrs\n");
}

}  // namespace
