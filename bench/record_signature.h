// FNV-1a 64-bit hash of a record stream. During a timed search Add only keeps
// the square (29 bytes); the records are formatted and hashed in Value(),
// outside the time measured, so the legs compare searches, not hashing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "worker/square_record.h"

namespace ferolin::bench {

class RecordSignature {
 public:
  // Makes room for `squares` before a timed search, touching the memory so the
  // search does not pay for its first use.
  void Reserve(std::size_t squares) {
    squares_.resize(squares);
    squares_.clear();
  }

  void Add(std::int32_t foundCount, const std::int32_t* cells) {
    Square& q = squares_.emplace_back();
    q.count = foundCount;
    for (int i = 0; i < 25; ++i) q.cells[i] = static_cast<std::uint8_t>(cells[i]);
  }

  std::uint64_t Value() const {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    char record[SquareRecordCapacity];
    for (const Square& q : squares_) {
      const std::size_t n = FormatSquareRecord(record, q.count, q.cells.data());
      for (std::size_t i = 0; i < n; ++i) {
        hash ^= static_cast<unsigned char>(record[i]);
        hash *= 0x100000001b3ull;
      }
    }
    return hash;
  }

 private:
  struct Square {
    std::int32_t count;
    std::array<std::uint8_t, 25> cells;
  };
  std::vector<Square> squares_;
};

}  // namespace ferolin::bench
