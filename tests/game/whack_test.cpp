// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Whack judgement: hits, misses and their cost, miss marks, hole keys.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using ::testing::ElementsAre;

class Whack : public ::testing::Test {
protected:
    void SetUp() override { rig.started(); }
    // Score gained by one hit on a fresh mole in hole 0.
    int hitAward()
    {
        setBoard(rig, "M../.../...");
        const int before = rig.model.counters.score;
        rig.logic.holeClicked(0);
        return rig.model.counters.score - before;
    }
    void missAt(int hole)
    {
        rig.model.board[static_cast<std::size_t>(hole)] = game::Hole::Empty;
        rig.logic.holeClicked(hole);
    }
    Rig rig;
};

TEST_F(Whack, HitScoresTheSquareOfTheComboLevel)
{
    setBoard(rig, "M../.../...");
    rig.logic.holeClicked(0);
    EXPECT_EQ(board(rig.model), "m../.../...");
    EXPECT_TRUE(rig.model.moleUp[0]) << "a hit leaves the mole up until its retreat";
    EXPECT_EQ(rig.model.counters.hitCount, 1);
    EXPECT_EQ(rig.model.counters.score, 1);
    EXPECT_EQ(rig.view().scoreText, "1");
    EXPECT_EQ(rig.view().hitCountText, "1");
    EXPECT_THAT(rig.world.journal, ElementsAre("effect bisi.wav"));
}

TEST_F(Whack, MissLowersTheComboLevelByOneNotToZero)
{
    std::vector<int> awards;
    for (int i = 0; i < 3; ++i)
        awards.push_back(hitAward());
    missAt(4);
    awards.push_back(hitAward());
    EXPECT_THAT(awards, ElementsAre(1, 4, 9, 9));
    EXPECT_EQ(rig.model.counters.comboLevel, 3);
}

TEST_F(Whack, MissAtComboLevelZeroKeepsItAtZero)
{
    missAt(4);
    EXPECT_EQ(rig.model.counters.comboLevel, 0);
    EXPECT_EQ(hitAward(), 1);
}

struct MissCase {
    int score;
    int lastAward;  // left by the last hit or miss
    int misses;     // earlier misses in this game
    int expected;
};

void PrintTo(const MissCase& c, std::ostream* os)
{
    *os << "score " << c.score << ", last award " << c.lastAward << ", misses " << c.misses
        << " -> " << c.expected;
}

class MissCost : public Whack, public ::testing::WithParamInterface<MissCase> {};

TEST_P(MissCost, ScoreAfterOneMiss)
{
    const MissCase& c = GetParam();
    rig.model.counters.score = c.score;
    rig.model.counters.lastAward = c.lastAward;
    rig.model.counters.missCount = c.misses;
    missAt(4);
    EXPECT_EQ(rig.model.counters.score, c.expected);
    EXPECT_EQ(rig.view().scoreText, game::numberText(c.expected));
    EXPECT_EQ(rig.view().missCountText, game::numberText(c.misses + 1));
    EXPECT_TRUE(rig.world.journal.empty()) << "a miss is silent";
}

INSTANTIATE_TEST_SUITE_P(
    Table, MissCost,
    ::testing::Values(MissCase{10, 0, 0, -20},    // below 700: 30 points, even below zero
                      MissCase{699, 0, 0, 669},   //
                      MissCase{700, 0, 0, 665},   // from 700: 5 %, rounded down
                      MissCase{719, 0, 0, 684},   //
                      MissCase{1000, 0, 0, 950},  //
                      MissCase{0, 0, 0, -2},      // first action of a game
                      MissCase{-20, 0, 1, -24},   // 2 x missCount + last award
                      MissCase{0, 9, 0, -11},     // the award of a hit at combo level 3
                      MissCase{-5, 40, 3, -53}),
    [](const auto& tp) {
        const MissCase& c = tp.param;
        const auto n = [](int v) {
            return (v < 0 ? "minus" : "") + std::to_string(v < 0 ? -v : v);
        };
        return "score" + n(c.score) + "_lastAward" + n(c.lastAward) + "_misses" + n(c.misses);
    });

TEST_F(Whack, TwoMissesFromTenGiveMinusTwentyFour)
{
    rig.model.counters.score = 10;
    missAt(0);
    EXPECT_EQ(rig.model.counters.score, -20);
    EXPECT_EQ(rig.model.counters.lastAward, 0);
    missAt(1);
    EXPECT_EQ(rig.model.counters.score, -24);
    EXPECT_EQ(rig.view().scoreText, "-24");
}

TEST_F(Whack, MissAsFirstActionShowsMinusTwo)
{
    missAt(8);
    EXPECT_EQ(rig.view().scoreText, "-2");
    EXPECT_EQ(board(rig.model), ".../.../..x");
    EXPECT_TRUE(rig.model.missShown[8]);
}

TEST_F(Whack, WhackedMoleAndMissMarkTakeNoWhack)
{
    setBoard(rig, "mx./.../...");
    rig.model.counters.score = 5;
    rig.logic.holeClicked(0);
    rig.logic.holeClicked(1);
    rig.logic.whack(0);
    EXPECT_EQ(board(rig.model), "mx./.../...");
    EXPECT_EQ(rig.model.counters.score, 5);
    EXPECT_EQ(rig.model.counters.hitCount, 0);
    EXPECT_EQ(rig.model.counters.missCount, 0);
    EXPECT_TRUE(rig.world.journal.empty());
}

TEST_F(Whack, SecondClickOnTheSameEmptyHoleBeforeATickIsNoSecondMiss)
{
    rig.logic.holeClicked(4);
    rig.logic.holeClicked(4);
    EXPECT_EQ(rig.model.counters.missCount, 1);
    EXPECT_EQ(rig.model.counters.score, -2);
}

TEST_F(Whack, OutOfRangeHoleIsIgnored)
{
    rig.logic.holeClicked(9);
    rig.logic.whack(-1);
    EXPECT_EQ(rig.model.counters.missCount, 0);
    EXPECT_EQ(board(rig.model), ".../.../...");
}

TEST(WhackWhileIdle, DoesNothing)
{
    Rig rig;
    rig.loaded();
    setBoard(rig, "M../.../...");
    rig.logic.holeClicked(0);
    rig.logic.holeClicked(1);
    rig.logic.keyPressed(key('S'));
    EXPECT_EQ(board(rig.model), "M../.../...");
    EXPECT_EQ(rig.model.counters.hitCount, 0);
    EXPECT_EQ(rig.model.counters.missCount, 0);
    EXPECT_TRUE(rig.world.journal.empty());
}

TEST_F(Whack, MissMarkGoesOnTheNextRetreatTick)
{
    missAt(4);
    rig.logic.retreatTick();
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_FALSE(rig.model.missShown[4]);
    EXPECT_EQ(rig.model.missTicks[4], 1);
    rig.logic.retreatTick();
    EXPECT_EQ(rig.model.missTicks[4], 1) << "no counting once the mark is gone";
}

TEST_F(Whack, MoleRisingOverAMissMarkLeavesTheFlagAndTheNextMissIsNormal)
{
    rig.inMode(3);  // threshold 1, stay 3
    missAt(4);
    rig.spawnTick(4);
    EXPECT_EQ(board(rig.model), ".../.M./...");
    EXPECT_TRUE(rig.model.missShown[4]);

    rig.retreatTicks(1);
    EXPECT_EQ(board(rig.model), ".../.M./...") << "the expiry must not take the mole";
    EXPECT_TRUE(rig.model.missShown[4]);
    rig.retreatTicks(2);  // the mole retreats; the expiry finds an empty hole
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_TRUE(rig.model.missShown[4]);
    EXPECT_EQ(rig.model.missTicks[4], 3);

    const int missesBefore = rig.model.counters.missCount;
    missAt(4);
    EXPECT_EQ(rig.model.counters.missCount, missesBefore + 1);
    EXPECT_EQ(rig.model.missTicks[4], 0);
    rig.retreatTicks(1);
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_FALSE(rig.model.missShown[4]);
}

struct HoleKey {
    int code;
    int hole;
};

void PrintTo(const HoleKey& k, std::ostream* os)
{
    *os << "key " << k.code << " -> hole " << k.hole;
}

class HoleKeys : public Whack, public ::testing::WithParamInterface<HoleKey> {};

TEST_P(HoleKeys, KeyDownWhacksItsHoleOnly)
{
    setBoard(rig, "MMM/MMM/MMM");
    rig.logic.keyPressed(GetParam().code);
    std::string expected = "MMM/MMM/MMM";
    const int h = GetParam().hole;
    expected[static_cast<std::size_t>(h + h / 3)] = 'm';
    EXPECT_EQ(board(rig.model), expected);
}

INSTANTIATE_TEST_SUITE_P(KeypadAndLetters, HoleKeys,
                         ::testing::Values(HoleKey{103, 0}, HoleKey{104, 1}, HoleKey{105, 2},
                                           HoleKey{100, 3}, HoleKey{101, 4}, HoleKey{102, 5},
                                           HoleKey{97, 6}, HoleKey{98, 7}, HoleKey{99, 8},
                                           HoleKey{'Q', 0}, HoleKey{'W', 1}, HoleKey{'E', 2},
                                           HoleKey{'A', 3}, HoleKey{'S', 4}, HoleKey{'D', 5},
                                           HoleKey{'Z', 6}, HoleKey{'X', 7}, HoleKey{'C', 8}),
                         [](const auto& tp) {
                             const HoleKey& k = tp.param;
                             const std::string name =
                                 k.code >= 'A' && k.code <= 'Z'
                                     ? std::string(1, static_cast<char>(k.code))
                                     : "Numpad" + std::to_string(k.code - game::vk::Numpad0);
                             return name + "_hole" + std::to_string(k.hole);
                         });

TEST_F(Whack, OtherKeysWhackNothing)
{
    setBoard(rig, "MMM/M.M/MMM");
    for (int code : {game::vk::Space, game::vk::Left, game::vk::Up, game::vk::Right, game::vk::Down,
                     game::vk::Numpad0, key('R'), key('q'), key('1')})
        rig.logic.keyPressed(code);
    EXPECT_EQ(board(rig.model), "MMM/M.M/MMM");
    EXPECT_TRUE(rig.world.journal.empty());
}

TEST_F(Whack, HeldHoleKeyWhacksOnEveryRepeat)
{
    // Auto-repeat arrives as further key-downs: the first hits, the next find
    // the whacked mole, and once it is gone each repeat is a miss.
    setBoard(rig, ".../.M./...");
    rig.logic.keyPressed(key('S'));
    rig.logic.keyPressed(key('S'));
    EXPECT_EQ(rig.model.counters.hitCount, 1);
    setBoard(rig, ".../.../...");
    rig.logic.keyPressed(key('S'));
    EXPECT_EQ(rig.model.counters.missCount, 1);
}

}  // namespace
}  // namespace pokopin::testing
