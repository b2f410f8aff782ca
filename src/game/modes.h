// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The four difficulty modes and everything that depends on them.

#include <array>
#include <string_view>

namespace pokopin::game {

struct Mode {
    std::string_view name;  // menu caption and the name written to the log
    int moleQuota;          // raises after which the spawner stops
    int stayTicks;          // retreat ticks a mole stays up
    int threshold;          // a hole rises once its spawn pressure reaches this
};

// In menu order; a mode's index also picks its label in the side panel.
inline constexpr std::array<Mode, 4> kModes{{
    {"かんたん", 30, 5, 3},
    {"ふつう", 50, 4, 2},
    {"むずい", 100, 4, 1},
    {"どむず", 105, 3, 1},
}};

}  // namespace pokopin::game
