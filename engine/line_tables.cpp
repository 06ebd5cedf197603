#include "engine/line_tables.h"

namespace ferolin {

namespace {

// Appends `index` to a (first, last) pair: the first index goes to first,
// every later one to last.
void Extend(std::int32_t& first, std::int32_t& last, std::int32_t index) {
  if (first == 0)
    first = index;
  else
    last = index;
}

void BuildCenterLines(LineTables& t) {
  const std::int32_t c = t.CenterValue;
  t.EntryCount = 0;
  // Ascending w1 < w2 < w3 < w4 in lexicographic order; the same entries as the
  // 25^4 scan with its tests, without examining the impossible combinations.
  for (std::int32_t w1 = 1; w1 <= MaxValue; ++w1) {
    if (w1 == c) continue;
    for (std::int32_t w2 = w1 + 1; w2 <= MaxValue; ++w2) {
      if (w2 == c) continue;
      for (std::int32_t w3 = w2 + 1; w3 <= MaxValue; ++w3) {
        if (w3 == c) continue;
        const std::int32_t w4 = MagicSum - c - w1 - w2 - w3;
        if (w4 <= w3 || w4 > MaxValue || w4 == c) continue;
        const std::int32_t n = ++t.EntryCount;
        std::int32_t* e = t.CenterLines[n];
        e[0] = c, e[1] = w1, e[2] = w2, e[3] = w3, e[4] = w4;
        Extend(t.FirstCenterLine, t.LastCenterLine, n);
        t.CenterLineMask[n] = Bit(w1) | Bit(c) | Bit(w2) | Bit(w3) | Bit(w4);
      }
    }
  }
}

void BuildRowTuples(LineTables& t) {
  const std::int32_t c = t.CenterValue;
  t.EntryCount = 0;
  // Grouped by pair sum e = x1 + x2, each group in lexicographic order of
  // (x1, x2, x3, x4): x2 and x4 follow from e and from the line sum.
  for (std::int32_t e = 3; e <= MaxPairSum; ++e) {
    for (std::int32_t x1 = 1; x1 <= MaxValue; ++x1) {
      const std::int32_t x2 = e - x1;
      if (x2 < 1 || x2 > MaxValue) continue;
      if (x1 == c || x2 == c || x1 == x2) continue;
      for (std::int32_t x3 = 1; x3 <= MaxValue; ++x3) {
        const std::int32_t x4 = MagicSum - c - e - x3;
        if (x4 < 1 || x4 > MaxValue) continue;
        if (x3 == c || x4 == c) continue;
        if (x1 == x3 || x1 == x4 || x2 == x3 || x2 == x4 || x3 == x4) continue;
        const std::int32_t n = ++t.EntryCount;
        std::int32_t* r = t.RowTuples[n];
        r[0] = c, r[1] = x1, r[2] = x2, r[3] = x3, r[4] = x4;
        Extend(t.PairRange[e][0], t.PairRange[e][1], n);
        t.RowTupleMask[n] = Bit(x1) | Bit(c) | Bit(x2) | Bit(x3) | Bit(x4);
      }
    }
  }
}

}  // namespace

void PrepareLineTables(LineTables& t, std::int32_t center) {
  t.CenterValue = center;
  t.CenterBit = Bit(center);
  t.FirstCenterLine = 0;
  t.LastCenterLine = 0;
  for (int i = 1; i <= CenterLinesCapacity; ++i) t.CenterLineMask[i] = 0;
  BuildCenterLines(t);
  for (auto& range : t.PairRange) range[0] = range[1] = 0;
  for (int i = 1; i <= RowTuplesCapacity; ++i) t.RowTupleMask[i] = 0;
  BuildRowTuples(t);
}

}  // namespace ferolin
