// The live progress line of ferolin-cli: where the run stands and how long it
// has left, estimated from the share of line triples done.
#pragma once

#include <cstdint>
#include <string>

namespace ferolin::cli {

struct ProgressSnapshot {
  std::int32_t center = 0;
  std::int64_t centerTriplesDone = 0, centerTriplesTotal = 0;
  std::int64_t centerSquares = 0;
  std::int64_t runTriplesDone = 0, runTriplesTotal = 0;  // over the whole range; total 0 = unknown
  double elapsedSeconds = 0;
};

// "Center 13  triples 115339/1153392 (10.0%)  squares 1234567  elapsed 0:12  left 1:48"
std::string FormatProgressLine(const ProgressSnapshot& p);

// "0:07", "12:34", "1:02:03"
std::string FormatDuration(double seconds);

}  // namespace ferolin::cli
