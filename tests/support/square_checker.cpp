#include "square_checker.h"

#include <algorithm>

namespace checker {

std::string Fault(const Grid& g) {
  bool seen[26] = {};
  for (int v : g) {
    if (v < 1 || v > 25) return "value out of range: " + std::to_string(v);
    if (seen[v]) return "value repeated: " + std::to_string(v);
    seen[v] = true;
  }
  for (int i = 0; i < 5; ++i) {
    int row = 0, col = 0;
    for (int j = 0; j < 5; ++j) row += g[5 * i + j], col += g[5 * j + i];
    if (row != 65) return "row " + std::to_string(i) + " sums to " + std::to_string(row);
    if (col != 65) return "column " + std::to_string(i) + " sums to " + std::to_string(col);
  }
  int d1 = 0, d2 = 0;
  for (int i = 0; i < 5; ++i) d1 += g[6 * i], d2 += g[4 * i + 4];
  if (d1 != 65 || d2 != 65) return "a diagonal does not sum to 65";
  return {};
}

Grid Canonical(const Grid& g) {
  Grid best = g;
  for (int k = 0; k < 8; ++k) {
    Grid img;
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 5; ++c) {
        int rr = r, cc = c;
        if (k & 1) std::swap(rr, cc);      // transpose
        if (k & 2) rr = 4 - rr;            // flip vertically
        if (k & 4) cc = 4 - cc;            // flip horizontally
        img[5 * r + c] = g[5 * rr + cc];
      }
    best = std::min(best, img);
  }
  return best;
}

}  // namespace checker
