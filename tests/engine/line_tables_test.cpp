#include "engine/line_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>

namespace ferolin {
namespace {

std::unique_ptr<LineTables> Prepared(int center) {
  auto t = std::make_unique<LineTables>();
  PrepareLineTables(*t, center);
  return t;
}

std::array<int, 5> Entry(const std::int32_t (&e)[5]) { return {e[0], e[1], e[2], e[3], e[4]}; }

TEST(LineTables, SizesForEveryCenter) {
  // Entries for centers c and 26 - c, indexed by min(c, 26 - c).
  const int lines[14] = {0, 244, 252, 263, 268, 276, 280, 286, 287, 292, 292, 297, 297, 302};
  auto t = std::make_unique<LineTables>();
  for (int c = 1; c <= 25; ++c) {
    PrepareLineTables(*t, c);  // each center rebuilt over the previous one
    const int expected = lines[std::min(c, 26 - c)];
    SCOPED_TRACE(c);
    EXPECT_EQ(t->FirstCenterLine, 1);
    EXPECT_EQ(t->LastCenterLine, expected);
    // Groups are contiguous, ascending, and end on the last tuple.
    int next = 1;
    for (int e = 1; e <= MaxPairSum; ++e) {
      const auto [first, last] = std::pair(t->PairRange[e][0], t->PairRange[e][1]);
      const bool nonEmpty = e >= std::max(3, 16 - c) && e <= std::min(49, 62 - c);
      if (!nonEmpty) {
        EXPECT_EQ(first, 0) << e;
        EXPECT_EQ(last, 0) << e;
        continue;
      }
      EXPECT_EQ(first, next) << e;
      EXPECT_EQ((last - first + 1) % 4, 0) << e;
      next = last + 1;
    }
    EXPECT_EQ(next - 1, 24 * expected);
    for (int i = 1; i <= 24 * expected; ++i) {
      const auto& r = t->RowTuples[i];
      ASSERT_EQ(r[0] + r[1] + r[2] + r[3] + r[4], 65);
      ASSERT_EQ(t->RowTupleMask[i], Bit(r[0]) | Bit(r[1]) | Bit(r[2]) | Bit(r[3]) | Bit(r[4]));
    }
    EXPECT_EQ(t->RowTupleMask[0], 0u);
  }
}

TEST(LineTables, ListedEntries) {
  struct Case {
    int center, index;
    std::array<int, 5> line;
  };
  const Case centerLines[] = {
      {1, 1, {1, 2, 13, 24, 25}},   {1, 15, {1, 3, 12, 24, 25}},    {1, 244, {1, 14, 15, 17, 18}},
      {13, 1, {13, 1, 2, 24, 25}},  {13, 302, {13, 11, 12, 14, 15}}, {25, 1, {25, 1, 2, 13, 24}},
      {25, 244, {25, 8, 9, 11, 12}},
  };
  for (const Case& k : centerLines) {
    auto t = Prepared(k.center);
    EXPECT_EQ(Entry(t->CenterLines[k.index]), k.line) << k.center << " " << k.index;
  }
  const Case rowTuples[] = {
      {1, 1, {1, 2, 13, 24, 25}},  {1, 2, {1, 2, 13, 25, 24}},  {13, 1, {13, 1, 2, 24, 25}},
      {13, 2, {13, 1, 2, 25, 24}}, {13, 3, {13, 2, 1, 24, 25}}, {13, 4, {13, 2, 1, 25, 24}},
  };
  for (const Case& k : rowTuples) {
    auto t = Prepared(k.center);
    EXPECT_EQ(Entry(t->RowTuples[k.index]), k.line) << k.center << " " << k.index;
  }
  // The first line's mask holds the same five values for centers 1, 13 and 25.
  for (int c : {1, 13, 25})
    EXPECT_EQ(Prepared(c)->CenterLineMask[1], Bit(1) | Bit(2) | Bit(13) | Bit(24) | Bit(25));
}

TEST(LineTables, PairRanges) {
  struct Case {
    int center, sum, first, last;
  };
  const Case cases[] = {
      {1, 3, 0, 0},       {1, 14, 0, 0},       {1, 15, 1, 24},      {1, 49, 5833, 5856},
      {13, 3, 1, 4},      {13, 4, 5, 8},       {13, 26, 3361, 3888}, {13, 48, 7241, 7244},
      {13, 49, 7245, 7248}, {25, 3, 1, 24},    {25, 37, 5833, 5856}, {25, 38, 0, 0},
      {25, 49, 0, 0},
  };
  for (const Case& k : cases) {
    auto t = Prepared(k.center);
    EXPECT_EQ(t->PairRange[k.sum][0], k.first) << k.center << " sum " << k.sum;
    EXPECT_EQ(t->PairRange[k.sum][1], k.last) << k.center << " sum " << k.sum;
  }
}

TEST(LineTables, SmallerCenterAfterLargerClearsStaleMasks) {
  auto t = Prepared(13);
  PrepareLineTables(*t, 14);
  for (int i = 298; i <= 302; ++i) EXPECT_EQ(t->CenterLineMask[i], 0u) << i;
  for (int i = 7129; i <= 7248; ++i) ASSERT_EQ(t->RowTupleMask[i], 0u) << i;
  EXPECT_EQ(t->RowTupleMask[0], 0u);
}

}  // namespace
}  // namespace ferolin
