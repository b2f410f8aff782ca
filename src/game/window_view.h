// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The main window's states as they follow from the facts of the game: what
// each hole shows, which menu items are there, enabled or checked, the label
// texts and which timers run. The window applies this and keeps no state of
// its own; the rules judge a menu command by the same view, so that a
// command whose item the player cannot reach does nothing.

#include <array>
#include <cstdint>
#include <string>

#include "game_model.h"

namespace pokopin::game {

struct MenuItemView {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    // Reachable by the player, by mouse or shortcut.
    bool reachable() const { return visible && enabled; }
    bool operator==(const MenuItemView&) const = default;
};

struct WindowView {
    std::array<Hole, kHoles> holes{};
    int panelMode = kNoMode;  // whose label the side panel shows

    // The game menu; its exit item is always there.
    MenuItemView startItem;
    MenuItemView stopItem;
    // The other three menus close for the length of a game. An item under a
    // closed menu is disabled too, so that its shortcut does nothing either.
    bool modeMenuEnabled = true;
    std::array<MenuItemView, kModes.size()> modeItems{};
    bool scoreMenuEnabled = true;
    std::array<MenuItemView, 2> recordItems{};  // "記録する", "記録しない"
    MenuItemView scoreLogItem;
    MenuItemView historyItem;  // "成績グラフ": the log's history, with the log itself
    bool helpMenuEnabled = true;
    MenuItemView helpItem;
    MenuItemView aboutItem;

    // Each text is shown by a label and its shadow alike.
    std::string moleCountText;
    std::string hitCountText;
    std::string missCountText;
    std::string scoreText;
    std::string clockText;
    bool recordLabelVisible = true;  // "SCORE RECORD"

    bool gameTimers = false;  // the spawner, the clock and the retreat
    bool musicTimer = false;
    bool titleRestartTimer = false;

    bool operator==(const WindowView&) const = default;
};

WindowView viewOf(const GameModel& model);

// Plain decimal text: no padding, a minus sign when negative.
std::string numberText(std::int64_t value);

}  // namespace pokopin::game
