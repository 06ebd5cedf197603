// What a caller gives a search and gets back: the DiagA range it covers and,
// after a stop at a safe point, where it stood.
#pragma once

#include <cstdint>

namespace ferolin {

// A DiagA range [first, last] of CenterLines indices; 0 and 0 mean the whole table.
// diagBFirst and diagBLast bound DiagB within every DiagA of the range, so that
// one DiagA can be searched in pieces; 0 means no bound on that side.
struct DiagARange {
  std::int32_t first = 0;
  std::int32_t last = 0;
  std::int32_t diagBFirst = 0;
  std::int32_t diagBLast = 0;
};

struct SearchOutcome {
  bool stopped = false;        // true when the poll asked to stop
  std::int64_t triples = 0;    // admitted triples fully searched
  // The first triple not searched, valid when stopped.
  std::int32_t diagA = 0, diagB = 0, midColumn = 0;
};

}  // namespace ferolin
