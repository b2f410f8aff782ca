// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The sound effects of the game and the files they are played from.

#include <array>
#include <cstdint>
#include <string_view>

namespace pokopin::game {

enum class Effect : std::uint8_t {
    GameStart,
    Hit,
    GameEnd,
    ModeChange,
    RecordingOff,
    RecordingOn,
};

// Every effect, so that the sound layer can load them all before the first
// one is needed.
inline constexpr std::array<Effect, 6> kEffects{Effect::GameStart,    Effect::Hit,
                                                Effect::GameEnd,      Effect::ModeChange,
                                                Effect::RecordingOff, Effect::RecordingOn};

// The effect's file in the game's data folder.
constexpr std::string_view effectFile(Effect effect)
{
    switch (effect) {
        case Effect::GameStart:
            return "hue.wav";
        case Effect::Hit:
            return "bisi.wav";
        case Effect::GameEnd:
            return "hei.wav";
        case Effect::ModeChange:
            return "pon.wav";
        case Effect::RecordingOff:
            return "pipo1.wav";
        case Effect::RecordingOn:
            return "pipo2.wav";
    }
    return {};
}

}  // namespace pokopin::game
