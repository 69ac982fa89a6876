// The bright stars of the star chart: 120 slots, of which 117 hold a star and three stay empty.
#pragma once

#include <array>
#include <cstdint>

namespace skyrel {

struct StarSlot {
    std::int32_t declination;     // whole degrees
    std::int32_t rightAscension;  // whole degrees
    std::int32_t size;            // -1, 0 or 1; the marker's radius is 2 - size
    char colour;                  // 'B' blue-white, 'R' reddish, 'W' white, '\0' for an empty slot
};

inline constexpr int kStarSlots = 120;

// Slots 44, 45 and 119 are empty (all zero, no colour letter); they still take part in the drawing.
extern const std::array<StarSlot, kStarSlots> kStarTable;

}  // namespace skyrel
