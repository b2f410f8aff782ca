#pragma once

// The variables of one game, owned by the main window for the life of the
// program. Widths follow the original design: 16-bit where a value stays
// small, 32-bit for the score-related counters. Booleans are plain bool here;
// only True and False are ever stored, so nothing depends on True being -1.

#include <array>
#include <cstdint>
#include <string>

namespace pokopin::game {

inline constexpr int kHoles = 9;

struct GameState {
    std::int16_t pickedHole = 0;    // hole drawn on the last spawner tick
    std::int16_t moleCount = 0;     // moles raised this game (may pass the quota by up to 8)
    std::int16_t secondsLeft = 0;   // 24 down to 0; not reset at the end of a game
    std::int32_t score = 0;         // may be negative
    std::int16_t hitCount = 0;
    std::int16_t holeIndex = 0;     // loop counter of the start-up and end-of-game loops
    std::array<std::int16_t, kHoles> spawnPressure{};  // draws since the hole's last raise
    std::array<bool, kHoles> moleUp{};                 // from raise to retreat, hit or not
    std::array<std::int32_t, kHoles> upTicks{};        // retreat ticks since the raise
    std::array<std::int32_t, kHoles> missTicks{};      // retreat ticks since the last miss
    std::int16_t stayTicks = 0;     // retreat ticks a mole stays up, set by every spawner tick
    std::int32_t missCount = 0;
    bool gameMusicPending = false;  // switch to the game tune on the next music tick
    std::string modeName;           // name of the checked mode
    std::int16_t elapsedSeconds = 0;  // 1 + clock ticks of the current game
    std::array<bool, kHoles> missShown{};  // a miss mark waits to be removed
    std::array<std::int32_t, 2> combo{};   // [0] last award or 5 % figure, [1] combo level
    std::string scoreFilePath;
    bool spawnEnabled = false;      // tested only at the start of a spawner tick
    std::int16_t moleQuota = 0;
    std::string helpFilePath;
};

}  // namespace pokopin::game
