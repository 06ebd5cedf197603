#include "platform/output_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ferolin::platform {

namespace {

std::size_t LastSeparator(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  // A drive prefix "C:" counts as a separator too.
  const std::size_t colon = path.size() >= 2 && path[1] == ':' ? 1 : std::string_view::npos;
  if (slash == std::string_view::npos) return colon;
  if (colon == std::string_view::npos) return slash;
  return slash > colon ? slash : colon;
}

// Renames without ever replacing `to`: renameat2 where the file system has it,
// otherwise a hard link and unlink, which fail the same way if `to` exists.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  if (err != EINVAL && err != ENOSYS) return err;
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  if (::unlink(from.c_str()) != 0) {
    const int unlinkErr = errno;
    ::unlink(to.c_str());
    return unlinkErr;
  }
  return 0;
}

}  // namespace

std::string BackupNameFor(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  if (name.size() > 255) name = name.substr(0, 255);
  return std::string(name) + ".BAK";
}

std::string BackupPathFor(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  const std::string folder = sep == std::string_view::npos ? "" : std::string(path.substr(0, sep + 1));
  return folder + BackupNameFor(path);
}

OpenedFile OpenOutputFile(const std::string& path) {
  OpenedFile out;
  if (path.empty()) {
    out.error = "no file name given";
    return out;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      out.error = "'" + path + "' is a folder";
      return out;
    }
    if (S_ISREG(st.st_mode)) {
      const std::string backup = BackupPathFor(path);
      if (const int err = RenameNoReplace(path, backup); err != 0) {
        out.error = "cannot move '" + path + "' aside to '" + backup + "': " + SystemReason(err);
        return out;
      }
      out.backupPath = backup;
    } else {
      // A pipe, a device or a socket: written as it is.
      out.fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
      if (out.fd < 0) out.error = "cannot open '" + path + "': " + SystemReason(errno);
      return out;
    }
  }
  // O_EXCL: the name is free now; if something appeared there meanwhile, it is not emptied.
  out.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out.fd < 0) out.error = "cannot create '" + path + "': " + SystemReason(errno);
  return out;
}

int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

int CloseFile(int fd) {
  if (fd < 0) return 0;
  return ::close(fd) == 0 ? 0 : errno;
}

std::string SystemReason(int error) {
  char buf[256];
  // GNU strerror_r returns the text, which may or may not be in buf.
  return ::strerror_r(error, buf, sizeof buf);
}

}  // namespace ferolin::platform
