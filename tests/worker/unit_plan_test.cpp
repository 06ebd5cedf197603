// The cutting of a DiagA stretch into units: the binding order, every triple in
// exactly one unit, the large DiagA values cut into pieces of about the cut
// size, the small ones whole.
#include "worker/unit_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/search.h"
#include "engine/triple_count.h"

namespace ferolin {
namespace {

struct PlanCase {
  std::int32_t center, first, last;  // 0: the table's own bound
  int threads;
};

// The admitted triples of a range, counted by the engine itself (no pass runs).
std::int64_t TriplesOf(SearchState& s, DiagARange range) {
  const std::atomic<std::int32_t> noPasses{0};
  return Search(s, range, noPasses, [](const SearchState&) {}, [] { return false; }).triples;
}

TEST(UnitPlan, UnitsFollowTheBindingOrderAndCutOnlyTheLargeDiagAValues) {
  const PlanCase cases[] = {
      {13, 291, 302, 2},  // the densest stretch of center 13
      {13, 291, 302, 8},
      {1, 0, 40, 3},      // empty and small DiagA values first
      {25, 60, 65, 2},
      {7, 100, 100, 2},   // one DiagA alone: cut as finely as its DiagB values allow
  };
  auto s = std::make_unique<SearchState>();
  auto counts = std::make_unique<TripleCounts>();
  for (const PlanCase& c : cases) {
    SCOPED_TRACE("center " + std::to_string(c.center) + " DiagA " + std::to_string(c.first) +
                 ".." + std::to_string(c.last) + " threads " + std::to_string(c.threads));
    PrepareCenter(*s, c.center);
    CountTriples(s->Tables, *counts);
    const std::int32_t first = std::max(c.first, s->Tables.FirstCenterLine);
    const std::int32_t last = c.last > 0 ? c.last : s->Tables.LastCenterLine;
    std::int64_t total = 0;
    for (std::int32_t a = first; a <= last; ++a) total += counts->perDiagA[a];
    EXPECT_EQ(CountRangeTriples(s->Tables, first, last), total);
    std::vector<SearchUnit> units;
    const std::int64_t cut = PlanUnits(s->Tables, first, last, c.threads, units);
    // The cut is the stretch's triples shared out UnitCutsPerThread ways per thread.
    const std::int64_t share = total / (c.threads * UnitCutsPerThread);
    EXPECT_GE(cut, share);
    EXPECT_LE(cut, share + 1);

    std::size_t k = 0, pieces = 0;
    for (std::int32_t a = first; a <= last; ++a) {
      ASSERT_LT(k, units.size());
      ASSERT_EQ(units[k].diagA, a);
      if (counts->perDiagA[a] <= cut) {
        // Whole, as one unit.
        EXPECT_EQ(units[k].diagBFirst, 0) << "DiagA " << a;
        EXPECT_EQ(units[k].diagBLast, 0) << "DiagA " << a;
        ++k;
        continue;
      }
      // Pieces: from the first DiagB on, each starting after the one before,
      // the last open to the end; every triple of the DiagA in one of them.
      const std::size_t begin = k;
      std::int64_t triples = 0;
      for (; k < units.size() && units[k].diagA == a; ++k) {
        const SearchUnit& u = units[k];
        EXPECT_EQ(u.diagBFirst == 0, k == begin) << "DiagA " << a << " piece " << k - begin;
        if (k > begin) {
          EXPECT_EQ(u.diagBFirst, units[k - 1].diagBLast + 1);
        }
        const bool lastPiece = k + 1 == units.size() || units[k + 1].diagA != a;
        EXPECT_EQ(u.diagBLast == 0, lastPiece) << "DiagA " << a << " piece " << k - begin;
        if (!lastPiece) {
          EXPECT_LE(std::max(u.diagBFirst, s->Tables.FirstCenterLine), u.diagBLast);
        }
        // No piece is empty, and none is much larger than the cut: at most the
        // cut plus its largest single DiagB value.
        const std::int64_t n = TriplesOf(*s, u.Range());
        std::int64_t largestB = 0;
        const std::int32_t bFirst = std::max(u.diagBFirst, s->Tables.FirstCenterLine);
        const std::int32_t bLast = u.diagBLast > 0 ? u.diagBLast : a - 1;
        for (std::int32_t b = bFirst; b <= bLast; ++b)
          largestB = std::max(largestB, TriplesOf(*s, {a, a, b, b}));
        EXPECT_GT(n, 0) << "DiagA " << a << " piece " << k - begin;
        EXPECT_LE(n, cut + largestB) << "DiagA " << a << " piece " << k - begin;
        triples += n;
        ++pieces;
      }
      EXPECT_GE(k - begin, 2u) << "DiagA " << a;
      EXPECT_EQ(triples, counts->perDiagA[a]) << "DiagA " << a;
    }
    EXPECT_EQ(k, units.size());
    EXPECT_GT(pieces, 0u);
  }
}

// The pieces of a whole center add at most about threads x UnitCutsPerThread
// units to the one per DiagA: handing them out stays cheap.
TEST(UnitPlan, WholeCenterHasAtMostOneUnitPerDiagAPlusTheCutShares) {
  auto t = std::make_unique<LineTables>();
  for (std::int32_t center : {1, 13, 25})
    for (int threads : {2, 8}) {
      PrepareLineTables(*t, center);
      std::vector<SearchUnit> units;
      PlanUnits(*t, t->FirstCenterLine, t->LastCenterLine, threads, units);
      const auto diagAValues = static_cast<std::size_t>(t->LastCenterLine - t->FirstCenterLine + 1);
      EXPECT_GE(units.size(), diagAValues) << "center " << center << " threads " << threads;
      EXPECT_LE(units.size(), diagAValues + threads * UnitCutsPerThread)
          << "center " << center << " threads " << threads;
    }
}

TEST(UnitPlan, EmptyRangeHasNoUnits) {
  auto t = std::make_unique<LineTables>();
  PrepareLineTables(*t, 13);
  std::vector<SearchUnit> units{{1, 0, 0}};
  PlanUnits(*t, 200, 199, 2, units);
  EXPECT_TRUE(units.empty());
}

}  // namespace
}  // namespace ferolin
