// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The logical state of the main window's controls that the rules read and
// write: which picture each hole shows, menu item states, label texts and
// which timers run. The Qt window mirrors this state; the logic never touches
// a widget.

#include <array>
#include <cstdint>
#include <string>

#include "game_state.h"

namespace pokopin::game {

// The four shared hole pictures, by their index in holePicture. A hole "shows
// holePicture(k)" exactly when its HolePicture equals k: an identity test, never a
// comparison of pixels.
enum class HolePicture : std::uint8_t { Empty = 0, Mole = 1, Whacked = 2, Miss = 3 };

struct MenuItem {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

struct Controls {
    // Window layout values, before start-up changes them.
    std::array<HolePicture, kHoles> holes{};  // Empty everywhere

    bool musicTimer = true;
    bool titleRestartTimer = true;
    bool spawnerTimer = false;  // a game is running exactly while this is enabled
    bool retreatTimer = false;
    bool clockTimer = false;

    MenuItem startItem;                   // "スタート"
    MenuItem stopItem;                    // "ストップ", hidden by start-up
    MenuItem exitItem;                    // "終了"
    MenuItem modeMenu;                    // "設定(&O)"
    std::array<MenuItem, 4> modeItems{};  // the four modes
    MenuItem scoreMenu;                   // "スコア(&S)"
    std::array<MenuItem, 2> recordItems{MenuItem{true, true, true}, MenuItem{}};
    MenuItem scoreLogItem{true, false, false};  // "SCORE", disabled in the layout
    MenuItem helpMenu;                          // "ヘルプ(&H)"
    MenuItem helpItem;                          // "HELP"
    MenuItem aboutItem;                         // "ﾊﾞｰｼﾞｮﾝ情報"

    // Label pairs (white text over its dark shadow) hold one text and one
    // visibility for both labels of the pair.
    std::string moleCountText = "0";
    std::string hitCountText = "0";
    std::string missCountText = "0";
    std::string scoreText = "0";
    bool scoreVisible = true;
    std::string clockText = "20";    // clockText(0) and clockText(1), the clock value
    bool recordLabelVisible = true;  // recordLabel(0) and recordLabel(1), "SCORE RECORD"

    // The mode whose label was last painted into the side panel (-1: none
    // yet), and a count of paints so that a view can tell a repaint of the
    // same label from no paint at all.
    int panelMode = -1;
    std::uint32_t panelPaints = 0;
};

}  // namespace pokopin::game
