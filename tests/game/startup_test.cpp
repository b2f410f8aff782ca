// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Start-up of the main window, the path rule and the number text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using game::HolePicture;
using ::testing::ElementsAre;

TEST(StartUp, WindowLayoutStateHoldsUntilFormLoad)
{
    Rig rig;
    EXPECT_TRUE(rig.world.journal.empty()) << "building the logic must not touch the world";
    EXPECT_EQ(rig.ctl.clockText, "20");
    EXPECT_TRUE(rig.ctl.stopItem.visible);
    EXPECT_FALSE(rig.ctl.scoreLogItem.enabled);
    EXPECT_EQ(rig.ctl.panelPaints, 0u);
    for (const auto& item : rig.ctl.modeItems)
        EXPECT_FALSE(item.checked);
    EXPECT_EQ(rig.st.elapsedSeconds, 0);
    EXPECT_EQ(rig.st.moleQuota, 0);
    EXPECT_FALSE(rig.st.spawnEnabled);
    EXPECT_TRUE(rig.st.modeName.empty());
}

TEST(StartUp, FirstRunGreetsBeforeTitleTuneWindowAndTitleClose)
{
    Rig rig;
    rig.logic.load();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("greet", "repaint main", "open moguana", "play moguana", "show main",
                            "close title", "focus board"));
    EXPECT_FALSE(rig.ctl.scoreLogItem.enabled);
}

TEST(StartUp, ExistingScoreLogSkipsGreetingAndEnablesScoreItem)
{
    Rig rig;
    rig.world.files.files.insert(kScorePath);
    rig.logic.load();
    EXPECT_TRUE(rig.world.entries("greet").empty());
    EXPECT_TRUE(rig.ctl.scoreLogItem.enabled);
}

TEST(StartUp, GreetingBoxHoldsStartUpUntilClosed)
{
    Rig rig;
    std::size_t entriesWhileGreeting = 0;
    rig.world.dialogs.whileOpen = [&] { entriesWhileGreeting = rig.world.journal.size(); };
    rig.logic.load();
    EXPECT_EQ(entriesWhileGreeting, 1u) << "nothing may happen before the greeting is closed";
}

TEST(StartUp, LeavesTheIdleBoardInModeKantan)
{
    Rig rig;
    rig.loaded();
    EXPECT_EQ(board(rig.ctl), ".../.../...");
    EXPECT_EQ(rig.ctl.clockText, "25");
    EXPECT_EQ(rig.st.secondsLeft, 0) << "the labels show 25 while the count is still 0";
    EXPECT_EQ(rig.st.elapsedSeconds, 1);
    EXPECT_TRUE(rig.st.spawnEnabled);
    EXPECT_FALSE(rig.ctl.stopItem.visible);
    EXPECT_TRUE(rig.ctl.startItem.visible);
    EXPECT_FALSE(rig.logic.running());
    EXPECT_FALSE(rig.ctl.clockTimer);
    EXPECT_FALSE(rig.ctl.retreatTimer);
    EXPECT_TRUE(rig.ctl.musicTimer);
    EXPECT_TRUE(rig.ctl.titleRestartTimer);
    EXPECT_FALSE(rig.st.gameMusicPending);

    EXPECT_EQ(rig.st.modeName, "かんたん");
    EXPECT_EQ(rig.st.moleQuota, 30);
    EXPECT_TRUE(rig.ctl.modeItems[0].checked);
    EXPECT_FALSE(rig.ctl.modeItems[1].checked);
    EXPECT_FALSE(rig.ctl.modeItems[2].checked);
    EXPECT_FALSE(rig.ctl.modeItems[3].checked);
    EXPECT_EQ(rig.ctl.panelMode, 0);
    EXPECT_EQ(rig.ctl.panelPaints, 1u);

    EXPECT_TRUE(rig.ctl.recordItems[0].checked) << "every run starts with recording on";
    EXPECT_FALSE(rig.ctl.recordItems[1].checked);
    EXPECT_TRUE(rig.ctl.recordLabelVisible);
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
    EXPECT_EQ(rig.st.helpFilePath, kHelpPath);
    rig.logic.openHelp();
    EXPECT_THAT(rig.world.journal, ElementsAre(std::string("open document ") + kHelpPath));
}

// An installed copy reads its help page from the shared data folder and
// keeps its log in the player's own folder: a Score.txt lying beside the data
// neither spares the greeting nor receives the entries.
TEST(StartUp, InstalledCopyKeepsItsLogApartFromItsData)
{
    FakeWorld world;
    game::Game logic(world.services(), {"/usr/share/pokopin", "/home/ann/.local/share/pokopin"});
    world.files.files.insert("/usr/share/pokopin/Score.txt");
    world.files.files.insert("/usr/share/pokopin/Help.html");
    logic.load();
    EXPECT_EQ(world.entries("greet").size(), 1u);
    EXPECT_FALSE(logic.controls().scoreLogItem.enabled);

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

struct PathCase {
    const char* folder;
    const char* scorePath;
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    *os << '"' << c.folder << '"';
}

class JoinPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(JoinPath, JoinsWithExactlyOneSeparator)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(game::joinPath(c.folder, "Score.txt"), c.scorePath);

    Rig rig(c.folder);
    rig.logic.load();
    EXPECT_EQ(rig.st.scoreFilePath, c.scorePath);
}

INSTANTIATE_TEST_SUITE_P(Folders, JoinPath,
                         ::testing::Values(PathCase{"/", "/Score.txt"},
                                           PathCase{"/ab", "/ab/Score.txt"},
                                           PathCase{"/opt/pokopin", "/opt/pokopin/Score.txt"},
                                           PathCase{"/opt/pokopin/", "/opt/pokopin/Score.txt"},
                                           PathCase{"", "Score.txt"}));

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
