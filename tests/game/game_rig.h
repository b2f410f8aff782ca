// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A Game wired to a FakeWorld, plus boards written as short strings:
// "M.x/.../.m." reads row by row, with
//   .  empty hole     M  mole up     m  whacked mole     x  miss mark

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>

#include "fakes.h"
#include "game.h"
#include "keys.h"
#include "window_view.h"

namespace pokopin::testing {

inline constexpr const char* kFolder = "/opt/pokopin";
inline constexpr const char* kScorePath = "/opt/pokopin/Score.txt";
inline constexpr const char* kHelpPath = "/opt/pokopin/Help.html";

struct Rig {
    FakeWorld world;
    game::Game logic;
    game::GameModel& model;

    explicit Rig(const std::string& folder = kFolder)
        : logic(world.services(), world.host, filesIn(folder)), model(logic.model())
    {}
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // What the window shows now.
    game::WindowView view() const { return game::viewOf(model); }

    // load with an existing score log, journal cleared afterwards.
    Rig& loaded()
    {
        world.files.files.insert(logic.files().scoreLog.string());
        logic.load();
        world.journal.clear();
        return *this;
    }
    Rig& started()
    {
        loaded();
        logic.startGame();
        world.journal.clear();
        return *this;
    }
    Rig& inMode(int k)
    {
        logic.applyMode(k);
        world.journal.clear();
        return *this;
    }

    // One spawner tick whose draw lands on `hole`.
    void spawnTick(int hole)
    {
        world.random.queueHoles({hole});
        logic.spawnerTick();
    }
    void retreatTicks(int n)
    {
        for (int i = 0; i < n; ++i)
            logic.retreatTick();
    }
    void clockTicks(int n)
    {
        for (int i = 0; i < n; ++i)
            logic.clockTick();
    }
};

inline char holeChar(game::Hole h)
{
    switch (h) {
        case game::Hole::Empty:
            return '.';
        case game::Hole::Mole:
            return 'M';
        case game::Hole::Whacked:
            return 'm';
        case game::Hole::Miss:
            return 'x';
    }
    return '?';
}

inline std::string board(const game::GameModel& model)
{
    std::string out;
    for (int k = 0; k < game::kHoles; ++k) {
        if (k > 0 && k % 3 == 0)
            out += '/';
        out += holeChar(model.board[static_cast<std::size_t>(k)]);
    }
    return out;
}

// Puts the pictures on the board together with the flags a game would have
// set for them: a mole (whacked or not) is up with upTicks 0, a miss mark is
// fresh (missShown, missTicks 0).
inline void setBoard(Rig& rig, const std::string& text)
{
    int k = 0;
    for (char c : text) {
        if (c == '/')
            continue;
        if (k >= game::kHoles)
            throw std::invalid_argument("board too long: " + text);
        const auto i = static_cast<std::size_t>(k++);
        game::Hole h = game::Hole::Empty;
        switch (c) {
            case '.':
                h = game::Hole::Empty;
                break;
            case 'M':
                h = game::Hole::Mole;
                break;
            case 'm':
                h = game::Hole::Whacked;
                break;
            case 'x':
                h = game::Hole::Miss;
                break;
            default:
                throw std::invalid_argument("bad board character in " + text);
        }
        rig.model.board[i] = h;
        rig.model.moleUp[i] = (c == 'M' || c == 'm');
        rig.model.upTicks[i] = 0;
        if (c == 'x') {
            rig.model.missShown[i] = true;
            rig.model.missTicks[i] = 0;
        }
    }
    if (k != game::kHoles)
        throw std::invalid_argument("board too short: " + text);
}

inline int key(char c)
{
    return c;
}

// The four modes in test names.
inline std::string modeLabel(int k)
{
    static const char* const names[] = {"Easy", "Normal", "Hard", "VeryHard"};
    return k >= 0 && k < 4 ? names[k] : "mode" + std::to_string(k);
}

}  // namespace pokopin::testing
