// Counts the admitted line triples without arranging them: cheap (well under a
// second per center), and the measure of progress through a center's search.
#pragma once

#include <cstdint>

#include "engine/line_tables.h"

namespace ferolin {

struct TripleCounts {
  std::int64_t total;
  std::int64_t diagonalPairs;
  std::int64_t perDiagA[CenterLinesCapacity + 1];  // triples with that DiagA
};

void CountTriples(const LineTables& t, TripleCounts& out);

}  // namespace ferolin
