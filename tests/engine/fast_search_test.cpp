// The fast walk against the literal reference: the same squares, numbered the
// same, in the same order, on slices of several center values; the same safe
// points and stop positions; and the pass count read as the reference reads it.
#include "engine/fast_search.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>
#include <utility>

#include "engine/triple_count.h"
#include "tests/reference/literal_search.h"

namespace ferolin {
namespace {

// FoundCount, then the 25 cells.
using Sighting = std::array<std::int32_t, 26>;

struct SearchRun {
  std::vector<Sighting> squares;
  SearchOutcome outcome;
  std::int64_t polls = 0;
};

Sighting SightingOf(const SearchState& s) {
  Sighting x;
  x[0] = s.FoundCount;
  for (int i = 0; i < 25; ++i) x[i + 1] = s.Cells[i];
  return x;
}

struct LiteralEngine {
  template <class... A>
  SearchOutcome operator()(A&&... a) const {
    return LiteralSearch(std::forward<A>(a)...);
  }
};
struct FastEngine {
  template <class... A>
  SearchOutcome operator()(A&&... a) const {
    return FastSearch(std::forward<A>(a)...);
  }
};

// Searches `range` of `center` with at most `tripleLimit` triples (0: no limit).
// `onPoll(n)` and `onSquare(count)` may change the passes as the search runs.
template <class Engine, class OnPoll, class OnSquareSeen>
SearchRun Search(SearchState& s, DiagARange range, std::atomic<std::int32_t>& passes,
                 std::int64_t tripleLimit, OnPoll onPoll, OnSquareSeen onSquareSeen) {
  SearchRun r;
  r.outcome = Engine{}(
      s, range, passes,
      [&](const SearchState& x) {
        r.squares.push_back(SightingOf(x));
        onSquareSeen(x.FoundCount);
      },
      [&] {
        ++r.polls;
        onPoll(r.polls);
        return tripleLimit > 0 && r.polls > tripleLimit;
      });
  return r;
}

template <class Engine>
SearchRun Search(int center, DiagARange range, std::int32_t passes, std::int64_t tripleLimit) {
  auto s = std::make_unique<SearchState>();
  PrepareCenter(*s, center);
  std::atomic<std::int32_t> p{passes};
  return Search<Engine>(
      *s, range, p, tripleLimit, [](std::int64_t) {}, [](std::int32_t) {});
}

void ExpectSameRun(const SearchRun& fast, const SearchRun& literal) {
  ASSERT_EQ(fast.squares.size(), literal.squares.size());
  for (std::size_t i = 0; i < fast.squares.size(); ++i)
    ASSERT_EQ(fast.squares[i], literal.squares[i]) << "square " << i + 1;
  EXPECT_EQ(fast.outcome.stopped, literal.outcome.stopped);
  EXPECT_EQ(fast.outcome.triples, literal.outcome.triples);
  EXPECT_EQ(fast.outcome.diagA, literal.outcome.diagA);
  EXPECT_EQ(fast.outcome.diagB, literal.outcome.diagB);
  EXPECT_EQ(fast.outcome.midColumn, literal.outcome.midColumn);
  EXPECT_EQ(fast.polls, literal.polls);
}

// A slice of a center: a DiagA range and a cap on the triples searched. Early
// DiagA values have few triples and few squares; late ones are dense.
struct Slice {
  int center;
  DiagARange range;
  std::int64_t triples;
};

TEST(FastSearch, SameSquaresInTheSameOrderAsTheReference) {
  const Slice slices[] = {
      {1, {}, 700},  {1, {200, 244}, 400},  {7, {}, 500},          {7, {150, 150}, 0},
      {13, {}, 700}, {13, {230, 302}, 400}, {13, {290, 291}, 300}, {19, {240, 286}, 400},
      {25, {}, 700}, {25, {180, 244}, 400},
  };
  for (std::int32_t passes : {QuarterPasses, AllPasses})
    for (const Slice& slice : slices) {
      SCOPED_TRACE(::testing::Message()
                   << "center " << slice.center << " DiagA " << slice.range.first << ".."
                   << slice.range.last << " passes " << passes);
      const SearchRun literal =
          Search<LiteralEngine>(slice.center, slice.range, passes, slice.triples);
      const SearchRun fast = Search<FastEngine>(slice.center, slice.range, passes, slice.triples);
      ASSERT_GT(literal.squares.size(), 0u);
      ExpectSameRun(fast, literal);
    }
}

// Stopping at the n-th safe point: the triples done, the first triple not
// searched and the squares before it are the reference's; a whole DiagA range
// reports every admitted triple of it.
TEST(FastSearch, StopsAtTheSafePointWhereTheReferenceStops) {
  for (std::int64_t limit : {0, 1, 37, 250}) {
    const SearchRun literal = Search<LiteralEngine>(13, {60, 60}, QuarterPasses, limit);
    const SearchRun fast = Search<FastEngine>(13, {60, 60}, QuarterPasses, limit);
    SCOPED_TRACE(::testing::Message() << "limit " << limit);
    ExpectSameRun(fast, literal);
    EXPECT_EQ(fast.outcome.stopped, limit > 0);
    if (limit > 0) {
      EXPECT_EQ(fast.outcome.triples, limit);
    }
  }
  auto t = std::make_unique<LineTables>();
  PrepareLineTables(*t, 13);
  auto counts = std::make_unique<TripleCounts>();
  CountTriples(*t, *counts);
  const SearchRun whole = Search<FastEngine>(13, {60, 60}, QuarterPasses, 0);
  EXPECT_FALSE(whole.outcome.stopped);
  EXPECT_EQ(whole.outcome.triples, counts->perDiagA[60]);
}

// The DiagB values that share only the center with DiagA a, ascending.
std::vector<std::int32_t> DiagBValuesOf(const LineTables& t, std::int32_t a) {
  std::vector<std::int32_t> bs;
  for (std::int32_t b = t.FirstCenterLine; b < a; ++b)
    if ((t.CenterLineMask[a] & t.CenterLineMask[b]) == t.CenterBit) bs.push_back(b);
  return bs;
}

// One DiagA searched in DiagB pieces, one search each, gives the squares of the
// whole DiagA in the same order. The cuts fall on admitted DiagB values and
// between them, and one piece holds a single DiagB value.
TEST(FastSearch, DiagBPiecesOfADiagAConcatenateToTheWholeDiagA) {
  struct Case {
    int center;
    std::int32_t diagA;
  };
  const Case cases[] = {{13, 150}, {1, 200}, {25, 120}, {7, 236}};
  auto t = std::make_unique<LineTables>();
  for (std::int32_t passes : {QuarterPasses, AllPasses})
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << "center " << c.center << " DiagA " << c.diagA << " passes " << passes);
      PrepareLineTables(*t, c.center);
      const std::vector<std::int32_t> bs = DiagBValuesOf(*t, c.diagA);
      ASSERT_GE(bs.size(), 6u);
      const SearchRun whole = Search<FastEngine>(c.center, {c.diagA, c.diagA}, passes, 0);
      ASSERT_GT(whole.squares.size(), 0u);
      // Pieces [first, last] of DiagB; 0 leaves that side open.
      const std::int32_t mid = bs[bs.size() / 2];
      const std::pair<std::int32_t, std::int32_t> pieces[] = {
          {0, bs[1] - 1}, {bs[1], bs[1]}, {bs[1] + 1, mid}, {mid + 1, 0}};
      std::vector<Sighting> joined;
      std::int64_t triples = 0;
      for (auto [bFirst, bLast] : pieces) {
        const SearchRun piece =
            Search<FastEngine>(c.center, {c.diagA, c.diagA, bFirst, bLast}, passes, 0);
        EXPECT_FALSE(piece.outcome.stopped);
        triples += piece.outcome.triples;
        for (std::size_t i = 0; i < piece.squares.size(); ++i) {
          // Each search numbers its own squares from 1.
          EXPECT_EQ(piece.squares[i][0], static_cast<std::int32_t>(i + 1));
          Sighting x = piece.squares[i];
          x[0] = static_cast<std::int32_t>(joined.size() + 1);
          joined.push_back(x);
        }
      }
      EXPECT_EQ(triples, whole.outcome.triples);
      ASSERT_EQ(joined.size(), whole.squares.size());
      for (std::size_t i = 0; i < joined.size(); ++i)
        ASSERT_EQ(joined[i], whole.squares[i]) << "square " << i + 1;
    }
}

// A DiagB bound that admits no DiagB value of the DiagA searches no triple.
TEST(FastSearch, DiagBBoundWithoutAdmittedValuesFindsNothing) {
  auto t = std::make_unique<LineTables>();
  PrepareLineTables(*t, 13);
  // A DiagA whose first admitted DiagB is not the table's first line.
  std::int32_t a = 200;
  for (; a < t->LastCenterLine; ++a) {
    const std::vector<std::int32_t> bs = DiagBValuesOf(*t, a);
    if (!bs.empty() && bs.front() > t->FirstCenterLine) break;
  }
  const std::vector<std::int32_t> bs = DiagBValuesOf(*t, a);
  ASSERT_GE(bs.size(), 2u);
  ASSERT_GT(bs.front(), t->FirstCenterLine);
  std::int32_t gapFirst = 0, gapLast = 0;  // a stretch of DiagB values none admitted
  for (std::size_t i = 1; i < bs.size() && gapFirst == 0; ++i)
    if (bs[i] - bs[i - 1] > 1) gapFirst = bs[i - 1] + 1, gapLast = bs[i] - 1;
  ASSERT_GT(gapFirst, 0);
  const std::pair<std::int32_t, std::int32_t> bounds[] = {
      {a, 0},                   // at or above DiagA
      {bs.back() + 1, a - 1},   // past the last admitted value
      {gapFirst, gapLast},      // between two admitted values
      {t->FirstCenterLine, bs.front() - 1},  // before the first
      {bs[1], bs[0]},           // an empty bound
  };
  for (auto [bFirst, bLast] : bounds) {
    SCOPED_TRACE(::testing::Message() << "DiagB " << bFirst << ".." << bLast);
    const SearchRun r = Search<FastEngine>(13, {a, a, bFirst, bLast}, AllPasses, 0);
    EXPECT_EQ(r.outcome.triples, 0);
    EXPECT_EQ(r.squares.size(), 0u);
    EXPECT_EQ(r.polls, 0);
  }
}

// There are 12 arrangements of the main diagonal: a larger pass count searches
// them all once, as 12 does, instead of reading past the schedule.
TEST(FastSearch, PassCountsAboveTwelveSearchTheTwelveArrangements) {
  const SearchRun all = Search<FastEngine>(13, {280, 280}, AllPasses, 40);
  ASSERT_GT(all.squares.size(), 0u);
  for (std::int32_t passes : {13, 100}) {
    SCOPED_TRACE(::testing::Message() << "passes " << passes);
    ExpectSameRun(Search<FastEngine>(13, {280, 280}, passes, 40), all);
  }
}

// The pass count is read afresh at every test of the pass loop: changed between
// calls on one state, between triples, and in the middle of a triple.
TEST(FastSearch, ReadsThePassCountAsTheReferenceDoes) {
  auto literalState = std::make_unique<SearchState>();
  auto fastState = std::make_unique<SearchState>();
  PrepareCenter(*literalState, 19);
  PrepareCenter(*fastState, 19);
  std::atomic<std::int32_t> literalPasses{AllPasses}, fastPasses{AllPasses};
  auto none = [](auto) {};
  for (std::int32_t passes : {AllPasses, QuarterPasses, AllPasses, 1}) {
    SCOPED_TRACE(::testing::Message() << "between calls, passes " << passes);
    literalPasses = passes, fastPasses = passes;
    const SearchRun literal =
        Search<LiteralEngine>(*literalState, {200, 200}, literalPasses, 200, none, none);
    const SearchRun fast = Search<FastEngine>(*fastState, {200, 200}, fastPasses, 200, none, none);
    ASSERT_GT(literal.squares.size(), 0u);
    ExpectSameRun(fast, literal);
  }
  {
    SCOPED_TRACE("between triples");
    auto alternate = [](std::atomic<std::int32_t>& p) {
      return [&p](std::int64_t poll) { p = poll % 2 ? QuarterPasses : AllPasses; };
    };
    const SearchRun literal = Search<LiteralEngine>(*literalState, {210, 210}, literalPasses, 200,
                                                    alternate(literalPasses), none);
    const SearchRun fast =
        Search<FastEngine>(*fastState, {210, 210}, fastPasses, 200, alternate(fastPasses), none);
    ExpectSameRun(fast, literal);
  }
  {
    SCOPED_TRACE("within a triple");
    // Every 7th square drops to a quarter, every poll restores all passes.
    auto restore = [](std::atomic<std::int32_t>& p) {
      return [&p](std::int64_t) { p = AllPasses; };
    };
    auto drop = [](std::atomic<std::int32_t>& p) {
      return [&p](std::int32_t count) {
        if (count % 7 == 0) p = QuarterPasses;
      };
    };
    const SearchRun literal = Search<LiteralEngine>(*literalState, {220, 220}, literalPasses, 200,
                                                    restore(literalPasses), drop(literalPasses));
    const SearchRun fast = Search<FastEngine>(*fastState, {220, 220}, fastPasses, 200,
                                              restore(fastPasses), drop(fastPasses));
    ASSERT_GT(literal.squares.size(), 14u);
    ExpectSameRun(fast, literal);
  }
}

}  // namespace
}  // namespace ferolin
