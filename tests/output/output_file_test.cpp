#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "worker/record_writer.h"

namespace ferolin::platform {
namespace {

namespace fs = std::filesystem;

TEST(BackupName, BaseNameWithBakExtension) {
  struct Case {
    const char* path;
    const char* name;
    const char* backupPath;
  };
  const Case cases[] = {
      {"run.txt", "run.BAK", "run.BAK"},
      {"results", "results.BAK", "results.BAK"},
      {"a.b.txt", "a.b.BAK", "a.b.BAK"},
      {".log", ".BAK", ".BAK"},
      {"/tmp/out/run.txt", "run.BAK", "/tmp/out/run.BAK"},
      {"dir.d/plain", "plain.BAK", "dir.d/plain.BAK"},
      {"C:squares.txt", "squares.BAK", "C:squares.BAK"},
      {"x\\y\\z.txt", "z.BAK", "x\\y\\z.BAK"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackupNameFor(c.path), c.name) << c.path;
    EXPECT_EQ(BackupPathFor(c.path), c.backupPath) << c.path;
  }
  EXPECT_EQ(BackupNameFor(std::string(300, 'n') + ".txt"), std::string(255, 'n') + ".BAK");
}

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("ferolin-out-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path dir_;
};

TEST_F(OutputFileTest, NewFileIsCreatedWithoutBackup) {
  const fs::path f = dir_ / "new.txt";
  OpenedFile o = OpenOutputFile(f.string());
  ASSERT_TRUE(o.ok()) << o.error;
  EXPECT_TRUE(o.backupPath.empty());
  EXPECT_EQ(WriteAll(o.fd, "abc", 3), 0);
  EXPECT_EQ(CloseFile(o.fd), 0);
  EXPECT_EQ(Read(f), "abc");
  EXPECT_FALSE(fs::exists(dir_ / "new.BAK"));
}

TEST_F(OutputFileTest, ExistingFileIsMovedAsideBesideIt) {
  const fs::path f = dir_ / "run.txt";
  Write(f, "old records");
  OpenedFile o = OpenOutputFile(f.string());
  ASSERT_TRUE(o.ok()) << o.error;
  EXPECT_EQ(o.backupPath, (dir_ / "run.BAK").string());
  CloseFile(o.fd);
  EXPECT_EQ(Read(dir_ / "run.BAK"), "old records");
  EXPECT_EQ(Read(f), "");
}

TEST_F(OutputFileTest, ExistingBackupKeepsTheFileUntouched) {
  const fs::path f = dir_ / "run.txt";
  Write(f, "second run");
  Write(dir_ / "run.BAK", "first run");
  OpenedFile o = OpenOutputFile(f.string());
  EXPECT_FALSE(o.ok());
  EXPECT_NE(o.error.find("run.BAK"), std::string::npos) << o.error;
  EXPECT_NE(o.error.find("File exists"), std::string::npos) << o.error;
  EXPECT_EQ(Read(f), "second run");
  EXPECT_EQ(Read(dir_ / "run.BAK"), "first run");
}

TEST_F(OutputFileTest, FolderAndUnwritablePlacesAreRefused) {
  EXPECT_FALSE(OpenOutputFile(dir_.string()).ok());
  OpenedFile o = OpenOutputFile((dir_ / "missing" / "x.txt").string());
  EXPECT_FALSE(o.ok());
  EXPECT_NE(o.error.find("No such file or directory"), std::string::npos) << o.error;
}

TEST_F(OutputFileTest, PipeIsWrittenAsItIsNeverRenamed) {
  const fs::path f = dir_ / "pipe.txt";
  ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0);
  // A reader must hold the pipe open for the writer's open to return.
  const int reader = ::open(f.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  OpenedFile o = OpenOutputFile(f.string());
  ASSERT_TRUE(o.ok()) << o.error;
  EXPECT_TRUE(o.backupPath.empty());
  EXPECT_EQ(WriteAll(o.fd, "xy", 2), 0);
  char buf[4] = {};
  EXPECT_EQ(::read(reader, buf, sizeof buf), 2);
  CloseFile(o.fd);
  ::close(reader);
  EXPECT_TRUE(fs::is_fifo(f));
  EXPECT_FALSE(fs::exists(dir_ / "pipe.BAK"));
}

TEST_F(OutputFileTest, DeviceIsWrittenAsItIs) {
  OpenedFile o = OpenOutputFile("/dev/null");
  ASSERT_TRUE(o.ok()) << o.error;
  EXPECT_TRUE(o.backupPath.empty());
  CloseFile(o.fd);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(OutputFileTest, WriterKeepsTheFirstErrorAndStopsWriting) {
  const std::int32_t cells[25] = {11, 24, 7,  20, 3,  4,  12, 25, 8, 16, 17, 5, 13,
                                  21, 9,  10, 18, 1,  14, 22, 23, 6, 19, 2,  15};
  for (std::size_t buffer : {std::size_t{0}, std::size_t{1} << 16}) {
    const int fd = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(fd, 0);
    RecordWriter w(fd, buffer);
    w.Append(1, cells);
    w.Flush();
    EXPECT_EQ(w.error(), ENOSPC) << buffer;
    w.Append(2, cells);
    EXPECT_EQ(w.Flush(), ENOSPC);
    ::close(fd);
  }
}

}  // namespace
}  // namespace ferolin::platform
