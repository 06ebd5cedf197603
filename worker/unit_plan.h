// How a stretch of DiagA values of one center is cut into units for the search
// threads. A unit is one DiagA, or a stretch of DiagB values within one DiagA:
// the last DiagA values hold far more triples than the first, and a thread left
// alone with one large unit at the end of a center would keep the others idle.
//
// The cut is made from triple counts: no unit holds much more than the stretch's
// triples / (threads x UnitCutsPerThread), and a DiagA at or below that stays
// one unit, so the small ones cost no more handing out than before. The units
// follow the binding order: DiagA ascending, and within a DiagA, DiagB ascending.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/line_tables.h"
#include "engine/search_types.h"

namespace ferolin {

// Shares of a stretch's triples per thread that a unit is cut at. With 2
// threads a whole center gets about 260 DiagA units plus 130 to 170 pieces of
// its last, densest DiagA values (the largest unit halves), and the last units
// of a slice are short; handing out a unit costs microseconds, nothing beside
// the milliseconds a unit takes.
inline constexpr int UnitCutsPerThread = 128;

struct SearchUnit {
  std::int32_t diagA = 0;
  // The DiagB values of the unit; 0 leaves that side open (the whole DiagA).
  std::int32_t diagBFirst = 0, diagBLast = 0;

  DiagARange Range() const { return {diagA, diagA, diagBFirst, diagBLast}; }
};

// The admitted triples of DiagA firstDiagA..lastDiagA (CenterLines indices of
// `t`, within its table; 0 for an empty range): a few milliseconds for a whole
// center, so a run can count its stretch before it starts.
std::int64_t CountRangeTriples(const LineTables& t, std::int32_t firstDiagA,
                               std::int32_t lastDiagA);

// Fills `units` with the units of DiagA firstDiagA..lastDiagA (CenterLines
// indices of `t`, within its table; an empty range gives none) for `threads`
// search threads. Returns the triples a unit is cut at: a DiagA with more is
// cut into pieces of at most about that many (a single DiagB value with more
// stays one piece).
std::int64_t PlanUnits(const LineTables& t, std::int32_t firstDiagA, std::int32_t lastDiagA,
                       int threads, std::vector<SearchUnit>& units);

}  // namespace ferolin
