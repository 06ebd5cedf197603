// The constant exchange schedules that step through the arrangements of the
// three lines. Slots are numbered 0..3 here (top row down); a step exchanges two
// slots, step 0 none. DiagonalSchedule visits one of every pair of mutually
// reversed arrangements; MidColumnSchedule visits all 24.
#pragma once

#include <array>
#include <cstdint>

namespace ferolin {

struct SlotExchange {
  std::int8_t a, b;  // slots exchanged, or -1 for none
};

// Cells of slots 0..3 of each line.
inline constexpr std::array<int, 4> DiagASlotCells = {0, 6, 18, 24};
inline constexpr std::array<int, 4> DiagBSlotCells = {4, 8, 16, 20};
inline constexpr std::array<int, 4> MidColumnSlotCells = {2, 7, 17, 22};

inline constexpr std::array<SlotExchange, 12> DiagonalSchedule = {{
    {-1, -1}, {2, 3}, {1, 3}, {2, 3}, {1, 3}, {2, 3},
    {0, 1},   {2, 3}, {0, 3}, {2, 3}, {0, 3}, {2, 3},
}};

// Rows are 0, 1, 3, 4; a step tests its rows in the order given, -1 ends the list.
struct MidColumnStep {
  SlotExchange exchange;
  std::array<std::int8_t, 4> rows;
};

inline constexpr std::array<MidColumnStep, 24> MidColumnSchedule = {{
    {{-1, -1}, {0, 4, 1, 3}},  {{2, 3}, {4, 3, -1, -1}}, {{1, 3}, {1, 4, -1, -1}},
    {{2, 3}, {4, 3, -1, -1}},  {{1, 3}, {1, 4, -1, -1}}, {{2, 3}, {4, 3, -1, -1}},
    {{0, 1}, {0, 1, -1, -1}},  {{2, 3}, {4, 3, -1, -1}}, {{0, 3}, {0, 4, -1, -1}},
    {{2, 3}, {4, 3, -1, -1}},  {{0, 3}, {0, 4, -1, -1}}, {{2, 3}, {4, 3, -1, -1}},
    {{1, 3}, {1, 4, -1, -1}},  {{2, 3}, {4, 3, -1, -1}}, {{1, 3}, {1, 4, -1, -1}},
    {{2, 3}, {4, 3, -1, -1}},  {{0, 2}, {0, 3, -1, -1}}, {{2, 3}, {4, 3, -1, -1}},
    {{1, 3}, {1, 4, -1, -1}},  {{2, 3}, {4, 3, -1, -1}}, {{0, 2}, {0, 3, -1, -1}},
    {{2, 3}, {4, 3, -1, -1}},  {{1, 3}, {1, 4, -1, -1}}, {{2, 3}, {4, 3, -1, -1}},
}};

}  // namespace ferolin
