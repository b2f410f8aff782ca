// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whole games through the handlers: start, clock, end of game and the log.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Plays one second of a game the way the window's timers interleave: five
// spawner ticks each followed by a retreat tick, then the clock. With
// `hitEveryMole` the player whacks each mole right after it rises.
void playSecond(Rig& rig, bool hitEveryMole)
{
    for (int i = 0; i < 5 && rig.logic.running(); ++i) {
        rig.logic.spawnerTick();
        if (hitEveryMole)
            for (int k = 0; k < game::kHoles; ++k)
                if (rig.model.board[static_cast<std::size_t>(k)] == game::Hole::Mole)
                    rig.logic.holeClicked(k);
        rig.logic.retreatTick();
    }
    rig.logic.clockTick();
}

void queueDraws(Rig& rig, int count)
{
    for (int i = 0; i < count; ++i)
        rig.world.random.queueHoles({(i * 4) % 9});
}

TEST(Game, StartShowsTwentyFourAndZerosAndLocksTheMenus)
{
    Rig rig;
    rig.started();
    EXPECT_TRUE(rig.logic.running());
    EXPECT_TRUE(rig.view().gameTimers);
    EXPECT_EQ(rig.model.counters.secondsLeft, 24);
    EXPECT_EQ(rig.view().clockText, "24");
    const game::WindowView view = rig.view();
    for (const std::string* label :
         {&view.scoreText, &view.moleCountText, &view.hitCountText, &view.missCountText})
        EXPECT_EQ(*label, "0");
    EXPECT_FALSE(view.startItem.visible);
    EXPECT_TRUE(view.stopItem.visible);
    EXPECT_FALSE(view.modeMenuEnabled);
    EXPECT_FALSE(view.scoreMenuEnabled);
    EXPECT_FALSE(view.helpMenuEnabled);
    // The exit stays open during a game.
    rig.logic.askToExit();
    EXPECT_THAT(rig.world.journal, ElementsAre("confirm exit"));
}

TEST(Game, StartPlaysItsEffectAndAsksForTheGameTuneWithoutSwitchingYet)
{
    Rig rig;
    rig.loaded();
    rig.logic.startItemChosen();
    EXPECT_THAT(rig.world.journal, ElementsAre("effect hue.wav"));
    EXPECT_TRUE(rig.model.gameTunePending);
    EXPECT_TRUE(rig.view().musicTimer);
    EXPECT_FALSE(rig.view().titleRestartTimer);
}

TEST(Game, FullGameLastsTwentyFourTicksAndLogsPlayTime25)
{
    Rig rig;
    rig.started().inMode(3);
    queueDraws(rig, 200);
    std::string labelAtAppend;
    rig.world.scoreLog.during = [&] { labelAtAppend = rig.view().clockText; };

    std::vector<std::string> labels{rig.view().clockText};
    int seconds = 0;
    while (rig.logic.running() && seconds < 30) {
        playSecond(rig, /*hitEveryMole=*/true);
        ++seconds;
        labels.push_back(rig.view().clockText);
    }

    EXPECT_EQ(seconds, 24);
    std::vector<std::string> expected;
    for (int s = 24; s >= 1; --s)
        expected.push_back(std::to_string(s));
    expected.push_back("25");
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(labelAtAppend, "0") << "the last tick shows 0 before the idle 25";
    EXPECT_EQ(rig.model.counters.secondsLeft, 0);

    ASSERT_EQ(rig.world.scoreLog.records.size(), 1u);
    const game::ScoreRecord& r = rig.world.scoreLog.records[0];
    EXPECT_EQ(r.elapsedSeconds, 25);
    EXPECT_EQ(r.modeName, "どむず");
    EXPECT_GT(r.moleCount, 20);
    EXPECT_EQ(r.hitCount, r.moleCount) << "every mole was whacked";
    EXPECT_EQ(r.missCount, 0);
    const int n = r.hitCount;
    EXPECT_EQ(r.score, n * (n + 1) * (2 * n + 1) / 6) << "an unbroken combo awards 1, 4, 9, ...";

    // The figures stay on screen although the state behind them is reset.
    EXPECT_EQ(rig.view().scoreText, game::numberText(r.score));
    EXPECT_EQ(rig.view().moleCountText, game::numberText(r.moleCount));
    EXPECT_EQ(rig.view().hitCountText, game::numberText(r.hitCount));
    EXPECT_EQ(rig.view().missCountText, "0");
    EXPECT_EQ(rig.model.counters.score, 0);
    EXPECT_EQ(rig.model.counters.moleCount, 0);
}

TEST(Game, StoppedAfterTenTicksLogsElevenAndKeepsFourteenSecondsLeft)
{
    Rig rig;
    rig.started();
    rig.clockTicks(10);
    rig.logic.stopItemChosen();
    EXPECT_FALSE(rig.logic.running());
    ASSERT_EQ(rig.world.scoreLog.records.size(), 1u);
    EXPECT_EQ(rig.world.scoreLog.records[0].elapsedSeconds, 11);
    EXPECT_EQ(rig.model.counters.secondsLeft, 14);
    EXPECT_EQ(rig.view().clockText, "25");

    rig.logic.startGame();
    EXPECT_EQ(rig.model.counters.secondsLeft, 24);
}

TEST(Game, StoppedBeforeTheFirstClockTickLogsOne)
{
    Rig rig;
    rig.started();
    rig.logic.keyReleased(game::vk::Space);
    ASSERT_EQ(rig.world.scoreLog.records.size(), 1u);
    EXPECT_EQ(rig.world.scoreLog.records[0].elapsedSeconds, 1);
}

TEST(Game, EndOfGameRunsItsStepsInOrder)
{
    Rig rig;
    rig.started();
    bool startShownDuringPause = true;
    bool titleTimerDuringPause = false;
    rig.world.pause.during = [&] {
        startShownDuringPause = rig.view().startItem.visible;
        titleTimerDuringPause = rig.view().titleRestartTimer;
    };
    bool timersStoppedAtAppend = false;
    rig.world.scoreLog.during = [&] { timersStoppedAtAppend = !rig.view().gameTimers; };

    rig.logic.stopGame();

    // The window gives the board the focus back when it repaints (tests/ui).
    EXPECT_THAT(rig.world.journal, ElementsAre("stop mogu20", "close mogu20", "effect hei.wav",
                                               std::string("append ") + kScorePath, "repaint",
                                               "pause 500", "open moguana", "play moguana"));
    EXPECT_TRUE(timersStoppedAtAppend);
    EXPECT_EQ(rig.model.entriesRecorded, 1u);
    EXPECT_FALSE(startShownDuringPause) << "スタート returns only after the pause";
    EXPECT_TRUE(titleTimerDuringPause);
    EXPECT_TRUE(rig.view().startItem.visible);
    EXPECT_FALSE(rig.view().stopItem.visible);
    EXPECT_TRUE(rig.view().modeMenuEnabled);
    EXPECT_TRUE(rig.view().scoreMenuEnabled);
    EXPECT_TRUE(rig.view().helpMenuEnabled);
    EXPECT_TRUE(rig.view().scoreLogItem.enabled);
}

TEST(Game, RecordTakesTheDateAtAppendAndTheTimeAtTheEnd)
{
    Rig rig;
    rig.started().inMode(1);
    rig.model.counters.score = -24;
    rig.model.counters.moleCount = 50;
    rig.model.counters.hitCount = 12;
    rig.model.counters.missCount = 3;
    rig.clockTicks(3);
    // The game ends at 23:59:59 on Wednesday; the append runs after midnight.
    rig.world.clock.script = {game::DateTime{2000, 5, 3, 4, 23, 59, 59},
                              game::DateTime{2000, 5, 4, 5, 0, 0, 0}};
    rig.logic.stopGame();

    ASSERT_EQ(rig.world.scoreLog.records.size(), 1u);
    const game::ScoreRecord& r = rig.world.scoreLog.records[0];
    EXPECT_EQ(r.when.year, 2000);
    EXPECT_EQ(r.when.month, 5);
    EXPECT_EQ(r.when.day, 4);
    EXPECT_EQ(r.when.weekday, 5);
    EXPECT_EQ(r.when.hour, 23);
    EXPECT_EQ(r.when.minute, 59);
    EXPECT_EQ(r.when.second, 59);
    EXPECT_EQ(r.modeName, "ふつう");
    EXPECT_EQ(r.elapsedSeconds, 4);
    EXPECT_EQ(r.moleCount, 50);
    EXPECT_EQ(r.hitCount, 12);
    EXPECT_EQ(r.missCount, 3);
    EXPECT_EQ(r.score, -24);
}

TEST(Game, RecordingOffWritesNothing)
{
    Rig rig;
    rig.loaded();
    rig.logic.recordItemChosen(1);
    rig.model.scoreLogExists = false;
    rig.logic.startGame();
    rig.logic.stopGame();
    EXPECT_THAT(rig.world.entries("append"), IsEmpty());
    EXPECT_THAT(rig.world.entries("warn"), IsEmpty());
    EXPECT_TRUE(rig.view().scoreLogItem.enabled) << "the end of a game enables SCORE regardless";
    EXPECT_EQ(rig.model.entriesRecorded, 0u) << "the history must not look for an entry";
}

TEST(Game, FailedAppendStillEndsTheGameAndWarnsLast)
{
    Rig rig;
    rig.started();
    rig.world.scoreLog.result = {false, "Permission denied", EACCES};
    setBoard(rig, "Mm./x../..M");
    rig.model.counters.score = 7;
    rig.model.counters.comboLevel = 2;
    rig.logic.stopGame();

    EXPECT_EQ(rig.world.journal.back(), std::string("warn ") + kScorePath + ": Permission denied ("
                                            + std::to_string(EACCES) + ")");
    EXPECT_EQ(rig.world.journal[rig.world.journal.size() - 2], "play moguana");
    EXPECT_FALSE(rig.logic.running());
    EXPECT_EQ(rig.model.entriesRecorded, 0u) << "nothing was added for the history to read";
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_EQ(rig.model.counters.score, 0);
    EXPECT_EQ(rig.model.counters.comboLevel, 0);
    for (bool up : rig.model.moleUp)
        EXPECT_FALSE(up);
    EXPECT_EQ(rig.view().clockText, "25");
    EXPECT_TRUE(rig.view().titleRestartTimer);
    EXPECT_TRUE(rig.view().startItem.visible);
    EXPECT_TRUE(rig.view().scoreMenuEnabled);
}

TEST(Game, EndResetsTheGameFiguresAndLeavesTheRest)
{
    Rig rig;
    rig.started().inMode(2);
    queueDraws(rig, 40);
    playSecond(rig, false);
    setBoard(rig, "Mm./.x./..M");
    rig.model.missTicks[4] = 0;
    rig.model.counters.score = 40;
    rig.model.counters.hitCount = 3;
    rig.model.counters.missCount = 2;
    rig.model.counters.lastAward = 9;
    rig.model.counters.comboLevel = 3;
    rig.model.spawnPressure[8] = 2;
    rig.model.upTicks[0] = 2;
    rig.model.spawnEnabled = false;
    rig.clockTicks(5);
    const auto missTicks = rig.model.missTicks;
    const auto missShown = rig.model.missShown;

    rig.logic.stopGame();

    EXPECT_EQ(rig.model.counters.score, 0);
    EXPECT_EQ(rig.model.counters.moleCount, 0);
    EXPECT_EQ(rig.model.counters.hitCount, 0);
    EXPECT_EQ(rig.model.counters.missCount, 0);
    EXPECT_EQ(rig.model.counters.comboLevel, 0);
    EXPECT_EQ(rig.model.counters.elapsedSeconds, 1);
    for (int k = 0; k < game::kHoles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_EQ(rig.model.upTicks[i], 0) << k;
        EXPECT_FALSE(rig.model.moleUp[i]) << k;
        EXPECT_EQ(rig.model.spawnPressure[i], 0) << k;
    }
    EXPECT_EQ(board(rig.model), ".../.../...");

    EXPECT_EQ(rig.model.counters.lastAward, 9);
    EXPECT_EQ(rig.model.missTicks, missTicks);
    EXPECT_EQ(rig.model.missShown, missShown);
    EXPECT_TRUE(rig.model.missShown[4]) << "the mark left with the board, the flag stays";
    EXPECT_EQ(rig.model.counters.secondsLeft, 18);
    EXPECT_EQ(rig.model.stayTicks, 4);
    EXPECT_FALSE(rig.model.spawnEnabled);
    EXPECT_EQ(game::moleQuota(rig.model), 100);
    EXPECT_EQ(game::modeName(rig.model), "むずい");
    EXPECT_FALSE(rig.model.gameTunePending) << "the end of a game drops a switch still pending";
    EXPECT_FALSE(rig.view().musicTimer);
}

TEST(Game, SecondGameStartsFromZeros)
{
    Rig rig;
    rig.started().inMode(3);
    queueDraws(rig, 200);
    while (rig.logic.running())
        playSecond(rig, true);
    ASSERT_NE(rig.view().scoreText, "0");

    rig.logic.startGame();
    EXPECT_EQ(rig.model.counters.lastAward, 0);
    EXPECT_EQ(rig.model.counters.comboLevel, 0);
    EXPECT_TRUE(rig.model.spawnEnabled);
    const game::WindowView view = rig.view();
    EXPECT_EQ(view.clockText, "24");
    for (const std::string* label :
         {&view.scoreText, &view.moleCountText, &view.hitCountText, &view.missCountText})
        EXPECT_EQ(*label, "0");
    EXPECT_EQ(board(rig.model), ".../.../...");

    // The first raise of the new game needs the full threshold again.
    rig.inMode(0);
    rig.logic.stopGame();
    rig.logic.startGame();
    rig.world.random.script.clear();
    rig.spawnTick(4);
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.model), ".../.../...");
    setBoard(rig, "M../.../...");
    rig.logic.holeClicked(0);
    EXPECT_EQ(rig.model.counters.score, 1) << "the combo level starts from 0";
}

// ---------------------------------------------------------------------------
// Music timers

TEST(Music, FirstMusicTickAfterTheStartSwitchesToTheGameTuneOnce)
{
    Rig rig;
    rig.started();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("stop moguana", "close moguana", "open mogu20", "play mogu20"));
    EXPECT_FALSE(rig.model.gameTunePending);
    EXPECT_FALSE(rig.view().musicTimer);
    rig.world.journal.clear();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

TEST(Music, IdleMusicTicksDoNothingAndLeaveTheFirstGameItsSwitch)
{
    Rig rig;
    rig.loaded();
    for (int i = 0; i < 3; ++i)
        rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());

    rig.logic.startGame();
    rig.world.journal.clear();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("stop moguana", "close moguana", "open mogu20", "play mogu20"));
}

TEST(Music, TitleTuneRestartsOnlyWhileIdle)
{
    Rig rig;
    rig.loaded();
    rig.logic.titleRestartTick();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("stop moguana", "close moguana", "open moguana", "play moguana"));

    rig.logic.startGame();
    rig.world.journal.clear();
    EXPECT_FALSE(rig.view().titleRestartTimer);
    rig.logic.titleRestartTick();  // even a tick already on its way is ignored during a game
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

// A game stopped before its first music tick must not leave the idle board
// playing the game tune; the next game switches as usual.
TEST(Music, GameEndedBeforeTheFirstMusicTickDropsTheSwitch)
{
    Rig rig;
    rig.started();
    rig.logic.stopGame();
    rig.world.journal.clear();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());
    EXPECT_FALSE(rig.view().musicTimer);

    rig.logic.startGame();
    rig.world.journal.clear();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("stop moguana", "close moguana", "open mogu20", "play mogu20"));
}

// ---------------------------------------------------------------------------
// Exit and unload

TEST(Exit, CancelDuringAGameLetsItRunOn)
{
    Rig rig;
    rig.started();
    rig.world.dialogs.exitAnswer = false;
    rig.world.dialogs.whileOpen = [&] { rig.clockTicks(3); };
    rig.logic.askToExit();
    EXPECT_THAT(rig.world.journal, ElementsAre("confirm exit"));
    EXPECT_TRUE(rig.logic.running());
    EXPECT_EQ(rig.model.counters.secondsLeft, 21) << "the clock ran on behind the box";
}

TEST(Exit, OkStopsBothTunesAndEndsWithoutLogging)
{
    Rig rig;
    rig.started();
    rig.clockTicks(5);
    rig.world.dialogs.exitAnswer = true;
    rig.logic.askToExit();
    EXPECT_THAT(rig.world.journal, ElementsAre("confirm exit", "stop moguana", "close moguana",
                                               "stop mogu20", "close mogu20", "end program"));
}

// The window closes its version dialog after this (tests/app).
TEST(Exit, UnloadStopsTheTunes)
{
    Rig rig;
    rig.started();
    rig.logic.unload();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("stop moguana", "close moguana", "stop mogu20", "close mogu20"));
}

}  // namespace
}  // namespace pokopin::testing
