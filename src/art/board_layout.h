// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the board, the side panel and the nine holes lie in the main window,
// in 1x pixels. The window lays itself out by these, and the picture
// generator draws the board, panel and hole pictures to fit them.
#pragma once

#include <QPoint>
#include <QRect>

namespace pokopin::art {

inline constexpr int kClientWidth = 640;
inline constexpr int kClientHeight = 480;
inline constexpr QRect kBoardRect{0, 0, 460, 480};
inline constexpr QRect kPanelRect{460, 0, 180, 480};

// Three rows of three square holes. The grass repeats every pitch, so a hole
// picture matches the board under any of the nine places.
inline constexpr int kHoleSize = 100;
inline constexpr int kHolePitchX = 144;
inline constexpr int kHolePitchY = 134;

// Top-left corner of hole `index` (0..8, row by row) on the board.
constexpr QPoint holePosition(int index)
{
    return {32 + kHolePitchX * (index % 3), 40 + kHolePitchY * (index / 3)};
}

}  // namespace pokopin::art
