#pragma once

// The four difficulty modes and everything that depends on them.

#include <array>
#include <cstdint>
#include <string_view>

namespace pokopin::game {

struct Mode {
    std::string_view name;      // menu caption and the name written to the log
    std::int16_t moleQuota;     // raises after which the spawner stops
    std::int16_t stayTicks;     // retreat ticks a mole stays up
    std::int16_t threshold;     // a hole rises once its spawn pressure reaches this
    // showMode arguments: mask and image pictures, the item to check and the
    // three to clear, in ascending order.
    std::int16_t intMask, intOri, intA, intB, intC, intD;
};

inline constexpr std::array<Mode, 4> kModes{{
    {"かんたん", 30, 5, 3, 1, 0, 0, 1, 2, 3},
    {"ふつう", 50, 4, 2, 3, 2, 1, 0, 2, 3},
    {"むずい", 100, 4, 1, 5, 4, 2, 0, 1, 3},
    {"どむず", 105, 3, 1, 7, 6, 3, 0, 1, 2},
}};

}  // namespace pokopin::game
