// The arrangement schedules and the completion, on the worked examples, and an
// independent check of every square a slice of a real run reports.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <set>
#include <vector>

#include "tests/reference/literal_search.h"
#include "square_checker.h"

namespace ferolin {
namespace {

std::unique_ptr<SearchState> Prepared(int center) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, center);
  return s;
}

int FindLine(const LineTables& t, std::array<int, 4> values) {
  for (int i = t.FirstCenterLine; i <= t.LastCenterLine; ++i)
    if (std::array{t.CenterLines[i][1], t.CenterLines[i][2], t.CenterLines[i][3],
                   t.CenterLines[i][4]} == values)
      return i;
  return 0;
}

checker::Grid GridOf(const SearchState& s) {
  checker::Grid g;
  for (int i = 0; i < 25; ++i) g[i] = s.Cells[i];
  return g;
}

TEST(Arrangements, CompletionRunsOfTheFirstTripleOfCenter13) {
  for (auto [passes, runs] : {std::pair{12, 752}, std::pair{3, 138}}) {
    auto s = Prepared(13);
    std::atomic<std::int32_t> p{passes};
    int polls = 0;
    SearchOutcome out = LiteralSearch(*s, {44, 44}, p, [](const SearchState&) {},
                                      [&] { return ++polls > 1; });
    EXPECT_TRUE(out.stopped);
    EXPECT_EQ(out.triples, 1);
    EXPECT_EQ((std::array{out.diagA, out.diagB, out.midColumn}), (std::array{44, 4, 301}));
    EXPECT_EQ(s->CompletionRuns, runs) << "passes " << passes;
  }
}

TEST(Arrangements, LinesEndInTheirLastArrangements) {
  for (auto [passes, diagA] : {std::pair{12, std::array{3, 2, 22, 25}},
                               std::pair{3, std::array{2, 22, 25, 3}}}) {
    auto s = Prepared(13);
    std::atomic<std::int32_t> p{passes};
    int polls = 0;
    LiteralSearch(*s, {44, 44}, p, [](const SearchState&) {}, [&] { return ++polls > 1; });
    const std::int32_t* c = s->Cells;
    EXPECT_EQ((std::array{c[0], c[6], c[18], c[24]}), diagA);
    EXPECT_EQ((std::array{c[4], c[8], c[16], c[20]}), (std::array{4, 1, 23, 24}));
    EXPECT_EQ((std::array{c[2], c[7], c[17], c[22]}), (std::array{14, 15, 12, 11}));
  }
}

TEST(Completion, WorkedPlacementOfCenter13FindsFiveSquaresInOrder) {
  auto s = Prepared(13);
  const LineTables& t = s->Tables;
  const int a = FindLine(t, {11, 12, 14, 15}), b = FindLine(t, {3, 8, 18, 23});
  ASSERT_GT(b, 0);
  ASSERT_LT(b, a);
  const std::array<int, 12> placement = {11, 12, 14, 15, 3, 8, 18, 23, 7, 25, 1, 19};
  struct Found {
    int count;
    checker::Grid grid;
  };
  std::vector<Found> found;
  std::atomic<std::int32_t> onePass{1};  // the placement lies in pass 0
  const SearchState* st = s.get();
  LiteralSearch(
      *s, {a, a}, onePass,
      [&](const SearchState& x) {
        const std::int32_t* c = x.Cells;
        if (std::array{c[0], c[6], c[18], c[24], c[4], c[8], c[16], c[20], c[2], c[7], c[17],
                       c[22]} == placement)
          found.push_back({x.FoundCount, GridOf(x)});
      },
      [&] { return st->DiagB > b; });
  ASSERT_EQ(found.size(), 5u);
  // (x1, x2, x3, x4), Cell(0,1), Cell(0,3), Cell(4,1), Cell(4,3), Cell(1,0), Cell(3,0), Cell(1,4), Cell(3,4)
  const std::array<std::array<int, 12>, 5> expected = {{
      {5, 21, 17, 9, 24, 20, 6, 2, 4, 10, 16, 22},
      {9, 17, 5, 21, 20, 24, 6, 2, 16, 10, 4, 22},
      {9, 17, 5, 21, 20, 24, 6, 2, 4, 22, 16, 10},
      {9, 17, 5, 21, 24, 20, 2, 6, 16, 10, 4, 22},
      {9, 17, 5, 21, 24, 20, 2, 6, 4, 22, 16, 10},
  }};
  for (int k = 0; k < 5; ++k) {
    const checker::Grid& g = found[k].grid;
    EXPECT_EQ(found[k].count, found[0].count + k);
    EXPECT_EQ((std::array{g[11], g[13], g[10], g[14], g[1], g[3], g[21], g[23], g[5], g[15],
                          g[9], g[19]}),
              expected[k])
        << "square " << k + 1;
  }
  EXPECT_EQ(found[0].grid, (checker::Grid{11, 24, 7,  20, 3,  4,  12, 25, 8,  16, 17, 5, 13,
                                          21, 9,  10, 18, 1,  14, 22, 23, 6,  19, 2,  15}));
}

// Every square of a slice is magic, numbered 1, 2, 3..., and no two are images
// of each other under the rotations and reflections.
TEST(Completion, SliceOfCenter13PassesTheIndependentChecker) {
  auto s = Prepared(13);
  std::atomic<std::int32_t> all{AllPasses};
  std::set<checker::Grid> canonical;
  std::int32_t expectedCount = 0;
  std::int64_t polls = 0;
  LiteralSearch(
      *s, {}, all,
      [&](const SearchState& x) {
        checker::Grid g = GridOf(x);
        ASSERT_EQ(checker::Fault(g), "") << x.FoundCount;
        EXPECT_EQ(g[12], 13);
        EXPECT_EQ(x.FoundCount, ++expectedCount);
        EXPECT_TRUE(canonical.insert(checker::Canonical(g)).second) << x.FoundCount;
      },
      [&] { return ++polls > 3000; });
  EXPECT_GT(canonical.size(), 1000u);
}

}  // namespace
}  // namespace ferolin
