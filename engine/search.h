// The program's search of one center value. Every front end calls this; the
// engine behind it may change, the squares and their order never do.
#pragma once

#include "engine/fast_search.h"

namespace ferolin {

template <class OnSquare, class Poll>
SearchOutcome Search(SearchState& s, DiagARange range,
                     const std::atomic<std::int32_t>& diagonalPasses, OnSquare&& onSquare,
                     Poll&& poll) {
  return FastSearch(s, range, diagonalPasses, onSquare, poll);
}

}  // namespace ferolin
