// Output files: moving an existing file aside under its backup name, creating
// the file anew, writing whole buffers and closing, with the system's reason
// for any failure. An existing file is never emptied unless it was backed up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ferolin::platform {

// The base name of the path's last component (up to its last '.', at most 255
// bytes) followed by ".BAK": "run.txt" -> "run.BAK", ".log" -> ".BAK".
std::string BackupNameFor(std::string_view path);

// BackupNameFor(path) in the path's own folder.
std::string BackupPathFor(std::string_view path);

struct OpenedFile {
  int fd = -1;
  std::string error;       // empty on success
  std::string backupPath;  // where an existing file was moved, if it was
  bool ok() const { return fd >= 0; }
};

// Opens `path` for a new run of records. An existing regular file is first
// renamed to its backup path, never replacing a file there; if that fails the
// file is left untouched and nothing is opened. A pipe or a device is opened
// for writing as it is. A folder is refused.
OpenedFile OpenOutputFile(const std::string& path);

// Writes all `size` bytes, retrying short writes and interruptions. Returns 0
// or the errno of the failure.
int WriteAll(int fd, const char* data, std::size_t size);

// Closes `fd` if it is open; returns 0 or the errno of the failure.
int CloseFile(int fd);

// The system's text for an errno value.
std::string SystemReason(int error);

}  // namespace ferolin::platform
