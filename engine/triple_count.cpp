#include "engine/triple_count.h"

namespace ferolin {

void CountTriples(const LineTables& t, TripleCounts& out) {
  const ValueMask cb = t.CenterBit;
  out.total = 0;
  out.diagonalPairs = 0;
  for (auto& n : out.perDiagA) n = 0;
  for (std::int32_t a = t.FirstCenterLine; a <= t.LastCenterLine && a > 0; ++a) {
    const ValueMask ma = t.CenterLineMask[a];
    for (std::int32_t b = t.FirstCenterLine; b < a; ++b) {
      const ValueMask mb = t.CenterLineMask[b];
      if ((ma & mb) != cb) continue;
      ++out.diagonalPairs;
      for (std::int32_t m = t.FirstCenterLine; m <= t.LastCenterLine; ++m) {
        const ValueMask mm = t.CenterLineMask[m];
        if ((ma & mm) == cb && (mb & mm) == cb) ++out.perDiagA[a];
      }
    }
    out.total += out.perDiagA[a];
  }
}

}  // namespace ferolin
