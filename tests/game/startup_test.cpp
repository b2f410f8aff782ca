// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up of the main window, and the number text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using ::testing::ElementsAre;

TEST(StartUp, WindowLayoutStateHoldsUntilStartUp)
{
    Rig rig;
    EXPECT_TRUE(rig.world.journal.empty()) << "building the logic must not touch the world";
    EXPECT_EQ(rig.view().clockText, "20");
    EXPECT_TRUE(rig.view().stopItem.visible);
    EXPECT_FALSE(rig.view().scoreLogItem.enabled);
    EXPECT_EQ(rig.view().panelMode, game::kNoMode) << "no mode label painted yet";
    for (const auto& item : rig.view().modeItems)
        EXPECT_FALSE(item.checked);
    EXPECT_EQ(rig.model.counters.elapsedSeconds, 0);
    EXPECT_EQ(game::moleQuota(rig.model), 0);
    EXPECT_FALSE(rig.model.spawnEnabled);
    EXPECT_TRUE(game::modeName(rig.model).empty());
}

// The window shows itself, closes the title card and takes the focus once
// the rules' start-up is done (tests/ui).
TEST(StartUp, FirstRunGreetsBeforeTheTitleTune)
{
    Rig rig;
    rig.logic.load();
    EXPECT_THAT(rig.world.journal, ElementsAre("greet", "repaint", "open moguana", "play moguana"));
    EXPECT_FALSE(rig.view().scoreLogItem.enabled);
}

TEST(StartUp, ExistingScoreLogSkipsGreetingAndEnablesScoreItem)
{
    Rig rig;
    rig.world.files.files.insert(kScorePath);
    rig.logic.load();
    EXPECT_TRUE(rig.world.entries("greet").empty());
    EXPECT_TRUE(rig.view().scoreLogItem.enabled);
}

TEST(StartUp, GreetingBoxHoldsStartUpUntilClosed)
{
    Rig rig;
    std::size_t entriesWhileGreeting = 0;
    rig.world.dialogs.whileOpen = [&] { entriesWhileGreeting = rig.world.journal.size(); };
    rig.logic.load();
    EXPECT_EQ(entriesWhileGreeting, 1u) << "nothing may happen before the greeting is closed";
}

TEST(StartUp, LeavesTheIdleBoardInTheEasyMode)
{
    Rig rig;
    rig.loaded();
    EXPECT_EQ(board(rig.model), ".../.../...");
    EXPECT_EQ(rig.view().clockText, "25");
    EXPECT_EQ(rig.model.counters.secondsLeft, 0) << "the labels show 25 while the count is still 0";
    EXPECT_EQ(rig.model.counters.elapsedSeconds, 1);
    EXPECT_TRUE(rig.model.spawnEnabled);
    EXPECT_FALSE(rig.view().stopItem.visible);
    EXPECT_TRUE(rig.view().startItem.visible);
    EXPECT_FALSE(rig.logic.running());
    EXPECT_FALSE(rig.view().gameTimers);
    // The music tick waits for a game: the first game's switch to its tune
    // comes on the first tick after its start.
    EXPECT_FALSE(rig.view().musicTimer);
    EXPECT_TRUE(rig.view().titleRestartTimer);
    EXPECT_FALSE(rig.model.gameTunePending);

    EXPECT_EQ(game::modeName(rig.model), "かんたん");
    EXPECT_EQ(game::moleQuota(rig.model), 30);
    EXPECT_TRUE(rig.view().modeItems[0].checked);
    EXPECT_FALSE(rig.view().modeItems[1].checked);
    EXPECT_FALSE(rig.view().modeItems[2].checked);
    EXPECT_FALSE(rig.view().modeItems[3].checked);
    EXPECT_EQ(rig.view().panelMode, 0);

    EXPECT_TRUE(rig.view().recordItems[0].checked) << "every run starts with recording on";
    EXPECT_FALSE(rig.view().recordItems[1].checked);
    EXPECT_TRUE(rig.view().recordLabelVisible);
}

TEST(StartUp, PaintsTheFirstModeWithoutSound)
{
    Rig rig;
    rig.logic.load();
    EXPECT_TRUE(rig.world.entries("effect").empty());
}

TEST(StartUp, HelpPageIsReachableByF1BeforeTheHelpMenuWasOpened)
{
    Rig rig;
    rig.loaded();
    rig.world.files.files.insert(kHelpPath);
    EXPECT_EQ(rig.logic.files().helpPage, kHelpPath);
    rig.logic.openHelp();
    EXPECT_THAT(rig.world.journal, ElementsAre(std::string("open document ") + kHelpPath));
}

// An installed copy reads its help page from the shared data folder and
// keeps its log in the player's own folder: a Score.txt lying beside the data
// neither spares the greeting nor receives the entries.
TEST(StartUp, InstalledCopyKeepsItsLogApartFromItsData)
{
    FakeWorld world;
    game::Game logic(world.services(), world.host,
                     {"/home/ann/.local/share/pokopin/Score.txt", "/usr/share/pokopin/Help.html"});
    world.files.files.insert("/usr/share/pokopin/Score.txt");
    world.files.files.insert("/usr/share/pokopin/Help.html");
    logic.load();
    EXPECT_EQ(world.entries("greet").size(), 1u);
    EXPECT_FALSE(game::viewOf(logic.model()).scoreLogItem.enabled);

    const std::string log = "/home/ann/.local/share/pokopin/Score.txt";
    world.files.files.insert(log);
    logic.scoreMenuOpening();
    world.journal.clear();
    logic.openScoreLog();
    logic.openHelp();
    EXPECT_THAT(world.journal,
                ElementsAre("open document " + log,
                            std::string("open document /usr/share/pokopin/Help.html")));
    logic.startGame();
    logic.stopGame();
    EXPECT_EQ(world.entries("append"), std::vector<std::string>{"append " + log});
}

struct NumberCase {
    std::int64_t value;
    const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.value;
}

class NumberText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberText, IsPlainDecimal)
{
    EXPECT_EQ(game::numberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberText,
    ::testing::Values(NumberCase{0, "0"}, NumberCase{7, "7"}, NumberCase{25, "25"},
                      NumberCase{-2, "-2"}, NumberCase{-24, "-24"}, NumberCase{1000, "1000"},
                      NumberCase{std::numeric_limits<std::int32_t>::min(), "-2147483648"}));

}  // namespace
}  // namespace pokopin::testing
