// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_view.h"

namespace pokopin::game {

std::string numberText(std::int64_t value)
{
    return std::to_string(value);
}

WindowView viewOf(const GameModel& model)
{
    const Phase phase = model.phase;
    const bool running = phase == Phase::Running;
    // The layout shows both game items; start-up hides ストップ until a
    // game starts, and スタート stays hidden until the end of a game is over.
    const bool startShown = phase == Phase::NotLoaded || phase == Phase::Idle;
    const bool stopShown = phase == Phase::NotLoaded || running;
    const bool menusOpen = !running;

    WindowView v;
    v.holes = model.board;
    v.panelMode = model.mode;

    v.startItem.visible = startShown;
    v.stopItem.visible = stopShown;

    v.modeMenuEnabled = menusOpen;
    for (std::size_t k = 0; k < v.modeItems.size(); ++k)
        v.modeItems[k] = {true, menusOpen, static_cast<int>(k) == model.mode};

    v.scoreMenuEnabled = menusOpen;
    v.recordItems[0] = {true, menusOpen, model.recording};
    v.recordItems[1] = {true, menusOpen, !model.recording};
    v.scoreLogItem = {true, menusOpen && model.scoreLogExists, false};
    v.historyItem = v.scoreLogItem;

    v.helpMenuEnabled = menusOpen;
    v.helpItem = {true, menusOpen && model.helpPageExists, false};
    v.aboutItem = {true, menusOpen, false};

    const Scoreboard& board = model.scoreboard;
    v.moleCountText = numberText(board.moleCount);
    v.hitCountText = numberText(board.hitCount);
    v.missCountText = numberText(board.missCount);
    v.scoreText = numberText(board.score);
    v.clockText = numberText(board.clock);
    v.recordLabelVisible = model.recording;

    v.gameTimers = running;
    // The music tick has work only while a switch to the game tune waits.
    v.musicTimer = model.gameTunePending;
    v.titleRestartTimer = !running;
    return v;
}

}  // namespace pokopin::game
