// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Mole spawner and retreat.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using ::testing::ElementsAre;

struct ModePace {
    int mode;
    int threshold;  // draws of a hole before its mole rises
    int stay;       // retreat ticks a mole stays up
};

void PrintTo(const ModePace& p, std::ostream* os)
{
    *os << modeLabel(p.mode) << " threshold " << p.threshold << " stay " << p.stay;
}

class Pace : public ::testing::TestWithParam<ModePace> {
protected:
    void SetUp() override { rig.started().inMode(GetParam().mode); }
    Rig rig;
};

TEST_P(Pace, HoleRisesOnTheDrawThatReachesTheThreshold)
{
    for (int i = 1; i < GetParam().threshold; ++i) {
        rig.spawnTick(4);
        EXPECT_EQ(board(rig.model), ".../.../...") << "draw " << i;
    }
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.model), ".../.M./...");
    EXPECT_TRUE(rig.model.moleUp[4]);
    EXPECT_EQ(rig.model.spawnPressure[4], 0);
    EXPECT_EQ(rig.model.counters.moleCount, 1);
    EXPECT_EQ(rig.view().moleCountText, "1");
    EXPECT_EQ(rig.model.stayTicks, GetParam().stay);
    EXPECT_TRUE(rig.world.journal.empty()) << "a mole rises silently";
}

TEST_P(Pace, MoleRetreatsOnItsStayTicksRetreatTick)
{
    for (int i = 0; i < GetParam().threshold; ++i)
        rig.spawnTick(4);
    rig.retreatTicks(GetParam().stay - 1);
    EXPECT_EQ(board(rig.model), ".../.M./...");
    rig.retreatTicks(1);
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_FALSE(rig.model.moleUp[4]);
    EXPECT_EQ(rig.model.upTicks[4], GetParam().stay);
}

TEST_P(Pace, WhackedMoleStaysUntilTheSameRetreatTickAndBlocksItsHole)
{
    for (int i = 0; i < GetParam().threshold; ++i)
        rig.spawnTick(4);
    rig.logic.holeClicked(4);
    for (int i = 1; i < GetParam().stay; ++i) {
        rig.spawnTick(4);  // pressure builds, but the hole is taken
        rig.logic.retreatTick();
        rig.logic.holeClicked(4);
        EXPECT_EQ(board(rig.model), ".../.m./...") << "retreat tick " << i;
    }
    rig.logic.retreatTick();
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_EQ(rig.model.counters.hitCount, 1);
    EXPECT_EQ(rig.model.counters.moleCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, Pace,
                         ::testing::Values(ModePace{0, 3, 5}, ModePace{1, 2, 4}, ModePace{2, 1, 4},
                                           ModePace{3, 1, 3}),
                         [](const auto& tp) { return modeLabel(tp.param.mode); });

class Spawner : public ::testing::Test {
protected:
    void SetUp() override { rig.started(); }
    Rig rig;
};

TEST_F(Spawner, ReseedsWithSecondsSinceMidnightOnEveryTick)
{
    rig.spawnTick(0);
    rig.spawnTick(0);
    EXPECT_THAT(rig.world.random.reseeds, ElementsAre(50709u, 50709u));  // 14:05:09
}

TEST_F(Spawner, DrawMapsOntoTheNineHoles)
{
    const std::vector<std::pair<double, int>> cases{
        {0.0, 0}, {0.11, 0}, {0.12, 1}, {0.5, 4}, {0.88, 7}, {0.9, 8}, {0.99999999999, 8}};
    for (const auto& [r, hole] : cases) {
        const auto before = rig.model.spawnPressure;
        rig.world.random.script.push_back(r);
        rig.logic.spawnerTick();
        auto expected = before;
        ++expected[static_cast<std::size_t>(hole)];
        EXPECT_EQ(rig.model.spawnPressure, expected) << "draw " << r;
        rig.model.spawnPressure.fill(0);  // no mole may rise in between
    }
}

TEST_F(Spawner, DisabledSpawnerTickChangesNothing)
{
    rig.spawnTick(4);
    rig.model.spawnEnabled = false;
    const auto pressure = rig.model.spawnPressure;
    rig.model.stayTicks = 99;
    const int draws = rig.world.random.draws;
    const auto reseeds = rig.world.random.reseeds.size();

    for (int i = 0; i < 5; ++i)
        rig.spawnTick(8);

    EXPECT_EQ(rig.model.spawnPressure, pressure);
    EXPECT_EQ(rig.model.stayTicks, 99);
    EXPECT_EQ(rig.world.random.draws, draws);
    EXPECT_EQ(rig.world.random.reseeds.size(), reseeds);
    EXPECT_EQ(board(rig.model), ".../.../...");
}

TEST_F(Spawner, QuotaReachedMidTickStillRaisesEveryReadyHoleThenStops)
{
    rig.model.counters.moleCount = 29;  // quota 30 in かんたん
    rig.model.spawnPressure[2] = 3;
    rig.model.spawnPressure[5] = 3;
    rig.model.spawnPressure[7] = 2;
    rig.spawnTick(7);
    EXPECT_EQ(board(rig.model), "..M/..M/.M.");
    EXPECT_EQ(rig.model.counters.moleCount, 32);
    EXPECT_EQ(rig.view().moleCountText, "32");
    EXPECT_FALSE(rig.model.spawnEnabled);

    // No further raise for the rest of this game, however the draws fall.
    for (int second = 0; second < 20; ++second) {
        for (int i = 0; i < 5; ++i) {
            rig.spawnTick((second + i) % 9);
            rig.logic.retreatTick();
        }
    }
    EXPECT_EQ(rig.model.counters.moleCount, 32);
    EXPECT_EQ(board(rig.model), ".../.../...");
}

TEST_F(Spawner, PressureBuiltWhileUpRaisesRightAfterTheRetreat)
{
    rig.inMode(3);  // どむず: threshold 1, stay 3
    rig.spawnTick(4);
    rig.logic.retreatTick();
    rig.spawnTick(4);  // drawn while its mole is up
    EXPECT_EQ(rig.model.spawnPressure[4], 1);
    rig.retreatTicks(2);
    EXPECT_EQ(board(rig.model), ".../.../...");

    rig.spawnTick(0);  // another hole is drawn: both rise
    EXPECT_EQ(board(rig.model), "M../.M./...");
    EXPECT_EQ(rig.model.counters.moleCount, 3);
}

TEST_F(Spawner, EasyNeedsThreeDrawsSinceTheLastRaise)
{
    rig.spawnTick(4);
    rig.spawnTick(0);
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.model), ".../.../...");
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.model), ".../.M./...");
    rig.retreatTicks(5);
    rig.spawnTick(4);
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.model), ".../.../...") << "the raise reset the count";
}

TEST_F(Spawner, MoleReplacesAMissMark)
{
    rig.inMode(2);
    rig.logic.holeClicked(3);
    rig.spawnTick(3);
    EXPECT_EQ(board(rig.model), ".../M../...");
    EXPECT_TRUE(rig.model.moleUp[3]);
}

TEST_F(Spawner, WithoutACheckedModeOnlyThePressureMoves)
{
    rig.model.mode = game::kNoMode;
    rig.model.stayTicks = 7;
    for (int i = 0; i < 4; ++i)
        rig.spawnTick(4);
    EXPECT_EQ(rig.model.spawnPressure[4], 4);
    EXPECT_EQ(rig.model.stayTicks, 7);
    EXPECT_EQ(board(rig.model), ".../.../...");
}

}  // namespace
}  // namespace pokopin::testing
