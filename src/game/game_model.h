// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the rules know about the game, in the game's own words: the phase,
// the board, the figures, the mode and the switches. The window is drawn
// from these facts by viewOf() (window_view.h); nothing here is a copy of a
// widget.
//
// The score and the figures subtracted from it are 64-bit: each miss at a
// score of zero or below costs more than the one before, so a long enough
// run of misses would overflow 32 bits.

#include <array>
#include <cstdint>
#include <string_view>

#include "modes.h"

namespace pokopin::game {

inline constexpr int kHoles = 9;

enum class Phase : std::uint8_t {
    NotLoaded,  // the window as laid out, before start-up has run
    Idle,       // between games
    Running,    // a game is on: its timers tick and the holes take whacks
    // The game is over and its end is still being carried out: no new game
    // can start until the end-of-game pause has passed.
    Ending,
};

// What a hole shows; the value is also the index of its picture. A whacked
// mole and a miss mark take no further whack.
enum class Hole : std::uint8_t { Empty = 0, Mole = 1, Whacked = 2, Miss = 3 };

// The figures of the game being played. The end of a game resets them,
// except the two noted below.
struct Counters {
    int moleCount = 0;  // moles raised (may pass the quota by up to 8)
    int hitCount = 0;
    int missCount = 0;
    std::int64_t score = 0;  // may be negative
    int comboLevel = 0;      // hits in a row, lowered by one per miss
    // The last hit's award, or after a miss at a positive score the 5 % of
    // the score that the miss took. A miss at zero or below leaves it as it
    // is, so the next such miss subtracts it again. Cleared by the start of a
    // game, not by its end.
    std::int64_t lastAward = 0;
    int secondsLeft = 0;     // 24 down to 0; set by the start, not reset by the end
    int elapsedSeconds = 0;  // 1 + clock ticks of the current game
    bool operator==(const Counters&) const = default;
};

// The clock's figure in the window layout, before start-up.
inline constexpr int kLayoutClock = 20;

// What the side panel's counters and the clock show. The rules write a
// figure here at the moment they want it shown; the end of a game resets the
// counters but not this, so the last game's figures stay on show until the
// next start. The end rewrites the mole count and the score, not the hits
// and misses: those were shown as they changed.
struct Scoreboard {
    int moleCount = 0;
    int hitCount = 0;
    int missCount = 0;
    std::int64_t score = 0;
    int clock = kLayoutClock;  // 25 between games, the seconds left during one
    bool operator==(const Scoreboard&) const = default;
};

// No mode chosen yet: the window as laid out.
inline constexpr int kNoMode = -1;

struct GameModel {
    Phase phase = Phase::NotLoaded;
    std::array<Hole, kHoles> board{};  // Empty everywhere
    Counters counters;

    // The spawner's and the retreat's count of each hole.
    std::array<int, kHoles> spawnPressure{};  // draws since the hole's last raise
    std::array<bool, kHoles> moleUp{};        // from raise to retreat, hit or not
    std::array<int, kHoles> upTicks{};        // retreat ticks since the raise
    std::array<bool, kHoles> missShown{};     // a miss mark waits to be removed
    std::array<int, kHoles> missTicks{};      // retreat ticks since the last miss
    int stayTicks = 0;          // retreat ticks a mole stays up, set by every spawner tick
    bool spawnEnabled = false;  // tested only at the start of a spawner tick

    Scoreboard scoreboard;
    int mode = kNoMode;  // index into kModes
    bool recording = true;
    // Whether the score log and the help page exist, as last looked up:
    // the log at start-up and when the score menu opens, the page when the
    // help menu opens. The end of a game sets scoreLogExists without looking,
    // as if the game had just been written down, recording or not.
    bool scoreLogExists = false;
    bool helpPageExists = true;
    bool gameTunePending = false;  // switch to the game tune on the next music tick
    // Entries this run has appended to the score log, so that a view of the
    // log can read what was added without watching the file.
    std::uint32_t entriesRecorded = 0;

    bool operator==(const GameModel&) const = default;
};

// The mode's figures; before start-up chose a mode, no quota and no name.
inline int moleQuota(const GameModel& model)
{
    return model.mode == kNoMode ? 0 : kModes[static_cast<std::size_t>(model.mode)].moleQuota;
}
inline std::string_view modeName(const GameModel& model)
{
    return model.mode == kNoMode ? std::string_view{}
                                 : kModes[static_cast<std::size_t>(model.mode)].name;
}

}  // namespace pokopin::game
