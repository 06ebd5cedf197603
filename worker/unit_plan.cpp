#include "worker/unit_plan.h"

#include <algorithm>

namespace ferolin {

namespace {

// The admitted triples of one DiagA and DiagB pair: the MidColumn values that
// share only the center with both.
std::int32_t PairTriples(const LineTables& t, ValueMask ma, ValueMask mb) {
  const ValueMask cb = t.CenterBit;
  std::int32_t n = 0;
  for (std::int32_t m = t.FirstCenterLine; m <= t.LastCenterLine; ++m) {
    const ValueMask mm = t.CenterLineMask[m];
    n += (ma & mm) == cb && (mb & mm) == cb;
  }
  return n;
}

}  // namespace

std::int64_t CountRangeTriples(const LineTables& t, std::int32_t firstDiagA,
                               std::int32_t lastDiagA) {
  std::int64_t total = 0;
  for (std::int32_t a = firstDiagA; a <= lastDiagA; ++a) {
    const ValueMask ma = t.CenterLineMask[a];
    for (std::int32_t b = t.FirstCenterLine; b < a; ++b) {
      const ValueMask mb = t.CenterLineMask[b];
      if ((ma & mb) == t.CenterBit) total += PairTriples(t, ma, mb);
    }
  }
  return total;
}

std::int64_t PlanUnits(const LineTables& t, std::int32_t firstDiagA, std::int32_t lastDiagA,
                       int threads, std::vector<SearchUnit>& units) {
  units.clear();
  if (firstDiagA > lastDiagA) return 0;
  const std::int32_t lines = t.LastCenterLine + 1;
  // triples[(a - firstDiagA) * lines + b]: the admitted triples of DiagA a and DiagB b.
  std::vector<std::int32_t> triples(static_cast<std::size_t>(lastDiagA - firstDiagA + 1) * lines);
  std::vector<std::int64_t> perDiagA(static_cast<std::size_t>(lastDiagA - firstDiagA + 1));
  std::int64_t total = 0;
  for (std::int32_t a = firstDiagA; a <= lastDiagA; ++a) {
    const ValueMask ma = t.CenterLineMask[a];
    std::int32_t* row = &triples[static_cast<std::size_t>(a - firstDiagA) * lines];
    for (std::int32_t b = t.FirstCenterLine; b < a; ++b) {
      const ValueMask mb = t.CenterLineMask[b];
      if ((ma & mb) != t.CenterBit) continue;
      row[b] = PairTriples(t, ma, mb);
      perDiagA[a - firstDiagA] += row[b];
    }
    total += perDiagA[a - firstDiagA];
  }

  const std::int64_t parts = std::int64_t{std::max(threads, 1)} * UnitCutsPerThread;
  const std::int64_t cut = std::max<std::int64_t>(1, (total + parts - 1) / parts);
  for (std::int32_t a = firstDiagA; a <= lastDiagA; ++a) {
    const std::int64_t count = perDiagA[a - firstDiagA];
    if (count <= cut) {
      units.push_back({a, 0, 0});
      continue;
    }
    // Piece k ends at the first DiagB where the triples so far reach
    // (k + 1) / pieces of the DiagA's; the last piece takes the rest.
    const std::int64_t pieces = (count + cut - 1) / cut;
    const std::int32_t* row = &triples[static_cast<std::size_t>(a - firstDiagA) * lines];
    std::int64_t done = 0, k = 0;
    std::int32_t start = 0;
    for (std::int32_t b = t.FirstCenterLine; b < a; ++b) {
      done += row[b];
      if (done < count && done * pieces >= (k + 1) * count) {
        units.push_back({a, start, b});
        start = b + 1;
        while (done * pieces >= (k + 1) * count) ++k;
      }
    }
    units.push_back({a, start, 0});
  }
  return cut;
}

}  // namespace ferolin
