// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Between games: difficulty modes, the recording switch, the score and help
// menus, and the key commands on release.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

int checkedModeCount(const game::WindowView& view)
{
    int n = 0;
    for (const auto& item : view.modeItems)
        n += item.checked ? 1 : 0;
    return n;
}

struct ModeRow {
    int k;
    const char* name;
    int quota;
};

void PrintTo(const ModeRow& r, std::ostream* os)
{
    *os << r.k << " " << r.name << " quota " << r.quota;
}

const ModeRow kModeRows[] = {
    {0, "かんたん", 30}, {1, "ふつう", 50}, {2, "むずい", 100}, {3, "どむず", 105}};

// Everything that must agree with the mode whose item is checked.
void expectConsistentMode(const Rig& rig, int k)
{
    const ModeRow& row = kModeRows[k];
    EXPECT_EQ(checkedModeCount(rig.view()), 1);
    EXPECT_TRUE(rig.view().modeItems[static_cast<std::size_t>(k)].checked) << row.name;
    EXPECT_EQ(rig.view().panelMode, k);
    EXPECT_EQ(game::modeName(rig.model), row.name);
    EXPECT_EQ(game::moleQuota(rig.model), row.quota);
}

class ModeMenu : public ::testing::TestWithParam<ModeRow> {
protected:
    void SetUp() override { rig.loaded(); }
    Rig rig;
};

TEST_P(ModeMenu, ChoosingAnotherModeRepaintsChecksNamesAndPlaysItsEffect)
{
    const int k = GetParam().k;
    if (k == 0)
        rig.inMode(3);  // start from a different mode
    ASSERT_NE(rig.view().panelMode, k);
    rig.logic.modeItemChosen(k);
    expectConsistentMode(rig, k);
    EXPECT_THAT(rig.world.journal, ElementsAre("effect pon.wav"));
}

TEST_P(ModeMenu, ChoosingTheCheckedModeDoesNothing)
{
    const int k = GetParam().k;
    rig.inMode(k);
    const game::GameModel before = rig.model;
    rig.logic.modeItemChosen(k);
    EXPECT_TRUE(rig.model == before) << "no fact of the game may change";
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeMenu, ::testing::ValuesIn(kModeRows),
                         [](const auto& tp) { return modeLabel(tp.param.k); });

TEST(Modes, AnySequenceOfChangesLeavesOneConsistentMode)
{
    Rig rig;
    rig.loaded();
    // Menu choices (repeats of the checked mode included) mixed with arrow keys.
    enum Kind { Menu, Right, Left };
    struct Step {
        Kind kind;
        int mode;  // for Menu
    };
    const std::vector<Step> steps{{Menu, 3}, {Menu, 3},  {Left, 0},  {Menu, 1}, {Right, 0},
                                  {Menu, 0}, {Right, 0}, {Left, 0},  {Left, 0}, {Menu, 2},
                                  {Menu, 2}, {Right, 0}, {Right, 0}, {Menu, 1}, {Left, 0}};
    int expected = 0;
    for (const Step& step : steps) {
        switch (step.kind) {
            case Menu:
                rig.logic.modeItemChosen(step.mode);
                expected = step.mode;
                break;
            case Right:
                rig.logic.keyReleased(game::vk::Right);
                expected = (expected + 1) % 4;
                break;
            case Left:
                rig.logic.keyReleased(game::vk::Left);
                expected = (expected + 3) % 4;
                break;
        }
        expectConsistentMode(rig, expected);
    }
}

TEST(Modes, ChangingModeTouchesNoGameFigures)
{
    Rig rig;
    rig.loaded();
    rig.model.counters.secondsLeft = 14;
    rig.model.missShown[2] = true;
    rig.logic.modeItemChosen(2);
    EXPECT_FALSE(rig.logic.running());
    EXPECT_EQ(rig.model.counters.secondsLeft, 14);
    EXPECT_TRUE(rig.model.missShown[2]);
    EXPECT_EQ(rig.view().clockText, "25");
}

TEST(Modes, MenuIsInertDuringAGame)
{
    Rig rig;
    rig.started();
    rig.logic.modeItemChosen(3);
    expectConsistentMode(rig, 0);
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

// ---------------------------------------------------------------------------
// Keys on release

TEST(KeyUp, RightFourTimesComesBackWithFourModeEffects)
{
    Rig rig;
    rig.loaded();
    std::vector<std::string> names;
    for (int i = 0; i < 4; ++i) {
        rig.logic.keyReleased(game::vk::Right);
        names.emplace_back(game::modeName(rig.model));
    }
    EXPECT_THAT(names, ElementsAre("ふつう", "むずい", "どむず", "かんたん"));
    EXPECT_EQ(rig.world.entries("effect pon.wav").size(), 4u);
    expectConsistentMode(rig, 0);
}

TEST(KeyUp, LeftStepsBackwards)
{
    Rig rig;
    rig.loaded();
    std::vector<std::string> names;
    for (int i = 0; i < 4; ++i) {
        rig.logic.keyReleased(game::vk::Left);
        names.emplace_back(game::modeName(rig.model));
    }
    EXPECT_THAT(names, ElementsAre("どむず", "むずい", "ふつう", "かんたん"));
    EXPECT_EQ(rig.world.entries("effect pon.wav").size(), 4u);
}

TEST(KeyUp, UpTogglesRecordingLikeTheMenu)
{
    Rig rig;
    rig.loaded();
    rig.logic.keyReleased(game::vk::Up);
    EXPECT_FALSE(rig.view().recordItems[0].checked);
    EXPECT_TRUE(rig.view().recordItems[1].checked);
    EXPECT_FALSE(rig.view().recordLabelVisible);
    rig.logic.keyReleased(game::vk::Up);
    EXPECT_TRUE(rig.view().recordItems[0].checked);
    EXPECT_FALSE(rig.view().recordItems[1].checked);
    EXPECT_TRUE(rig.view().recordLabelVisible);
    EXPECT_THAT(rig.world.journal, ElementsAre("effect pipo1.wav", "effect pipo2.wav"));
}

class StartStopKey : public ::testing::TestWithParam<int> {};

TEST_P(StartStopKey, StartsWhenIdleAndStopsWhenRunning)
{
    Rig rig;
    rig.loaded();
    rig.logic.keyReleased(GetParam());
    EXPECT_TRUE(rig.logic.running());
    rig.logic.keyReleased(GetParam());
    EXPECT_FALSE(rig.logic.running());
    EXPECT_EQ(rig.world.entries("effect hue.wav").size(), 1u);
    EXPECT_EQ(rig.world.entries("effect hei.wav").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(DownAndSpace, StartStopKey,
                         ::testing::Values(game::vk::Down, game::vk::Space), [](const auto& tp) {
                             return std::string(tp.param == game::vk::Down ? "Down" : "Space");
                         });

TEST(KeyUp, ArrowsAndOtherKeysDoNothingDuringAGame)
{
    Rig rig;
    rig.started();
    for (int code : {game::vk::Right, game::vk::Left, game::vk::Up, key('S'), 13})
        rig.logic.keyReleased(code);
    EXPECT_TRUE(rig.logic.running());
    expectConsistentMode(rig, 0);
    EXPECT_TRUE(rig.view().recordItems[0].checked);
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

TEST(KeyUp, HoleAndOtherKeysDoNothingWhileIdle)
{
    Rig rig;
    rig.loaded();
    for (int code : {key('S'), key('Q'), 104, 13})
        rig.logic.keyReleased(code);
    EXPECT_FALSE(rig.logic.running());
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

// ---------------------------------------------------------------------------
// Score menu

TEST(ScoreMenu, SwitchItemsToggleRecordingWithTheirSounds)
{
    Rig rig;
    rig.loaded();
    rig.logic.recordItemChosen(1);
    EXPECT_FALSE(rig.view().recordItems[0].checked);
    EXPECT_TRUE(rig.view().recordItems[1].checked);
    EXPECT_FALSE(rig.view().recordLabelVisible);
    rig.logic.recordItemChosen(0);
    EXPECT_TRUE(rig.view().recordItems[0].checked);
    EXPECT_FALSE(rig.view().recordItems[1].checked);
    EXPECT_TRUE(rig.view().recordLabelVisible);
    EXPECT_THAT(rig.world.journal, ElementsAre("effect pipo1.wav", "effect pipo2.wav"));
}

TEST(ScoreMenu, ChoosingTheCheckedItemDoesNothing)
{
    Rig rig;
    rig.loaded();
    rig.logic.recordItemChosen(0);
    rig.logic.recordItemChosen(1);
    rig.logic.recordItemChosen(1);
    EXPECT_THAT(rig.world.journal, ElementsAre("effect pipo1.wav"));
    EXPECT_TRUE(rig.view().recordItems[1].checked);
}

TEST(ScoreMenu, OpeningReevaluatesScoreAsTheLogComesAndGoes)
{
    Rig rig;
    rig.logic.load();  // no log yet
    EXPECT_FALSE(rig.view().scoreLogItem.enabled);
    rig.world.files.files.insert(kScorePath);
    rig.logic.scoreMenuOpening();
    EXPECT_TRUE(rig.view().scoreLogItem.enabled);
    rig.world.files.files.clear();
    rig.logic.scoreMenuOpening();
    EXPECT_FALSE(rig.view().scoreLogItem.enabled);
}

TEST(ScoreMenu, ScoreItemOpensTheLogOnlyWhileReachable)
{
    Rig rig;
    rig.loaded();
    rig.logic.openScoreLog();
    EXPECT_THAT(rig.world.journal, ElementsAre(std::string("open document ") + kScorePath));

    rig.world.journal.clear();
    rig.logic.startGame();
    rig.world.journal.clear();
    rig.logic.openScoreLog();  // Ctrl+S during a game
    rig.logic.recordItemChosen(1);
    EXPECT_THAT(rig.world.journal, IsEmpty());
    EXPECT_TRUE(rig.view().recordItems[0].checked);

    rig.logic.stopGame();
    rig.world.journal.clear();
    rig.model.scoreLogExists = false;
    rig.logic.openScoreLog();
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

// ---------------------------------------------------------------------------
// Help menu

TEST(HelpMenu, OpeningReevaluatesHelpAsThePageComesAndGoes)
{
    Rig rig("/");
    rig.logic.load();
    rig.logic.helpMenuOpening();
    EXPECT_EQ(rig.logic.files().helpPage, "/Help.html");
    EXPECT_FALSE(rig.view().helpItem.enabled);
    rig.world.files.files.insert("/Help.html");
    rig.logic.helpMenuOpening();
    EXPECT_TRUE(rig.view().helpItem.enabled);
}

TEST(HelpMenu, HelpItemOpensThePageOnlyWhileReachable)
{
    Rig rig;
    rig.loaded();
    rig.world.files.files.insert(kHelpPath);
    rig.logic.helpMenuOpening();
    rig.logic.openHelp();
    EXPECT_THAT(rig.world.journal, ElementsAre(std::string("open document ") + kHelpPath));

    rig.world.journal.clear();
    rig.logic.startGame();
    rig.world.journal.clear();
    rig.logic.openHelp();  // F1 during a game
    EXPECT_THAT(rig.world.journal, IsEmpty());

    rig.logic.stopGame();
    rig.world.files.files.clear();
    rig.logic.helpMenuOpening();
    rig.world.journal.clear();
    rig.logic.openHelp();
    EXPECT_THAT(rig.world.journal, IsEmpty());
}

}  // namespace
}  // namespace pokopin::testing
