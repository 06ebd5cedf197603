// An independent check of reported squares, sharing nothing with the engine:
// the 12 line sums, the values 1..25 each once, and a canonical form under the
// eight rotations and reflections.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace checker {

using Grid = std::array<int, 25>;

// Empty when `g` is a magic square of order 5 on 1..25, otherwise what is wrong.
std::string Fault(const Grid& g);

// The least of the eight images of `g`, read row by row.
Grid Canonical(const Grid& g);

}  // namespace checker
