// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Virtual-key codes as the keyboard handlers compare them. The window maps
// its toolkit's key events onto these codes before calling the handlers.

#include <array>

namespace pokopin::game::vk {

inline constexpr int Space = 32;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Numpad0 = 96;  // Numpad1..9 follow as 97..105

// Hole keys, row by row like the board: [hole] = {keypad key, letter key}.
// clang-format off
inline constexpr std::array<std::array<int, 2>, 9> kHoleKeys{{
    {103, 'Q'}, {104, 'W'}, {105, 'E'},
    {100, 'A'}, {101, 'S'}, {102, 'D'},
    {97, 'Z'}, {98, 'X'}, {99, 'C'},
}};
// clang-format on

}  // namespace pokopin::game::vk
