// The walk over line triples: which triples are admitted, in what order, and
// the free-value bounds of each.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "tests/reference/literal_search.h"
#include "engine/triple_count.h"

namespace ferolin {
namespace {

struct TripleSeen {
  std::int32_t diagA, diagB, midColumn;
  std::int32_t freeMin, freeMin2, freeMax2, freeMax, pairMin, pairMax, tripleLow, tripleHigh;
  ValueMask freeValues;
};

// Runs the search with zero passes, so each triple is walked and its bounds set
// but nothing is arranged; records the first `limit` triples.
std::vector<TripleSeen> FirstTriples(int center, std::size_t limit) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, center);
  std::atomic<std::int32_t> noPasses{0};
  std::vector<TripleSeen> seen;
  SearchState* st = s.get();
  LiteralSearch(*s, {}, noPasses, [](const SearchState&) {}, [&] {
    // The poll comes before each triple step: the bounds in the state are those
    // of the triple seen at the previous poll.
    if (!seen.empty()) {
      TripleSeen& p = seen.back();
      p.freeMin = st->FreeMin, p.freeMin2 = st->FreeMin2;
      p.freeMax2 = st->FreeMax2, p.freeMax = st->FreeMax;
      p.pairMin = st->PairMin, p.pairMax = st->PairMax;
      p.tripleLow = st->TripleLow, p.tripleHigh = st->TripleHigh;
      p.freeValues = st->LinesMask ^ FullMask;
    }
    if (seen.size() == limit) return true;
    seen.push_back({st->DiagA, st->DiagB, st->MidColumn, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    return false;
  });
  return seen;
}

ValueMask Values(std::initializer_list<int> vs) {
  ValueMask m = 0;
  for (int v : vs) m |= Bit(v);
  return m;
}

TEST(TripleWalk, AdmittedPairsAndTriplesForEveryCenter) {
  // Indexed by min(c, 26 - c).
  const std::int64_t pairs[14] = {0,     12043, 13155, 14634, 15459, 16646, 17373,
                                  18323, 18620, 19437, 19563, 20367, 20420, 21185};
  const std::int64_t triples[14] = {0,      349572, 424932, 527124,  597600,  694095,  765432,
                                    852183, 892650, 971253, 995523, 1072632, 1082940, 1153392};
  auto t = std::make_unique<LineTables>();
  auto counts = std::make_unique<TripleCounts>();
  for (int c = 1; c <= 25; ++c) {
    PrepareLineTables(*t, c);
    CountTriples(*t, *counts);
    const int k = std::min(c, 26 - c);
    EXPECT_EQ(counts->diagonalPairs, pairs[k]) << c;
    EXPECT_EQ(counts->total, triples[k]) << c;
    EXPECT_EQ(counts->perDiagA[1], 0) << c;  // nothing lies below entry 1
  }
}

TEST(TripleWalk, WalkVisitsAsManyTriplesAsCounted) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, 25);
  std::atomic<std::int32_t> noPasses{0};
  std::int64_t polls = 0;
  SearchOutcome out = LiteralSearch(*s, {}, noPasses, [](const SearchState&) {},
                                    [&] { return ++polls, false; });
  EXPECT_FALSE(out.stopped);
  EXPECT_EQ(out.triples, 349572);
  EXPECT_EQ(polls, 349572);
}

TEST(TripleWalk, FirstTriplesAndTheirBounds) {
  {
    auto seen = FirstTriples(13, 3);
    ASSERT_EQ(seen.size(), 3u);
    const TripleSeen& f = seen[0];
    EXPECT_EQ(f.diagA, 44);
    EXPECT_EQ(f.diagB, 4);
    EXPECT_EQ(f.midColumn, 302);
    EXPECT_EQ(f.freeValues, Values({5, 6, 7, 8, 9, 10, 16, 17, 18, 19, 20, 21}));
    EXPECT_EQ((std::array{f.freeMin, f.freeMin2, f.freeMax2, f.freeMax}),
              (std::array{5, 6, 20, 21}));
    EXPECT_EQ((std::array{f.pairMin, f.pairMax, f.tripleLow, f.tripleHigh}),
              (std::array{11, 41, 24, 54}));
    EXPECT_EQ(seen[1].midColumn, 301);
    EXPECT_EQ(seen[2].midColumn, 300);
    EXPECT_EQ(seen[2].diagB, 4);
  }
  {
    auto seen = FirstTriples(1, 3);
    const TripleSeen& f = seen[0];
    EXPECT_EQ((std::array{f.diagA, f.diagB, f.midColumn}), (std::array{15, 9, 243}));
    EXPECT_EQ(f.freeValues, Values({4, 5, 6, 7, 8, 9, 10, 11, 13, 18, 20, 21}));
    EXPECT_EQ((std::array{f.freeMin, f.freeMin2, f.freeMax2, f.freeMax}),
              (std::array{4, 5, 20, 21}));
    EXPECT_EQ((std::array{f.pairMin, f.pairMax, f.tripleLow, f.tripleHigh}),
              (std::array{9, 41, 24, 56}));
    EXPECT_EQ(seen[1].midColumn, 240);
    EXPECT_EQ(seen[2].midColumn, 239);
  }
  {
    auto seen = FirstTriples(25, 1);
    const TripleSeen& f = seen[0];
    EXPECT_EQ((std::array{f.diagA, f.diagB, f.midColumn}), (std::array{62, 14, 243}));
    EXPECT_EQ(f.freeValues, Values({5, 6, 7, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
    EXPECT_EQ((std::array{f.pairMin, f.pairMax, f.tripleLow, f.tripleHigh}),
              (std::array{11, 43, 22, 54}));
  }
}

}  // namespace
}  // namespace ferolin
