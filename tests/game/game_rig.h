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

namespace pokopin::testing {

inline constexpr const char* kFolder = "/opt/pokopin";
inline constexpr const char* kScorePath = "/opt/pokopin/Score.txt";
inline constexpr const char* kHelpPath = "/opt/pokopin/Help.html";

struct Rig {
    FakeWorld world;
    game::Game logic;
    game::GameState& st;
    game::Controls& ctl;

    explicit Rig(const std::string& folder = kFolder)
        : logic(world.services(), game::Folders::portable(folder)),
          st(logic.state()),
          ctl(logic.controls()),
          folder_(folder)
    {}
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // load with an existing score log, journal cleared afterwards.
    Rig& loaded()
    {
        world.files.files.insert(programFilePath("Score.txt"));
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

    std::string programFilePath(const std::string& name) const
    {
        return game::joinPath(folder_, name);
    }

private:
    std::string folder_;
};

inline char holeChar(game::HolePicture p)
{
    switch (p) {
        case game::HolePicture::Empty:
            return '.';
        case game::HolePicture::Mole:
            return 'M';
        case game::HolePicture::Whacked:
            return 'm';
        case game::HolePicture::Miss:
            return 'x';
    }
    return '?';
}

inline std::string board(const game::Controls& ctl)
{
    std::string out;
    for (int k = 0; k < game::kHoles; ++k) {
        if (k > 0 && k % 3 == 0)
            out += '/';
        out += holeChar(ctl.holes[static_cast<std::size_t>(k)]);
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
        game::HolePicture p = game::HolePicture::Empty;
        switch (c) {
            case '.':
                p = game::HolePicture::Empty;
                break;
            case 'M':
                p = game::HolePicture::Mole;
                break;
            case 'm':
                p = game::HolePicture::Whacked;
                break;
            case 'x':
                p = game::HolePicture::Miss;
                break;
            default:
                throw std::invalid_argument("bad board character in " + text);
        }
        rig.ctl.holes[i] = p;
        rig.st.moleUp[i] = (c == 'M' || c == 'm');
        rig.st.upTicks[i] = 0;
        if (c == 'x') {
            rig.st.missShown[i] = true;
            rig.st.missTicks[i] = 0;
        }
    }
    if (k != game::kHoles)
        throw std::invalid_argument("board too short: " + text);
}

inline int key(char c)
{
    return c;
}

// Test-name friendly names of the four modes.
inline std::string modeLabel(int k)
{
    static const char* const names[] = {"Kantan", "Futsuu", "Muzui", "Domuzu"};
    return k >= 0 && k < 4 ? names[k] : "mode" + std::to_string(k);
}

}  // namespace pokopin::testing
