// The search of one center value, finding exactly the squares of the literal
// walk in exactly its order, without visiting the arrangements that cannot
// yield a square.
//
// Every square of a placement of the three lines is a split of the 12 free
// values into six pairs with known sums: the free pairs of rows 0, 1, 3 and 4,
// the pair beside the center and the outer pair of the middle row. So:
// - per triple, one 64-bit table says for every (DiagA value, DiagB value,
//   MidColumn value) that can share a row whether the row's free pair sum is
//   the sum of two distinct free values; per DiagA and DiagB arrangement four
//   lookups give the MidColumn arrangements whose rows all pass, and six tests
//   those whose middle pair sums pass, in schedule order, without a branch;
// - an arrangement goes on only when every free value pairs with another to
//   one of its six sums;
// - its middle-row values are cut by a sum test of the block of four cells
//   each goes with, then the blocks are solved exactly: Cell(0,1) ascending,
//   Cell(1,0) descending, as candidate sets made with a few ANDs of shifted
//   and reflected free-value masks.
// All tests only drop placements that cannot yield a square, and the squares
// come out in the literal order: triple, DiagA, DiagB and MidColumn
// arrangement, middle-row tuple, Cell(0,1), Cell(1,0).
//
// Same contract as the literal walk: FoundCount counts from 0; onSquare(const
// SearchState&) is called after FoundCount is raised, with all 25 Cells holding
// the square; poll() is called once per admitted triple before it is searched;
// the pass count is read at every test of the pass loop (at most 12 passes).
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/fast_arrangements.h"
#include "engine/search_state.h"
#include "engine/search_types.h"

namespace ferolin {

namespace fast {

using WideMask = std::uint64_t;  // bit k for sum k (0..63), or a reversed value set

// A value set held reversed: bit 63 - v for value v.
constexpr WideMask ReversedBit(std::int32_t v) { return WideMask{1} << (63 - v); }

// The values c for which k - c lies in the set held reversed in `reversed`
// (0 <= k <= 63). Bits outside 1..25 are noise; callers AND with a value set.
inline ValueMask Reflect(WideMask reversed, std::int32_t k) {
  return static_cast<ValueMask>(reversed >> (63 - k));
}

// The values c for which c + d lies in `set` (no branch: d is clamped to
// [-32, 31], beyond which nothing of a value set survives).
inline ValueMask Shift(ValueMask set, std::int32_t d) {
  d = d < -32 ? -32 : (d > 31 ? 31 : d);
  return static_cast<ValueMask>((WideMask{set} << 32) >> (32 + d));
}

// The value k / 2 when it is whole, for -128 <= k <= 127: a value that would
// pair with itself to make k. A table: the tests ask for it often.
struct HalfTable {
  ValueMask bits[256];
  constexpr HalfTable() : bits{} {
    for (int k = 2; k <= 62; k += 2) bits[k + 128] = ValueMask{1} << (k / 2);
  }
};
inline constexpr HalfTable Halves;

inline ValueMask Half(std::int32_t k) { return Halves.bits[(k + 128) & 255]; }

// ReversedBit(v) for a value v (1..25), zero for any other -128 <= v <= 127.
struct ReversedValueTable {
  WideMask bits[256];
  constexpr ReversedValueTable() : bits{} {
    for (int v = 1; v <= MaxValue; ++v) bits[v + 128] = ReversedBit(v);
  }
};
inline constexpr ReversedValueTable ReversedValues;

inline WideMask ReversedValue(std::int32_t v) { return ReversedValues.bits[(v + 128) & 255]; }

inline constexpr std::int32_t MiddleOkOffset = 100;

// What the completion of every arrangement of one triple shares.
struct TripleFacts {
  ValueMask free;  // the 12 values on no line
  WideMask reversedFree;
  WideMask pairSums;  // sums of two distinct free values
  WideMask middleOk;  // pair sums P beside the center whose outer pair sum is one too
  // All ones at MiddleOkOffset + P for the P of middleOk, zero elsewhere: the
  // middle pair sums a diagonal placement gives run from about -90 to 140, and
  // a table over them needs no range test.
  std::uint32_t middleOkAt[256];
  // Bit 16i + 4j + k: DiagA value i, DiagB value j and MidColumn value k in one
  // row leave a pair sum.
  WideMask rowOk;
  ValueMask pairing[64];          // the free values that pair with another free value to make k
  WideMask reversedPairing[64];   // the same sets held reversed
  ValueMask rowPairing[64];       // by the index of rowOk: pairing of the row's free pair sum
  std::int32_t a[4], b[4], m[4];  // values 1..4 of DiagA, DiagB, MidColumn
  std::int32_t endSums[6];        // m[i] + m[j] for each pair of EndPairs
  std::int32_t endsOf[24];        // Cell(0,2) + Cell(4,2) in MidColumn arrangement k
};

inline void DescribeTriple(const SearchState& s, TripleFacts& f) {
  const LineTables& t = s.Tables;
  const ValueMask lines =
      t.CenterLineMask[s.DiagA] | t.CenterLineMask[s.DiagB] | t.CenterLineMask[s.MidColumn];
  f.free = lines ^ FullMask;
  f.reversedFree = 0;
  f.pairSums = 0;
  for (ValueMask rest = f.free; rest; rest &= rest - 1) {
    const std::int32_t v = __builtin_ctz(rest);
    f.reversedFree |= ReversedBit(v);
    f.pairSums |= WideMask{f.free & ~Bit(v)} << v;
  }
  const std::int32_t outerAndInner = MagicSum - s.CenterValue;
  for (std::int32_t k = 0; k < 64; ++k) {
    f.pairing[k] = f.free & Reflect(f.reversedFree, k) & ~Half(k);
    f.reversedPairing[k] =
        f.reversedFree & (WideMask{f.free} << (63 - k)) & ~((k & 1) == 0 ? ReversedBit(k >> 1) : 0);
  }
  f.middleOk = 0;
  for (WideMask rest = f.pairSums; rest; rest &= rest - 1) {
    const std::int32_t p = __builtin_ctzll(rest);
    const std::int32_t q = outerAndInner - p;
    if (q >= 0 && q < 64 && ((f.pairSums >> q) & 1)) f.middleOk |= WideMask{1} << p;
  }
  for (std::int32_t p = 0; p < 64; ++p) {
    f.middleOkAt[MiddleOkOffset + p] = -static_cast<std::uint32_t>((f.middleOk >> p) & 1);
  }
  for (int k = 0; k < 4; ++k) {
    f.a[k] = t.CenterLines[s.DiagA][k + 1];
    f.b[k] = t.CenterLines[s.DiagB][k + 1];
    f.m[k] = t.CenterLines[s.MidColumn][k + 1];
  }
  for (int k = 0; k < 24; ++k)
    f.endsOf[k] = f.m[Unrolled.MidColumn[k][0]] + f.m[Unrolled.MidColumn[k][3]];
  for (int p = 0; p < 6; ++p) f.endSums[p] = f.m[EndPairs[p][0]] + f.m[EndPairs[p][1]];
  f.rowOk = 0;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 4; ++k) {
        const std::int32_t r = MagicSum - f.a[i] - f.b[j] - f.m[k];
        const bool ok = r >= 0 && r < 64 && ((f.pairSums >> r) & 1);
        f.rowOk |= WideMask{ok} << (16 * i + 4 * j + k);
        f.rowPairing[16 * i + 4 * j + k] = ok ? f.pairing[r] : 0;
      }
}

// Corner values c of a block of four cells within `set` (reversed in
// `reversed`), the four distinct: c + (rowA - c) = rowA along one row,
// (pair - c) + (rowB - pair + c) = rowB along the other, c + (pair - c) = pair
// down one column. For the upper block c = Cell(0,1), rows 0 and 4, column 1;
// for the side block c = Cell(1,0), rows 1 and 3, column 0.
inline ValueMask CornerCandidates(ValueMask set, WideMask reversed, std::int32_t rowA,
                                  std::int32_t rowB, std::int32_t pair) {
  const std::int32_t d = rowB - pair;
  if (d == 0 || rowA == pair) return 0;
  const ValueMask cand = set & Reflect(reversed, rowA) & Reflect(reversed, pair) & Shift(set, d);
  return cand & ~(Half(rowA) | Half(pair) | Half(rowA - d) | Half(pair - d));
}

// A first cut on the middle-row value x that a block goes with (x1 for the
// upper block, x3 for the side block): x needs a corner c pairing to rowA and,
// with u = x + c, a far cell v = column - u pairing to rowB, the four corner
// cells distinct; blind to x meeting them. The exact walk that follows decides.
// The sums v + c that qualify depend on the two row sums only, so they are made
// once per triple (held reversed: bit 63 - (v + c)); column shifts them into x.
// rowA and rowB are pair sums of free values (3..49), inside the table.
inline ValueMask ReachableByCorner(SearchState& s, const TripleFacts& f, std::int32_t rowA,
                                   std::int32_t rowB, std::int32_t column) {
  WideMask& reach = s.CornerReach[rowA][rowB];
  if (!((s.CornerReachKnown[rowA] >> rowB) & 1)) {
    s.CornerReachKnown[rowA] |= WideMask{1} << rowB;
    const WideMask sums = f.reversedPairing[rowB];
    reach = 0;
    // The four corner cells distinct: v != c, v != rowA - c (v + c != rowA),
    // rowB - v != c (v + c != rowB) and rowB - v != rowA - c.
    for (ValueMask corners = f.pairing[rowA]; corners; corners &= corners - 1) {
      const std::int32_t c = __builtin_ctz(corners);
      reach |= ((sums & ~ReversedValue(rowB - rowA + c)) >> c) & ~ReversedBit(2 * c);
    }
    reach &= ~(ReversedBit(rowA) | ReversedBit(rowB));
    // The conditions read the same with (c, rowA) and (v, rowB) exchanged.
    s.CornerReach[rowB][rowA] = reach;
    s.CornerReachKnown[rowB] |= WideMask{1} << rowA;
  }
  return static_cast<ValueMask>(reach >> (63 - column));
}

// The middle row (x1 ascending, then x3 ascending), then rows 0 and 4 with
// columns 1 and 3 (Cell(0,1) ascending), then columns 0 and 4 with rows 1 and 3
// (Cell(1,0) descending), for one arrangement of the three lines whose middle
// pair sum is `inner`. The upper block goes with x1 and x2, the side block with
// x3 and x4; a square is an upper and a side half that share no value.
template <class OnSquare>
inline void CompleteArrangement(SearchState& s, const TripleFacts& f, std::int32_t inner,
                                OnSquare& onSquare) {
  std::int32_t* c = s.Cells;
  const std::int32_t outer = MagicSum - s.CenterValue - inner;
  const std::int32_t row0 = MagicSum - c[0] - c[2] - c[4];
  const std::int32_t row4 = MagicSum - c[20] - c[22] - c[24];
  const std::int32_t column1 = MagicSum - c[6] - c[16];
  ValueMask firsts = f.pairing[inner] & ReachableByCorner(s, f, row0, row4, column1);
  if (!firsts) return;
  const std::int32_t row1 = MagicSum - c[6] - c[7] - c[8];
  const std::int32_t row3 = MagicSum - c[16] - c[17] - c[18];
  const std::int32_t column0 = MagicSum - c[0] - c[20];
  const ValueMask thirds = f.pairing[outer] & ReachableByCorner(s, f, row1, row3, column0);
  if (!thirds) return;
  // Side corners for each x3, among the values x3 and x4 leave; made when first needed.
  ValueMask sideCorners[MaxValue + 1];
  ValueMask sideKnown = 0;
  while (firsts) {
    const std::int32_t x1 = __builtin_ctz(firsts);
    firsts &= firsts - 1;
    const std::int32_t x2 = inner - x1;
    const std::int32_t pair1 = column1 - x1;  // Cell(0,1) + Cell(4,1)
    const ValueMask inners = Bit(x1) | Bit(x2);
    const ValueMask free1 = f.free & ~inners;
    ValueMask corners = CornerCandidates(
        free1, f.reversedFree & ~(ReversedBit(x1) | ReversedBit(x2)), row0, row4, pair1);
    if (!corners) continue;
    ValueMask uppers[12];  // the six values of each upper half, by Cell(0,1) ascending
    std::int32_t upperCorner[12];
    std::int32_t upperCount = 0;
    ValueMask upperMeet = ~ValueMask{0};  // values every upper half holds
    WideMask reversedMeet = ~WideMask{0};  // the same held reversed
    for (; corners; corners &= corners - 1) {
      const std::int32_t c1 = __builtin_ctz(corners), c21 = pair1 - c1;
      uppers[upperCount] = inners | Bit(c1) | Bit(row0 - c1) | Bit(c21) | Bit(row4 - c21);
      upperMeet &= uppers[upperCount];
      reversedMeet &= ReversedBit(c1) | ReversedBit(row0 - c1) | ReversedBit(c21) |
                      ReversedBit(row4 - c21);
      upperCorner[upperCount++] = c1;
    }
    reversedMeet |= ReversedBit(x1) | ReversedBit(x2);
    c[11] = x1, c[13] = x2;
    // x3 and x4 = outer - x3 both outside every upper half (x4 by reflection).
    for (ValueMask rest3 = thirds & free1 & ~upperMeet & ~Reflect(reversedMeet, outer); rest3;
         rest3 &= rest3 - 1) {
      const std::int32_t x3 = __builtin_ctz(rest3);
      const std::int32_t x4 = outer - x3;
      const ValueMask outers = Bit(x3) | Bit(x4);
      const std::int32_t pair0 = column0 - x3;  // Cell(1,0) + Cell(3,0)
      if (!((sideKnown >> x3) & 1)) {
        sideKnown |= Bit(x3);
        sideCorners[x3] = CornerCandidates(f.free & ~outers,
                                           f.reversedFree & ~(ReversedBit(x3) | ReversedBit(x4)),
                                           row1, row3, pair0);
      }
      const ValueMask sideSet = sideCorners[x3] & free1;
      if (!sideSet) continue;
      c[10] = x3, c[14] = x4;
      for (std::int32_t u = 0; u < upperCount; ++u) {
        const ValueMask upper = uppers[u];
        if (upper & outers) continue;
        const std::int32_t c1 = upperCorner[u], c21 = pair1 - c1;
        bool placed = false;
        for (ValueMask side = sideSet & ~upper; side;) {
          const std::int32_t c5 = 31 - __builtin_clz(side);
          side ^= Bit(c5);
          const std::int32_t c9 = row1 - c5, c15 = pair0 - c5, c19 = row3 - c15;
          if ((Bit(c9) | Bit(c15) | Bit(c19)) & (upper | inners)) continue;
          if (!placed) {
            c[1] = c1, c[3] = row0 - c1, c[21] = c21, c[23] = row4 - c21;
            placed = true;
          }
          c[5] = c5, c[9] = c9, c[15] = c15, c[19] = c19;
          ++s.FoundCount;
          onSquare(static_cast<const SearchState&>(s));
        }
      }
    }
  }
}

template <class OnSquare>
inline void SearchTriple(SearchState& s, const TripleFacts& f,
                         const std::atomic<std::int32_t>& diagonalPasses, OnSquare& onSquare) {
  std::int32_t* c = s.Cells;
  // What the DiagB arrangements add to the middle pair sum, Cell(0,4) + Cell(4,0)
  // - Cell(1,3) - Cell(3,1).
  std::int32_t innerOfB[12];
  for (int pb = 0; pb < 12; ++pb) {
    const std::int8_t* bl = Unrolled.Diagonal[pb];
    innerOfB[pb] = f.b[bl[0]] + f.b[bl[3]] - f.b[bl[1]] - f.b[bl[2]];
  }
  for (std::int32_t pa = 0; pa < diagonalPasses.load(std::memory_order_relaxed) && pa < 12; ++pa) {
    const std::int8_t* al = Unrolled.Diagonal[pa];
    c[0] = f.a[al[0]], c[6] = f.a[al[1]], c[18] = f.a[al[2]], c[24] = f.a[al[3]];
    const std::uint32_t rows0 = static_cast<std::uint32_t>(f.rowOk >> (16 * al[0])) & 0xFFFF;
    const std::uint32_t rows1 = static_cast<std::uint32_t>(f.rowOk >> (16 * al[1])) & 0xFFFF;
    const std::uint32_t rows3 = static_cast<std::uint32_t>(f.rowOk >> (16 * al[2])) & 0xFFFF;
    const std::uint32_t rows4 = static_cast<std::uint32_t>(f.rowOk >> (16 * al[3])) & 0xFFFF;
    const std::int32_t innerOfA = c[0] + c[24] - c[6] - c[18];
    // The MidColumn arrangements worth completing for every DiagB arrangement,
    // found without a branch; then only the DiagB arrangements with some.
    std::uint32_t stepsOf[12];
    std::uint32_t live = 0;
    for (int pb = 0; pb < 12; ++pb) {
      const std::int8_t* bl = Unrolled.Diagonal[pb];
      const std::uint32_t rowSteps = Unrolled.MidColumnWith[0][(rows0 >> (4 * bl[0])) & 15] &
                                     Unrolled.MidColumnWith[1][(rows1 >> (4 * bl[1])) & 15] &
                                     Unrolled.MidColumnWith[2][(rows3 >> (4 * bl[2])) & 15] &
                                     Unrolled.MidColumnWith[3][(rows4 >> (4 * bl[3])) & 15];
      // The middle pair sum is innerBase + Cell(0,2) + Cell(4,2), since the
      // MidColumn values add up to MagicSum - center.
      const std::int32_t innerBase = innerOfA + innerOfB[pb];
      std::uint32_t ends = 0;
      for (int p = 0; p < 6; ++p) {
        ends |= Unrolled.MidColumnEnds[p] & f.middleOkAt[MiddleOkOffset + innerBase + f.endSums[p]];
      }
      stepsOf[pb] = rowSteps & ends;
      live |= static_cast<std::uint32_t>(stepsOf[pb] != 0) << pb;
    }
    while (live) {
      const int pb = __builtin_ctz(live);
      live &= live - 1;
      const std::int8_t* bl = Unrolled.Diagonal[pb];
      c[4] = f.b[bl[0]], c[8] = f.b[bl[1]], c[16] = f.b[bl[2]], c[20] = f.b[bl[3]];
      const std::int32_t innerBase = innerOfA + innerOfB[pb];
      // Each free value must pair with another to one of the six sums; the
      // arrangements that fail are dropped before any is completed.
      const int row0 = 16 * al[0] + 4 * bl[0], row1 = 16 * al[1] + 4 * bl[1];
      const int row3 = 16 * al[2] + 4 * bl[2], row4 = 16 * al[3] + 4 * bl[3];
      const std::int32_t outerBase = MagicSum - s.CenterValue - innerBase;
      std::uint32_t covered = 0;
      for (std::uint32_t steps = stepsOf[pb]; steps; steps &= steps - 1) {
        const int k = __builtin_ctz(steps);
        const std::int8_t* ml = Unrolled.MidColumn[k];
        const std::int32_t ends = f.endsOf[k];
        const ValueMask paired = f.rowPairing[row0 + ml[0]] | f.rowPairing[row1 + ml[1]] |
                                 f.rowPairing[row3 + ml[2]] | f.rowPairing[row4 + ml[3]] |
                                 f.pairing[innerBase + ends] | f.pairing[outerBase - ends];
        covered |= static_cast<std::uint32_t>(paired == f.free) << k;
      }
      for (; covered; covered &= covered - 1) {
        const int k = __builtin_ctz(covered);
        const std::int8_t* ml = Unrolled.MidColumn[k];
        const std::int32_t inner = innerBase + f.endsOf[k];
        c[2] = f.m[ml[0]], c[7] = f.m[ml[1]], c[17] = f.m[ml[2]], c[22] = f.m[ml[3]];
        ++s.PairedArrangements;
        CompleteArrangement(s, f, inner, onSquare);
      }
    }
  }
}

}  // namespace fast

// Searches the DiagA range of the prepared center value (and, within each DiagA,
// its DiagB bounds); the same triples in the same order as the literal walk.
template <class OnSquare, class Poll>
SearchOutcome FastSearch(SearchState& s, DiagARange range,
                         const std::atomic<std::int32_t>& diagonalPasses, OnSquare&& onSquare,
                         Poll&& poll) {
  const LineTables& t = s.Tables;
  const ValueMask cb = t.CenterBit;
  const std::int32_t first = range.first > 0 ? range.first : t.FirstCenterLine;
  const std::int32_t last = range.last > 0 ? range.last : t.LastCenterLine;
  SearchOutcome out;
  fast::TripleFacts facts{};  // middleOkAt is zero outside the stretch each triple fills
  s.FoundCount = 0;
  const std::int32_t firstB =
      range.diagBFirst > t.FirstCenterLine ? range.diagBFirst : t.FirstCenterLine;
  for (s.DiagA = first; s.DiagA <= last; ++s.DiagA) {
    const ValueMask ma = t.CenterLineMask[s.DiagA];
    const std::int32_t lastB =
        range.diagBLast > 0 && range.diagBLast < s.DiagA ? range.diagBLast : s.DiagA - 1;
    for (s.DiagB = firstB; s.DiagB <= lastB; ++s.DiagB) {
      const ValueMask mb = t.CenterLineMask[s.DiagB];
      if ((ma & mb) != cb) continue;
      for (s.MidColumn = t.LastCenterLine; s.MidColumn >= t.FirstCenterLine; --s.MidColumn) {
        const ValueMask mm = t.CenterLineMask[s.MidColumn];
        if ((ma & mm) != cb || (mb & mm) != cb) continue;
        if (poll()) {
          out.stopped = true;
          out.diagA = s.DiagA, out.diagB = s.DiagB, out.midColumn = s.MidColumn;
          return out;
        }
        fast::DescribeTriple(s, facts);
        for (std::uint64_t& known : s.CornerReachKnown) known = 0;
        fast::SearchTriple(s, facts, diagonalPasses, onSquare);
        ++out.triples;
      }
    }
  }
  return out;
}

}  // namespace ferolin
