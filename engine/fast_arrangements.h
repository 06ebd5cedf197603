// The arrangement schedules unrolled into permutations, for searches that jump
// straight to the arrangements worth completing. Arrangement k of a schedule is
// the placement reached after its exchanges 0..k, starting from the ascending
// placement: slot -> index (0..3) of the line's value held there.
#pragma once

#include <array>
#include <cstdint>

#include "engine/arrangement_schedules.h"

namespace ferolin {

struct UnrolledSchedules {
  std::int8_t Diagonal[12][4];
  std::int8_t MidColumn[24][4];
  // MidColumnWith[slot][set]: the MidColumn arrangements (bit k for arrangement k)
  // whose `slot` holds a value index in `set` (bit i for index i).
  std::uint32_t MidColumnWith[4][16];
  // MidColumnEnds[p]: the MidColumn arrangements whose slots 0 and 3 hold the
  // value indices of pair p, in either order (EndPairs lists the pairs).
  std::uint32_t MidColumnEnds[6];
};

inline constexpr std::int8_t EndPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};

constexpr UnrolledSchedules UnrollSchedules() {
  UnrolledSchedules u{};
  std::int8_t p[4] = {0, 1, 2, 3};
  for (int k = 0; k < 12; ++k) {
    const SlotExchange x = DiagonalSchedule[k];
    if (x.a >= 0) {
      const std::int8_t t = p[x.a];
      p[x.a] = p[x.b], p[x.b] = t;
    }
    for (int slot = 0; slot < 4; ++slot) u.Diagonal[k][slot] = p[slot];
  }
  std::int8_t q[4] = {0, 1, 2, 3};
  for (int k = 0; k < 24; ++k) {
    const SlotExchange x = MidColumnSchedule[k].exchange;
    if (x.a >= 0) {
      const std::int8_t t = q[x.a];
      q[x.a] = q[x.b], q[x.b] = t;
    }
    for (int slot = 0; slot < 4; ++slot) u.MidColumn[k][slot] = q[slot];
  }
  for (int slot = 0; slot < 4; ++slot)
    for (int set = 0; set < 16; ++set)
      for (int k = 0; k < 24; ++k)
        if ((set >> u.MidColumn[k][slot]) & 1) u.MidColumnWith[slot][set] |= 1u << k;
  for (int p = 0; p < 6; ++p)
    for (int k = 0; k < 24; ++k) {
      const int lo = u.MidColumn[k][0] < u.MidColumn[k][3] ? u.MidColumn[k][0] : u.MidColumn[k][3];
      const int hi = u.MidColumn[k][0] + u.MidColumn[k][3] - lo;
      if (lo == EndPairs[p][0] && hi == EndPairs[p][1]) u.MidColumnEnds[p] |= 1u << k;
    }
  return u;
}

inline constexpr UnrolledSchedules Unrolled = UnrollSchedules();

}  // namespace ferolin
