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
                if (rig.ctl.holes[static_cast<std::size_t>(k)] == game::HolePicture::Mole)
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
    EXPECT_TRUE(rig.ctl.clockTimer);
    EXPECT_TRUE(rig.ctl.retreatTimer);
    EXPECT_EQ(rig.st.secondsLeft, 24);
    EXPECT_EQ(rig.ctl.clockText, "24");
    for (const std::string* label : {&rig.ctl.scoreText, &rig.ctl.moleCountText,
                                     &rig.ctl.hitCountText, &rig.ctl.missCountText})
        EXPECT_EQ(*label, "0");
    EXPECT_FALSE(rig.ctl.startItem.visible);
    EXPECT_TRUE(rig.ctl.stopItem.visible);
    EXPECT_FALSE(rig.ctl.modeMenu.enabled);
    EXPECT_FALSE(rig.ctl.scoreMenu.enabled);
    EXPECT_FALSE(rig.ctl.helpMenu.enabled);
    EXPECT_TRUE(rig.ctl.exitItem.enabled);
}

TEST(Game, StartPlaysHueAndAsksForTheGameTuneWithoutSwitchingYet)
{
    Rig rig;
    rig.loaded();
    rig.logic.startItemChosen();
    EXPECT_THAT(rig.world.journal, ElementsAre("effect hue.wav"));
    EXPECT_TRUE(rig.st.gameMusicPending);
    EXPECT_TRUE(rig.ctl.musicTimer);
    EXPECT_FALSE(rig.ctl.titleRestartTimer);
}

TEST(Game, FullGameLastsTwentyFourTicksAndLogsPlayTime25)
{
    Rig rig;
    rig.started().inMode(3);
    queueDraws(rig, 200);
    std::string labelAtAppend;
    rig.world.scoreLog.during = [&] { labelAtAppend = rig.ctl.clockText; };

    std::vector<std::string> labels{rig.ctl.clockText};
    int seconds = 0;
    while (rig.logic.running() && seconds < 30) {
        playSecond(rig, /*hitEveryMole=*/true);
        ++seconds;
        labels.push_back(rig.ctl.clockText);
    }

    EXPECT_EQ(seconds, 24);
    std::vector<std::string> expected;
    for (int s = 24; s >= 1; --s)
        expected.push_back(std::to_string(s));
    expected.push_back("25");
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(labelAtAppend, "0") << "the last tick shows 0 before the idle 25";
    EXPECT_EQ(rig.st.secondsLeft, 0);

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
    EXPECT_EQ(rig.ctl.scoreText, game::numberText(r.score));
    EXPECT_EQ(rig.ctl.moleCountText, game::numberText(r.moleCount));
    EXPECT_EQ(rig.ctl.hitCountText, game::numberText(r.hitCount));
    EXPECT_EQ(rig.ctl.missCountText, "0");
    EXPECT_EQ(rig.st.score, 0);
    EXPECT_EQ(rig.st.moleCount, 0);
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
    EXPECT_EQ(rig.st.secondsLeft, 14);
    EXPECT_EQ(rig.ctl.clockText, "25");

    rig.logic.startGame();
    EXPECT_EQ(rig.st.secondsLeft, 24);
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
    bool kaisiShownDuringPause = true;
    bool titleTimerDuringPause = false;
    rig.world.pause.during = [&] {
        kaisiShownDuringPause = rig.ctl.startItem.visible;
        titleTimerDuringPause = rig.ctl.titleRestartTimer;
    };
    bool timersStoppedAtAppend = false;
    rig.world.scoreLog.during = [&] {
        timersStoppedAtAppend =
            !rig.ctl.spawnerTimer && !rig.ctl.clockTimer && !rig.ctl.retreatTimer;
    };

    rig.logic.stopGame();

    EXPECT_THAT(rig.world.journal, ElementsAre("stop mogu20", "close mogu20", "effect hei.wav",
                                               std::string("append ") + kScorePath, "focus board",
                                               "pause 500", "open moguana", "play moguana"));
    EXPECT_TRUE(timersStoppedAtAppend);
    EXPECT_FALSE(kaisiShownDuringPause) << "スタート returns only after the pause";
    EXPECT_TRUE(titleTimerDuringPause);
    EXPECT_TRUE(rig.ctl.startItem.visible);
    EXPECT_FALSE(rig.ctl.stopItem.visible);
    EXPECT_TRUE(rig.ctl.modeMenu.enabled);
    EXPECT_TRUE(rig.ctl.scoreMenu.enabled);
    EXPECT_TRUE(rig.ctl.helpMenu.enabled);
    EXPECT_TRUE(rig.ctl.scoreLogItem.enabled);
}

TEST(Game, RecordTakesTheDateAtAppendAndTheTimeAtTheEnd)
{
    Rig rig;
    rig.started().inMode(1);
    rig.st.score = -24;
    rig.st.moleCount = 50;
    rig.st.hitCount = 12;
    rig.st.missCount = 3;
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
    rig.ctl.scoreLogItem.enabled = false;
    rig.logic.startGame();
    rig.logic.stopGame();
    EXPECT_THAT(rig.world.entries("append"), IsEmpty());
    EXPECT_THAT(rig.world.entries("warn"), IsEmpty());
    EXPECT_TRUE(rig.ctl.scoreLogItem.enabled) << "the end of a game enables SCORE regardless";
}

TEST(Game, FailedAppendStillEndsTheGameAndWarnsLast)
{
    Rig rig;
    rig.started();
    rig.world.scoreLog.result = {false, "Permission denied", EACCES};
    setBoard(rig, "Mm./x../..M");
    rig.st.score = 7;
    rig.st.comboLevel = 2;
    rig.logic.stopGame();

    EXPECT_EQ(rig.world.journal.back(), std::string("warn ") + kScorePath + ": Permission denied ("
                                            + std::to_string(EACCES) + ")");
    EXPECT_EQ(rig.world.journal[rig.world.journal.size() - 2], "play moguana");
    EXPECT_FALSE(rig.logic.running());
    EXPECT_EQ(board(rig.ctl), ".../.../...");
    EXPECT_EQ(rig.st.score, 0);
    EXPECT_EQ(rig.st.comboLevel, 0);
    for (bool up : rig.st.moleUp)
        EXPECT_FALSE(up);
    EXPECT_EQ(rig.ctl.clockText, "25");
    EXPECT_TRUE(rig.ctl.titleRestartTimer);
    EXPECT_TRUE(rig.ctl.startItem.visible);
    EXPECT_TRUE(rig.ctl.scoreMenu.enabled);
}

TEST(Game, EndResetsTheGameFiguresAndLeavesTheRest)
{
    Rig rig;
    rig.started().inMode(2);
    queueDraws(rig, 40);
    playSecond(rig, false);
    setBoard(rig, "Mm./.x./..M");
    rig.st.missTicks[4] = 0;
    rig.st.score = 40;
    rig.st.hitCount = 3;
    rig.st.missCount = 2;
    rig.st.lastAward = 9;
    rig.st.comboLevel = 3;
    rig.st.spawnPressure[8] = 2;
    rig.st.upTicks[0] = 2;
    rig.st.spawnEnabled = false;
    rig.clockTicks(5);
    const auto pickedBefore = rig.st.pickedHole;
    ASSERT_NE(pickedBefore, 0) << "the draws should have left a non-zero pick";
    const auto missTicks = rig.st.missTicks;
    const auto missShown = rig.st.missShown;

    rig.logic.stopGame();

    EXPECT_EQ(rig.st.score, 0);
    EXPECT_EQ(rig.st.pickedHole, 0);
    EXPECT_EQ(rig.st.moleCount, 0);
    EXPECT_EQ(rig.st.hitCount, 0);
    EXPECT_EQ(rig.st.missCount, 0);
    EXPECT_EQ(rig.st.comboLevel, 0);
    EXPECT_EQ(rig.st.elapsedSeconds, 1);
    for (int k = 0; k < game::kHoles; ++k) {
        const auto i = static_cast<std::size_t>(k);
        EXPECT_EQ(rig.st.upTicks[i], 0) << k;
        EXPECT_FALSE(rig.st.moleUp[i]) << k;
        EXPECT_EQ(rig.st.spawnPressure[i], 0) << k;
    }
    EXPECT_EQ(board(rig.ctl), ".../.../...");

    EXPECT_EQ(rig.st.lastAward, 9);
    EXPECT_EQ(rig.st.missTicks, missTicks);
    EXPECT_EQ(rig.st.missShown, missShown);
    EXPECT_TRUE(rig.st.missShown[4]) << "the mark left with the board, the flag stays";
    EXPECT_EQ(rig.st.secondsLeft, 18);
    EXPECT_EQ(rig.st.stayTicks, 4);
    EXPECT_FALSE(rig.st.spawnEnabled);
    EXPECT_EQ(rig.st.moleQuota, 100);
    EXPECT_EQ(rig.st.modeName, "むずい");
    EXPECT_FALSE(rig.st.gameMusicPending) << "the end of a game drops a switch still pending";
    EXPECT_TRUE(rig.ctl.musicTimer);
}

TEST(Game, SecondGameStartsFromZeros)
{
    Rig rig;
    rig.started().inMode(3);
    queueDraws(rig, 200);
    while (rig.logic.running())
        playSecond(rig, true);
    ASSERT_NE(rig.ctl.scoreText, "0");

    rig.logic.startGame();
    EXPECT_EQ(rig.st.lastAward, 0);
    EXPECT_EQ(rig.st.comboLevel, 0);
    EXPECT_TRUE(rig.st.spawnEnabled);
    EXPECT_EQ(rig.ctl.clockText, "24");
    for (const std::string* label : {&rig.ctl.scoreText, &rig.ctl.moleCountText,
                                     &rig.ctl.hitCountText, &rig.ctl.missCountText})
        EXPECT_EQ(*label, "0");
    EXPECT_EQ(board(rig.ctl), ".../.../...");

    // The first raise of the new game needs the full threshold again.
    rig.inMode(0);
    rig.logic.stopGame();
    rig.logic.startGame();
    rig.world.random.script.clear();
    rig.spawnTick(4);
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.ctl), ".../.../...");
    setBoard(rig, "M../.../...");
    rig.logic.holeClicked(0);
    EXPECT_EQ(rig.st.score, 1) << "the combo level starts from 0";
}

// ---------------------------------------------------------------------------
// Music timers

TEST(Music, FirstMidiTickAfterTheStartSwitchesToTheGameTuneOnce)
{
    Rig rig;
    rig.started();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("stop moguana", "close moguana", "open mogu20", "play mogu20"));
    EXPECT_FALSE(rig.st.gameMusicPending);
    EXPECT_FALSE(rig.ctl.musicTimer);
    rig.world.journal.clear();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

TEST(Music, IdleMidiTicksDoNothingAndKeepTheTimerRunning)
{
    Rig rig;
    rig.loaded();
    for (int i = 0; i < 3; ++i)
        rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());
    EXPECT_TRUE(rig.ctl.musicTimer);
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
    rig.logic.titleRestartTick();
    rig.ctl.titleRestartTimer = true;  // even a tick already on its way is ignored during a game
    rig.logic.titleRestartTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

// A game stopped before its first music tick must not leave the idle board
// playing the game tune; the next game switches as usual.
TEST(Music, GameEndedBeforeTheFirstMidiTickDropsTheSwitch)
{
    Rig rig;
    rig.started();
    rig.logic.stopGame();
    rig.world.journal.clear();
    rig.logic.musicTick();
    EXPECT_THAT(rig.world.journal, IsEmpty());
    EXPECT_TRUE(rig.ctl.musicTimer);

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
    EXPECT_EQ(rig.st.secondsLeft, 21) << "the clock ran on behind the box";
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

TEST(Exit, UnloadStopsTheTunesThenClosesTheAboutDialog)
{
    Rig rig;
    rig.started();
    rig.logic.unload();
    EXPECT_THAT(rig.world.journal, ElementsAre("stop moguana", "close moguana", "stop mogu20",
                                               "close mogu20", "close about"));
}

}  // namespace
}  // namespace pokopin::testing
