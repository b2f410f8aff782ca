// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The four difficulty modes, and the pace of the timers whose ticks their
// figures count.

#include <array>
#include <chrono>
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

// Every spawner tick adds to a hole's spawn pressure, and a mole stays up
// for stayTicks retreat ticks: at 200 ms each, a mole of かんたん stays a
// second.
inline constexpr std::chrono::milliseconds kSpawnerTick{200};
inline constexpr std::chrono::milliseconds kRetreatTick{200};
// One tick per second of a game's 24.
inline constexpr std::chrono::milliseconds kClockTick{1000};
// The switch to the game tune waits for the music tick after the start.
inline constexpr std::chrono::milliseconds kMusicTick{1};
// Between games the title tune starts again after this long.
inline constexpr std::chrono::milliseconds kTitleRestartTick{54100};

}  // namespace pokopin::game
