// A whole center, "1/4", on one thread and on two: the same records in the
// same order, every one of them magic.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "square_checker.h"
#include "worker/center_search.h"

namespace ferolin {
namespace {

TEST(ParallelCenterSearch, WholeCenterQuarterIsTheSameOnOneAndTwoThreads) {
  constexpr std::int32_t center = 1;
  std::atomic<std::int32_t> quarter{3};
  std::vector<std::uint8_t> single;  // 25 bytes per square
  {
    CenterSearcher searcher(1);
    RunControl control;
    CenterProgress progress;
    const CenterResult r = searcher.Run(center, quarter, control, progress,
                                        [&](const std::int32_t* cells, std::int32_t count) {
                                          ASSERT_EQ(static_cast<std::size_t>(count),
                                                    single.size() / 25 + 1);
                                          single.insert(single.end(), cells, cells + 25);
                                        });
    ASSERT_FALSE(r.stopped);
    ASSERT_GT(r.found, 0);
  }
  CenterSearcher searcher(2);
  RunControl control;
  CenterProgress progress;
  std::size_t n = 0, mismatches = 0, faults = 0;
  checker::Grid grid;
  const CenterResult r = searcher.Run(
      center, quarter, control, progress, [&](const std::int32_t* cells, std::int32_t count) {
        bool same = static_cast<std::size_t>(count) == n + 1 && (n + 1) * 25 <= single.size();
        for (int k = 0; same && k < 25; ++k) same = single[n * 25 + k] == cells[k];
        mismatches += !same;
        for (int k = 0; k < 25; ++k) grid[k] = cells[k];
        faults += !checker::Fault(grid).empty();
        ++n;
      });
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(n * 25, single.size());
  EXPECT_EQ(static_cast<std::size_t>(r.found), n);
  EXPECT_EQ(mismatches, 0u);
  EXPECT_EQ(faults, 0u);
  EXPECT_EQ(progress.triplesDone.load(), progress.triplesTotal.load());
}

}  // namespace
}  // namespace ferolin
