// The per-center line tables: every 4-value completion of a line through the
// center (CenterLines), every ordered middle-row tuple (RowTuples), and the
// stretch of RowTuples for each inner pair sum (PairRange). Index 0 is never
// filled; an empty range is first = last = 0. The entry order is binding: it
// fixes the order in which squares are found.
#pragma once

#include <cstdint>

#include "engine/square_model.h"

namespace ferolin {

inline constexpr int CenterLinesCapacity = 302;
inline constexpr int RowTuplesCapacity = 7248;
inline constexpr int MaxPairSum = 49;

struct LineTables {
  std::int32_t CenterValue;
  ValueMask CenterBit;
  std::int32_t EntryCount;  // scratch of the build

  std::int32_t CenterLines[CenterLinesCapacity + 1][5];
  ValueMask CenterLineMask[CenterLinesCapacity + 1];
  std::int32_t FirstCenterLine;
  std::int32_t LastCenterLine;

  std::int32_t RowTuples[RowTuplesCapacity + 1][5];
  ValueMask RowTupleMask[RowTuplesCapacity + 1];
  std::int32_t PairRange[MaxPairSum + 1][2];  // [sum][0] = first, [sum][1] = last
};

// Rebuilds all three tables for `center` (1..25) over whatever an earlier
// center left. `t` must have been created zeroed.
void PrepareLineTables(LineTables& t, std::int32_t center);

}  // namespace ferolin
