// The output file's line for one square: the count, then the 25 cells row by
// row, each field followed by one space, then CR LF. 70 to 79 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ferolin {

inline constexpr std::size_t SquareRecordCapacity = 88;  // longest record is 79 bytes

// Writes the record for square `cells` numbered `foundCount` (>= 0) to `out`,
// which holds at least SquareRecordCapacity bytes; returns its length.
// Cells hold 1..25.
std::size_t FormatSquareRecord(char* out, std::int32_t foundCount, const std::int32_t* cells);

// The same for cells held as bytes (the form finished units keep).
std::size_t FormatSquareRecord(char* out, std::int32_t foundCount, const std::uint8_t* cells);

}  // namespace ferolin
