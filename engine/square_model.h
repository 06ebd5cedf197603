// The square model shared by every stage of the search: the line sum, value masks
// and the cell numbering (row-major, Cell(r,c) = 5*r + c).
#pragma once

#include <cstdint>

namespace ferolin {

using ValueMask = std::uint32_t;  // bit v stands for value v; only bits 1..25 are used

inline constexpr std::int32_t MagicSum = 65;
inline constexpr std::int32_t MaxValue = 25;
inline constexpr ValueMask FullMask = 0x3FFFFFEu;

constexpr int CellIndex(int r, int c) { return 5 * r + c; }
constexpr ValueMask Bit(std::int32_t v) { return ValueMask{1} << v; }

// Count choices: how many main-diagonal arrangements a run tries.
inline constexpr std::int32_t QuarterPasses = 3;
inline constexpr std::int32_t AllPasses = 12;

}  // namespace ferolin
