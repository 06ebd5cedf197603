// Whole centers with every diagonal pass: minutes, not seconds, so these run
// only with the slow label (scripts/test-slow).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <thread>
#include <vector>

#include "square_checker.h"
#include "worker/center_search.h"

namespace ferolin {
namespace {

int Threads() { return std::max(2u, std::thread::hardware_concurrency()); }

// Every square of a whole center is magic, has that center, and no two are
// rotations or reflections of each other.
TEST(WholeRun, EverySquareOfCenter1IsMagicAndMetOnce) {
  CenterSearcher searcher(Threads());
  RunControl control;
  CenterProgress progress;
  const std::atomic<std::int32_t> all{AllPasses};
  std::vector<std::array<std::uint8_t, 25>> canonical;
  std::int32_t expected = 0;
  const CenterResult r = searcher.Run(1, all, control, progress, [&](const std::int32_t* c, std::int32_t n) {
    checker::Grid g;
    std::copy(c, c + 25, g.begin());
    ASSERT_EQ(checker::Fault(g), "") << n;
    ASSERT_EQ(g[12], 1);
    ASSERT_EQ(n, ++expected);
    const checker::Grid k = checker::Canonical(g);
    std::array<std::uint8_t, 25> bytes;
    std::copy(k.begin(), k.end(), bytes.begin());
    canonical.push_back(bytes);
  });
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(static_cast<std::size_t>(r.found), canonical.size());
  std::sort(canonical.begin(), canonical.end());
  EXPECT_EQ(std::adjacent_find(canonical.begin(), canonical.end()), canonical.end())
      << "a square was met twice";
}

// All 25 centers together give the published number of order-5 magic squares
// up to rotation and reflection.
TEST(WholeRun, AllCentersGiveThePublishedTotal) {
  CenterSearcher searcher(Threads());
  RunControl control;
  CenterProgress progress;
  const std::atomic<std::int32_t> all{AllPasses};
  std::int64_t total = 0;
  for (std::int32_t center = 1; center <= 25; ++center) {
    const CenterResult r = searcher.Run(center, all, control, progress, [](const std::int32_t*, std::int32_t) {});
    ASSERT_FALSE(r.stopped);
    total += r.found;
  }
  EXPECT_EQ(total, 275305224);
}

}  // namespace
}  // namespace ferolin
