// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window's states as they follow from the facts of the game.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "game_model.h"
#include "window_view.h"

namespace pokopin::game {

void PrintTo(const MenuItemView& item, std::ostream* os)
{
    *os << (item.visible ? "visible" : "hidden") << (item.enabled ? " enabled" : " disabled")
        << (item.checked ? " checked" : "");
}

}  // namespace pokopin::game

namespace pokopin::testing {
namespace {

using game::MenuItemView;
using game::Phase;

struct ViewCase {
    const char* name;
    // The facts.
    Phase phase;
    bool recording;
    bool scoreLogExists;
    bool helpPageExists;
    int mode;
    bool gameTunePending;
    // What the window shows.
    bool startShown;
    bool stopShown;
    bool menusOpen;  // 設定, スコア and ヘルプ with everything under them
    bool scoreLogEnabled;
    bool helpEnabled;
    bool gameTimers;
    bool musicTimer;
    bool titleRestartTimer;
};

void PrintTo(const ViewCase& c, std::ostream* os)
{
    *os << c.name;
}

class ViewOf : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ViewOf, MenusLabelsAndTimersFollowTheFacts)
{
    const ViewCase& c = GetParam();
    game::GameModel model;
    model.phase = c.phase;
    model.recording = c.recording;
    model.scoreLogExists = c.scoreLogExists;
    model.helpPageExists = c.helpPageExists;
    model.mode = c.mode;
    model.gameTunePending = c.gameTunePending;

    const game::WindowView v = game::viewOf(model);

    EXPECT_EQ(v.startItem, (MenuItemView{c.startShown, true, false}));
    EXPECT_EQ(v.stopItem, (MenuItemView{c.stopShown, true, false}));
    EXPECT_EQ(v.modeMenuEnabled, c.menusOpen);
    EXPECT_EQ(v.scoreMenuEnabled, c.menusOpen);
    EXPECT_EQ(v.helpMenuEnabled, c.menusOpen);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(v.modeItems[static_cast<std::size_t>(k)],
                  (MenuItemView{true, c.menusOpen, k == c.mode}))
            << "mode " << k;
    EXPECT_EQ(v.recordItems[0], (MenuItemView{true, c.menusOpen, c.recording}));
    EXPECT_EQ(v.recordItems[1], (MenuItemView{true, c.menusOpen, !c.recording}));
    EXPECT_EQ(v.scoreLogItem, (MenuItemView{true, c.scoreLogEnabled, false}));
    EXPECT_EQ(v.historyItem, v.scoreLogItem) << "the history goes with the log";
    EXPECT_EQ(v.helpItem, (MenuItemView{true, c.helpEnabled, false}));
    EXPECT_EQ(v.aboutItem, (MenuItemView{true, c.menusOpen, false}));

    EXPECT_EQ(v.recordLabelVisible, c.recording);
    EXPECT_EQ(v.panelMode, c.mode);

    EXPECT_EQ(v.gameTimers, c.gameTimers);
    EXPECT_EQ(v.musicTimer, c.musicTimer);
    EXPECT_EQ(v.titleRestartTimer, c.titleRestartTimer);
}

constexpr int kNone = game::kNoMode;

// clang-format off
const ViewCase kViewCases[] = {
    // name                          phase           rec    log    help   mode   tune
    //                               start  stop   menus  score  help   game   music  title
    {"AsLaidOut",                    Phase::NotLoaded, true,  false, true,  kNone, false,
                                     true,  true,  true,  false, true,  false, false, true},
    {"IdleWithLogAndHelp",           Phase::Idle,    true,  true,  true,  0,     false,
                                     true,  false, true,  true,  true,  false, false, true},
    {"IdleWithoutThemRecordingOff",  Phase::Idle,    false, false, false, 3,     false,
                                     true,  false, true,  false, false, false, false, true},
    {"RunningBeforeTheTuneSwitch",   Phase::Running, true,  true,  true,  2,     true,
                                     false, true,  false, false, false, true,  true,  false},
    {"RunningRecordingOff",          Phase::Running, false, false, false, 1,     false,
                                     false, true,  false, false, false, true,  false, false},
    {"EndingPause",                  Phase::Ending,  true,  true,  true,  0,     false,
                                     false, false, true,  true,  true,  false, false, true},
    {"EndingWithoutHelp",            Phase::Ending,  false, false, false, 3,     false,
                                     false, false, true,  false, false, false, false, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Facts, ViewOf, ::testing::ValuesIn(kViewCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

// The figures on show come from the scoreboard, which outlives the reset of
// the counters at the end of a game; the holes are shown as they are.
TEST(ViewOf, TextsShowTheScoreboardNotTheCounters)
{
    game::GameModel model;
    model.phase = Phase::Idle;
    model.scoreboard = {32, 12, 3, -24, 25};
    model.counters = {};
    model.board[4] = game::Hole::Miss;
    model.board[8] = game::Hole::Whacked;

    const game::WindowView v = game::viewOf(model);
    EXPECT_EQ(v.moleCountText, "32");
    EXPECT_EQ(v.hitCountText, "12");
    EXPECT_EQ(v.missCountText, "3");
    EXPECT_EQ(v.scoreText, "-24");
    EXPECT_EQ(v.clockText, "25");
    EXPECT_EQ(v.holes, model.board);

    EXPECT_EQ(game::viewOf(game::GameModel{}).clockText, "20") << "the layout's clock";
}

}  // namespace
}  // namespace pokopin::testing
