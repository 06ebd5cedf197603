// The search of one center value, step for step as the algorithm is defined:
// the line-triple walk, the three arrangement schedules with their row tests,
// and the completion. It is the reference that fixes which squares are found
// and in what order.
//
// OnSquare is called as onSquare(const SearchState&) for every square, after
// FoundCount has been raised; all 25 Cells hold the square during the call.
// Poll is called as poll() once per admitted triple, before the triple is
// searched: the safe point. Returning true stops the search there.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/arrangement_schedules.h"
#include "engine/search_state.h"
#include "engine/search_types.h"

namespace ferolin {

namespace literal {

inline std::int32_t RowTriple(const std::int32_t* c, int row) {
  switch (row) {
    case 0: return c[0] + c[2] + c[4];
    case 1: return c[6] + c[7] + c[8];
    case 3: return c[16] + c[17] + c[18];
    default: return c[20] + c[22] + c[24];
  }
}

inline void Exchange(std::int32_t* c, const std::array<int, 4>& slots, SlotExchange x) {
  if (x.a < 0) return;
  const std::int32_t t = c[slots[x.a]];
  c[slots[x.a]] = c[slots[x.b]];
  c[slots[x.b]] = t;
}

inline void PlaceAscending(std::int32_t* c, const std::array<int, 4>& slots,
                           const std::int32_t* values) {
  for (int k = 0; k < 4; ++k) c[slots[k]] = values[k + 1];
}

template <class OnSquare>
inline void OuterColumnWalk(SearchState& s, OnSquare& onSquare) {
  std::int32_t* c = s.Cells;
  const std::int32_t lo = s.FreeMin, hi = s.FreeMax;
  const ValueMask ring = s.RingMask;
  auto free = [&](std::int32_t v) { return v >= lo && v <= hi && !((ring >> v) & 1u); };
  c[5] = hi;                                      // Cell(1,0)
  c[15] = MagicSum - c[0] - c[5] - c[10] - c[20];  // Cell(3,0), column 0
  c[9] = MagicSum - c[5] - c[6] - c[7] - c[8];     // Cell(1,4), row 1
  c[19] = MagicSum - c[4] - c[9] - c[14] - c[24];  // Cell(3,4), column 4
  while (c[5] >= lo) {
    if (!((ring >> c[5]) & 1u) && free(c[15]) && free(c[9]) && free(c[19]) &&
        c[15] != c[5] && c[5] != c[9] && c[5] != c[19] && c[15] != c[9] &&
        c[15] != c[19] && c[9] != c[19]) {
      ++s.FoundCount;
      onSquare(static_cast<const SearchState&>(s));
    }
    --c[5], ++c[15], ++c[9], --c[19];
  }
}

template <class OnSquare>
inline void OuterRowWalk(SearchState& s, OnSquare& onSquare) {
  std::int32_t* c = s.Cells;
  const std::int32_t lo = s.FreeMin, hi = s.FreeMax;
  const ValueMask placed = s.PlacedMask;
  auto free = [&](std::int32_t v) { return v >= lo && v <= hi && !((placed >> v) & 1u); };
  c[1] = lo;                                       // Cell(0,1)
  c[3] = MagicSum - c[0] - c[1] - c[2] - c[4];      // Cell(0,3), row 0
  c[21] = MagicSum - c[1] - c[6] - c[11] - c[16];  // Cell(4,1), column 1
  c[23] = MagicSum - c[20] - c[21] - c[22] - c[24];  // Cell(4,3), row 4
  while (c[1] <= hi) {
    if (!((placed >> c[1]) & 1u) && free(c[3]) && free(c[21]) && free(c[23]) &&
        c[3] != c[1] && c[1] != c[21] && c[1] != c[23] && c[3] != c[21] &&
        c[3] != c[23] && c[21] != c[23]) {
      s.RingMask = placed | Bit(c[1]) | Bit(c[3]) | Bit(c[21]) | Bit(c[23]);
      OuterColumnWalk(s, onSquare);
    }
    ++c[1], --c[3], --c[21], ++c[23];
  }
}

template <class OnSquare>
inline void Complete(SearchState& s, OnSquare& onSquare) {
  std::int32_t* c = s.Cells;
  const LineTables& t = s.Tables;
  ++s.CompletionRuns;
  s.MiddlePairSum = MagicSum + c[0] + c[4] + c[20] + c[24] - c[6] - c[7] - c[8] - c[12] -
                    c[16] - c[17] - c[18];
  if (s.MiddlePairSum < s.PairMin || s.MiddlePairSum > s.PairMax) return;
  const ValueMask cb = t.CenterBit;
  const ValueMask ma = t.CenterLineMask[s.DiagA], mb = t.CenterLineMask[s.DiagB],
                  mm = t.CenterLineMask[s.MidColumn];
  const std::int32_t last = t.PairRange[s.MiddlePairSum][1];
  for (s.MidRowIndex = t.PairRange[s.MiddlePairSum][0]; s.MidRowIndex <= last; ++s.MidRowIndex) {
    const ValueMask m = t.RowTupleMask[s.MidRowIndex];
    if ((m & ma) != cb || (m & mb) != cb || (m & mm) != cb) continue;
    const std::int32_t* x = t.RowTuples[s.MidRowIndex];
    c[11] = x[1], c[13] = x[2], c[10] = x[3], c[14] = x[4];
    s.PlacedMask = m | s.LinesMask;
    OuterRowWalk(s, onSquare);
  }
}

template <class OnSquare>
inline void Arrange(SearchState& s, const std::atomic<std::int32_t>& diagonalPasses,
                    OnSquare& onSquare) {
  std::int32_t* c = s.Cells;
  for (std::int32_t pa = 0; pa < diagonalPasses.load(std::memory_order_relaxed); ++pa) {
    Exchange(c, DiagASlotCells, DiagonalSchedule[pa]);
    PlaceAscending(c, DiagBSlotCells, s.DiagBValues);
    for (int pb = 0; pb < 12; ++pb) {
      Exchange(c, DiagBSlotCells, DiagonalSchedule[pb]);
      PlaceAscending(c, MidColumnSlotCells, s.MidColumnValues);
      for (s.MidColumnArrangement = 0; s.MidColumnArrangement < 24; ++s.MidColumnArrangement) {
        const MidColumnStep& step = MidColumnSchedule[s.MidColumnArrangement];
        Exchange(c, MidColumnSlotCells, step.exchange);
        bool pass = true;
        for (std::int8_t row : step.rows) {
          if (row < 0) break;
          const std::int32_t sum = RowTriple(c, row);
          if (sum < s.TripleLow || sum > s.TripleHigh) {
            pass = false;
            break;
          }
        }
        if (pass) Complete(s, onSquare);
      }
    }
  }
}

inline void TripleStep(SearchState& s) {
  const LineTables& t = s.Tables;
  for (int k = 1; k <= 4; ++k) s.MidColumnValues[k] = t.CenterLines[s.MidColumn][k];
  s.LinesMask = t.CenterLineMask[s.DiagA] | t.CenterLineMask[s.DiagB] | t.CenterLineMask[s.MidColumn];
  s.FreeMask = s.LinesMask ^ FullMask;
  s.FreeMin = s.FreeMax = s.FreeMin2 = s.FreeMax2 = 0;
  ValueMask scan = s.FreeMask;
  for (std::int32_t v = 1; v <= MaxValue; ++v) {
    scan >>= 1;
    if (!(scan & 1u)) continue;
    if (s.FreeMin == 0 && s.FreeMin2 == 0)
      s.FreeMin = v;
    else if (s.FreeMin != 0 && s.FreeMin2 == 0)
      s.FreeMin2 = v;
    s.FreeMax2 = s.FreeMax;
    s.FreeMax = v;
  }
  s.PairMin = s.FreeMin + s.FreeMin2;
  s.PairMax = s.FreeMax + s.FreeMax2;
  s.TripleLow = MagicSum - s.PairMax;
  s.TripleHigh = MagicSum - s.PairMin;
  PlaceAscending(s.Cells, DiagASlotCells, s.DiagAValues);
}

}  // namespace literal

// Searches the DiagA range of the prepared center value. FoundCount counts from 0.
template <class OnSquare, class Poll>
SearchOutcome LiteralSearch(SearchState& s, DiagARange range,
                            const std::atomic<std::int32_t>& diagonalPasses, OnSquare&& onSquare,
                            Poll&& poll) {
  const LineTables& t = s.Tables;
  const ValueMask cb = t.CenterBit;
  const std::int32_t first = range.first > 0 ? range.first : t.FirstCenterLine;
  const std::int32_t last = range.last > 0 ? range.last : t.LastCenterLine;
  SearchOutcome out;
  s.FoundCount = 0;
  for (s.DiagA = first; s.DiagA <= last; ++s.DiagA) {
    const ValueMask ma = t.CenterLineMask[s.DiagA];
    for (int k = 1; k <= 4; ++k) s.DiagAValues[k] = t.CenterLines[s.DiagA][k];
    for (s.DiagB = t.FirstCenterLine; s.DiagB < s.DiagA; ++s.DiagB) {
      const ValueMask mb = t.CenterLineMask[s.DiagB];
      if ((ma & mb) != cb) continue;
      for (int k = 1; k <= 4; ++k) s.DiagBValues[k] = t.CenterLines[s.DiagB][k];
      for (s.MidColumn = t.LastCenterLine; s.MidColumn >= t.FirstCenterLine; --s.MidColumn) {
        const ValueMask mm = t.CenterLineMask[s.MidColumn];
        if ((ma & mm) != cb || (mb & mm) != cb) continue;
        if (poll()) {
          out.stopped = true;
          out.diagA = s.DiagA, out.diagB = s.DiagB, out.midColumn = s.MidColumn;
          return out;
        }
        literal::TripleStep(s);
        literal::Arrange(s, diagonalPasses, onSquare);
        ++out.triples;
      }
    }
  }
  return out;
}

}  // namespace ferolin
