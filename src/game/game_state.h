// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The variables of one game, owned by the main window for the life of the
// program. Counters that stay small are plain int. The score and the figures
// subtracted from it are 64-bit: each miss at a score of zero or below costs
// more than the one before, so a long enough run of misses would overflow 32
// bits.

#include <array>
#include <cstdint>
#include <string>

namespace pokopin::game {

inline constexpr int kHoles = 9;

struct GameState {
    int pickedHole = 0;      // hole drawn on the last spawner tick
    int moleCount = 0;       // moles raised this game (may pass the quota by up to 8)
    int secondsLeft = 0;     // 24 down to 0; not reset at the end of a game
    std::int64_t score = 0;  // may be negative
    int hitCount = 0;
    std::array<int, kHoles> spawnPressure{};  // draws since the hole's last raise
    std::array<bool, kHoles> moleUp{};        // from raise to retreat, hit or not
    std::array<int, kHoles> upTicks{};        // retreat ticks since the raise
    std::array<int, kHoles> missTicks{};      // retreat ticks since the last miss
    int stayTicks = 0;  // retreat ticks a mole stays up, set by every spawner tick
    int missCount = 0;
    bool gameMusicPending = false;         // switch to the game tune on the next music tick
    std::string modeName;                  // name of the checked mode
    int elapsedSeconds = 0;                // 1 + clock ticks of the current game
    std::array<bool, kHoles> missShown{};  // a miss mark waits to be removed
    // The last hit's award, or after a miss at a positive score the 5 % of the
    // score that the miss took. A miss at zero or below leaves it as it is, so
    // the next such miss subtracts it again.
    std::int64_t lastAward = 0;
    int comboLevel = 0;  // hits in a row, lowered by one per miss
    std::string scoreFilePath;
    bool spawnEnabled = false;  // tested only at the start of a spawner tick
    int moleQuota = 0;
    std::string helpFilePath;
};

}  // namespace pokopin::game
