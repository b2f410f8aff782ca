// Start-up of the main window, the path rule and the number text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "game_rig.h"

namespace pokopin::testing {
namespace {

using ::testing::ElementsAre;
using game::HolePicture;

TEST(StartUp, WindowLayoutStateHoldsUntilFormLoad) {
    Rig rig;
    EXPECT_TRUE(rig.world.journal.empty()) << "building the logic must not touch the world";
    EXPECT_EQ(rig.ctl.lblTime, "20");
    EXPECT_TRUE(rig.ctl.mnuChuudan.visible);
    EXPECT_FALSE(rig.ctl.mnuScoreText.enabled);
    EXPECT_EQ(rig.ctl.panelPaints, 0u);
    for (const auto& item : rig.ctl.mnuOptionMode) EXPECT_FALSE(item.checked);
    EXPECT_EQ(rig.st.elapsedSeconds, 0);
    EXPECT_EQ(rig.st.moleQuota, 0);
    EXPECT_FALSE(rig.st.spawnEnabled);
    EXPECT_TRUE(rig.st.modeName.empty());
}

TEST(StartUp, FirstRunGreetsBeforeTitleTuneWindowAndTitleClose) {
    Rig rig;
    rig.logic.Form_Load();
    EXPECT_THAT(rig.world.journal,
                ElementsAre("greet", "repaint main", "open moguana", "play moguana", "show main",
                            "close title", "focus board"));
    EXPECT_FALSE(rig.ctl.mnuScoreText.enabled);
}

TEST(StartUp, ExistingScoreLogSkipsGreetingAndEnablesScoreItem) {
    Rig rig;
    rig.world.files.files.insert(kScorePath);
    rig.logic.Form_Load();
    EXPECT_TRUE(rig.world.entries("greet").empty());
    EXPECT_TRUE(rig.ctl.mnuScoreText.enabled);
}

TEST(StartUp, GreetingBoxHoldsStartUpUntilClosed) {
    Rig rig;
    std::size_t entriesWhileGreeting = 0;
    rig.world.dialogs.whileOpen = [&] { entriesWhileGreeting = rig.world.journal.size(); };
    rig.logic.Form_Load();
    EXPECT_EQ(entriesWhileGreeting, 1u) << "nothing may happen before the greeting is closed";
}

TEST(StartUp, LeavesTheIdleBoardInModeKantan) {
    Rig rig;
    rig.loaded();
    EXPECT_EQ(board(rig.ctl), ".../.../...");
    EXPECT_EQ(rig.ctl.lblTime, "25");
    EXPECT_EQ(rig.st.secondsLeft, 0) << "the labels show 25 while the count is still 0";
    EXPECT_EQ(rig.st.elapsedSeconds, 1);
    EXPECT_TRUE(rig.st.spawnEnabled);
    EXPECT_EQ(rig.st.holeIndex, 9);
    EXPECT_FALSE(rig.ctl.mnuChuudan.visible);
    EXPECT_TRUE(rig.ctl.mnuKaisi.visible);
    EXPECT_FALSE(rig.logic.running());
    EXPECT_FALSE(rig.ctl.timNokori);
    EXPECT_FALSE(rig.ctl.timKesu);
    EXPECT_TRUE(rig.ctl.timMidi);
    EXPECT_TRUE(rig.ctl.timTitleMidi);
    EXPECT_FALSE(rig.st.gameMusicPending);

    EXPECT_EQ(rig.st.modeName, "かんたん");
    EXPECT_EQ(rig.st.moleQuota, 30);
    EXPECT_TRUE(rig.ctl.mnuOptionMode[0].checked);
    EXPECT_FALSE(rig.ctl.mnuOptionMode[1].checked);
    EXPECT_FALSE(rig.ctl.mnuOptionMode[2].checked);
    EXPECT_FALSE(rig.ctl.mnuOptionMode[3].checked);
    EXPECT_EQ(rig.ctl.panelMask, 1);
    EXPECT_EQ(rig.ctl.panelImage, 0);
    EXPECT_EQ(rig.ctl.panelPaints, 1u);

    EXPECT_TRUE(rig.ctl.mnuScoreSave[0].checked) << "every run starts with recording on";
    EXPECT_FALSE(rig.ctl.mnuScoreSave[1].checked);
    EXPECT_TRUE(rig.ctl.lblRecVisible);
}

TEST(StartUp, PaintsTheFirstModeWithoutSound) {
    Rig rig;
    rig.logic.Form_Load();
    EXPECT_TRUE(rig.world.entries("effect").empty());
}

TEST(StartUp, HelpPageIsReachableByF1BeforeTheHelpMenuWasOpened) {
    Rig rig;
    rig.loaded();
    rig.world.files.files.insert(kHelpPath);
    EXPECT_EQ(rig.st.helpFilePath, kHelpPath);
    rig.logic.mnuHelptxt_Click();
    EXPECT_THAT(rig.world.journal, ElementsAre(std::string("open document ") + kHelpPath));
}

struct PathCase {
    const char* folder;
    const char* scorePath;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << '"' << c.folder << '"'; }

class ProgramFilePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(ProgramFilePath, JoinsWithExactlyOneSeparator) {
    const PathCase& c = GetParam();
    EXPECT_EQ(game::programFilePath(c.folder, "Score.txt"), c.scorePath);

    Rig rig(c.folder);
    rig.logic.Form_Load();
    EXPECT_EQ(rig.st.scoreFilePath, c.scorePath);
}

INSTANTIATE_TEST_SUITE_P(Folders, ProgramFilePath,
                         ::testing::Values(PathCase{"C:\\", "C:\\Score.txt"},
                                           PathCase{"/", "/Score.txt"},
                                           PathCase{"/ab", "/ab/Score.txt"},
                                           PathCase{"/opt/pokopin", "/opt/pokopin/Score.txt"},
                                           PathCase{"/opt/pokopin/", "/opt/pokopin/Score.txt"},
                                           PathCase{"C:\\Games\\Pokopin",
                                                    "C:\\Games\\Pokopin\\Score.txt"},
                                           PathCase{"C:/Games", "C:/Games/Score.txt"}));

struct NumberCase {
    std::int64_t value;
    const char* text;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.value; }

class NumberText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberText, IsPlainDecimal) {
    EXPECT_EQ(game::numberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberText,
    ::testing::Values(NumberCase{0, "0"}, NumberCase{7, "7"}, NumberCase{25, "25"},
                      NumberCase{-2, "-2"}, NumberCase{-24, "-24"}, NumberCase{1000, "1000"},
                      NumberCase{std::numeric_limits<std::int32_t>::min(), "-2147483648"}));

}  // namespace
}  // namespace pokopin::testing
