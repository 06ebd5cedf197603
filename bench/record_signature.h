// FNV-1a 64-bit hash of a record stream, fed one square record at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "worker/square_record.h"

namespace ferolin::bench {

class RecordSignature {
 public:
  void Add(std::int32_t foundCount, const std::int32_t* cells) {
    char record[SquareRecordCapacity];
    const std::size_t n = FormatSquareRecord(record, foundCount, cells);
    for (std::size_t i = 0; i < n; ++i) {
      hash_ ^= static_cast<unsigned char>(record[i]);
      hash_ *= 0x100000001b3ull;
    }
  }
  std::uint64_t Value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace ferolin::bench
