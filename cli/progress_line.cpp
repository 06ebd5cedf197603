#include "cli/progress_line.h"

#include <cmath>
#include <cstdio>

namespace ferolin::cli {

std::string FormatDuration(double seconds) {
  const long s = seconds > 0 ? std::lround(seconds) : 0;
  char buf[32];
  if (s >= 3600)
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
  return buf;
}

std::string FormatProgressLine(const ProgressSnapshot& p) {
  const double share = p.centerTriplesTotal > 0
                           ? 100.0 * static_cast<double>(p.centerTriplesDone) /
                                 static_cast<double>(p.centerTriplesTotal)
                           : 0.0;
  char buf[192];
  std::snprintf(buf, sizeof buf, "Center %d  triples %lld/%lld (%.1f%%)  squares %lld  elapsed %s",
                p.center, static_cast<long long>(p.centerTriplesDone),
                static_cast<long long>(p.centerTriplesTotal), share,
                static_cast<long long>(p.centerSquares), FormatDuration(p.elapsedSeconds).c_str());
  std::string line = buf;
  if (p.runTriplesTotal > 0 && p.runTriplesDone > 0 && p.elapsedSeconds >= 1.0) {
    const double left = p.elapsedSeconds *
                        static_cast<double>(p.runTriplesTotal - p.runTriplesDone) /
                        static_cast<double>(p.runTriplesDone);
    line += "  left " + FormatDuration(left);
  } else {
    line += "  left ?";
  }
  return line;
}

}  // namespace ferolin::cli
