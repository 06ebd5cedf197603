// The whole state of the search of one center value: the line tables, the
// working square and the bounds of the current triple. One block of fixed-size
// fields, created zeroed (value-initialise it); the search allocates nothing.
#pragma once

#include <cstdint>

#include "engine/line_tables.h"
#include "engine/square_model.h"

namespace ferolin {

struct SearchState {
  std::int32_t CenterValue;
  std::int32_t FoundCount;  // squares found by the current search call
  std::int32_t Cells[25];

  LineTables Tables;

  // Current triple of CenterLines indices, and values 1..4 of each (index 1..4).
  std::int32_t DiagA, DiagB, MidColumn;
  std::int32_t DiagAValues[5], DiagBValues[5], MidColumnValues[5];

  ValueMask LinesMask, FreeMask;
  std::int32_t FreeMin, FreeMin2, FreeMax, FreeMax2;
  std::int32_t PairMin, PairMax, TripleLow, TripleHigh;

  std::int32_t MidColumnArrangement;

  std::int64_t CompletionRuns;  // arrangements handed to the completion (a statistic)
  std::int64_t PairedArrangements;  // arrangements the fast walk hands to its completion (a statistic)

  // Completion scratch.
  std::int32_t MiddlePairSum;
  std::int32_t MidRowIndex;
  ValueMask PlacedMask, RingMask;

  // Fast walk scratch, valid for the current triple: CornerReach[a][b] once bit b
  // of CornerReachKnown[a] is set (made when first asked).
  std::uint64_t CornerReach[64][64];
  std::uint64_t CornerReachKnown[64];
};

// Sets the center cell and rebuilds the tables for `center` (1..25).
inline void PrepareCenter(SearchState& s, std::int32_t center) {
  s.CenterValue = center;
  s.Cells[12] = center;
  PrepareLineTables(s.Tables, center);
}

}  // namespace ferolin
