// Writes SquareRecords to an open file, either one write call per record (the
// file then always holds every square found so far) or through a large buffer.
// After the first failed write it writes nothing more and keeps the error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/output_file.h"
#include "worker/square_record.h"

namespace ferolin {

class RecordWriter {
 public:
  // bufferBytes 0: each record goes to the file in its own write.
  RecordWriter(int fd, std::size_t bufferBytes)
      : fd_(fd), buffer_(bufferBytes < SquareRecordCapacity ? 0 : bufferBytes) {}

  template <class Cell>
  void Append(std::int32_t foundCount, const Cell* cells) {
    if (error_ != 0) return;
    if (buffer_.empty()) {
      char record[SquareRecordCapacity];
      const std::size_t n = FormatSquareRecord(record, foundCount, cells);
      error_ = platform::WriteAll(fd_, record, n);
      return;
    }
    if (used_ + SquareRecordCapacity > buffer_.size()) Flush();
    used_ += FormatSquareRecord(buffer_.data() + used_, foundCount, cells);
  }

  // Writes what the buffer holds; returns the error so far (0 if none).
  int Flush() {
    if (error_ == 0 && used_ > 0) error_ = platform::WriteAll(fd_, buffer_.data(), used_);
    used_ = 0;
    return error_;
  }

  int error() const { return error_; }
  int fd() const { return fd_; }

 private:
  int fd_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  int error_ = 0;
};

}  // namespace ferolin
