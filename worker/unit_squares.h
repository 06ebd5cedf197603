// The squares one search thread found in its unit, kept compactly until the
// caller emits them: 25 bytes per square, in blocks that are kept for reuse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ferolin {

inline constexpr std::size_t SquareBytes = 25;
inline constexpr std::size_t UnitBlockSquares = 2048;  // 50 KB blocks

// The squares of one unit, in the order found: square i is the 25 cells
// blocks[i / UnitBlockSquares][(i % UnitBlockSquares) * 25 ...], row by row.
struct UnitSquares {
  std::vector<std::unique_ptr<std::uint8_t[]>> blocks;  // kept for reuse
  std::size_t count = 0;

  void Append(const std::int32_t* cells) {
    const std::size_t block = count / UnitBlockSquares;
    if (block == blocks.size())
      blocks.push_back(std::make_unique<std::uint8_t[]>(UnitBlockSquares * SquareBytes));
    std::uint8_t* out = &blocks[block][(count % UnitBlockSquares) * SquareBytes];
    for (std::size_t i = 0; i < SquareBytes; ++i) out[i] = static_cast<std::uint8_t>(cells[i]);
    ++count;
  }
  const std::uint8_t* Square(std::size_t i) const {
    return &blocks[i / UnitBlockSquares][(i % UnitBlockSquares) * SquareBytes];
  }
};

}  // namespace ferolin
