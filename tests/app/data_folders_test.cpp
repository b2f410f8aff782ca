// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the program looks for its data and keeps its score log, and the
// creation of the log's folder on the first recorded game.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <string>
#include <system_error>

#include "data_folders.h"
#include "temp_dir.h"

namespace {

using pokopin::app::findDataFolders;
using pokopin::app::makeFolders;
using pokopin::app::Surroundings;
using pokopin::game::Folders;
namespace fs = std::filesystem;

struct LayoutCase {
    const char* name;
    const char* programFolder;
    std::set<std::string> files;
    const char* xdgDataHome;
    const char* data;
    const char* log;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class Layout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, FindsDataAndLogFolders)
{
    const LayoutCase& c = GetParam();
    Surroundings around{c.programFolder, c.xdgDataHome, "/home/ann",
                        [&c](const std::string& path) { return c.files.count(path) > 0; }};
    const Folders found = findDataFolders(around);
    EXPECT_EQ(found.data, c.data);
    EXPECT_EQ(found.log, c.log);
}

const std::string kShared = "/usr/share/pokopin/Help.html";

INSTANTIATE_TEST_SUITE_P(
    Folders, Layout,
    ::testing::Values(
        LayoutCase{"Portable", "/opt/pk", {"/opt/pk/Help.html"}, "", "/opt/pk", "/opt/pk"},
        // A build tree run on a machine that also has the game installed.
        LayoutCase{"PortableWinsOverInstalled",
                   "/usr/bin",
                   {"/usr/bin/Help.html", kShared},
                   "/x",
                   "/usr/bin",
                   "/usr/bin"},
        LayoutCase{"InstalledDefaultLog",
                   "/usr/bin",
                   {kShared},
                   "",
                   "/usr/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        LayoutCase{"InstalledInGames",
                   "/usr/games",
                   {kShared},
                   "",
                   "/usr/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        LayoutCase{"InstalledXdgDataHome",
                   "/usr/bin",
                   {kShared},
                   "/data/ann/",
                   "/usr/share/pokopin",
                   "/data/ann/pokopin"},
        LayoutCase{"RelativeXdgDataHomeIgnored",
                   "/usr/bin",
                   {kShared},
                   "data",
                   "/usr/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        LayoutCase{"InstalledInHome",
                   "/home/ann/.local/bin",
                   {"/home/ann/.local/share/pokopin/Help.html"},
                   "",
                   "/home/ann/.local/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        // Tunes alone do not make a data folder; nor does another prefix's.
        LayoutCase{"NoDataAnywhere",
                   "/usr/local/bin",
                   {"/usr/local/share/pokopin/mogu20.mid", kShared},
                   "/x",
                   "/usr/local/bin",
                   "/usr/local/bin"}),
    [](const ::testing::TestParamInfo<LayoutCase>& param) {
        return std::string(param.param.name);
    });

mode_t modeOf(const fs::path& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(MakeFolders, CreatesMissingParentsPrivateAndLeavesExistingOnesAlone)
{
    pokopin::testing::TempDir dir;
    const fs::path top = dir.path() / "home";
    fs::create_directory(top);
    fs::permissions(top, fs::perms(0755));
    const fs::path leaf = top / ".local" / "share" / "pokopin";
    ASSERT_EQ(makeFolders(leaf.string()), 0);
    EXPECT_TRUE(fs::is_directory(leaf));
    EXPECT_EQ(modeOf(top / ".local"), 0700u);
    EXPECT_EQ(modeOf(leaf), 0700u);
    EXPECT_EQ(modeOf(top), 0755u);
    EXPECT_EQ(makeFolders(leaf.string()), 0);
}

TEST(MakeFolders, ReportsAFileInTheWay)
{
    pokopin::testing::TempDir dir;
    std::ofstream(dir.path() / "share") << "not a folder";
    EXPECT_EQ(makeFolders((dir.path() / "share" / "pokopin").string()), ENOTDIR);
    EXPECT_EQ(makeFolders((dir.path() / "share").string()), EEXIST);
}

// Remembers whether the log's folder was there when the append came.
class FolderWitness : public pokopin::game::ScoreLog {
public:
    pokopin::game::AppendResult append(const std::string& path,
                                       const pokopin::game::ScoreRecord&) override
    {
        ++calls;
        folderThere = fs::is_directory(fs::path(path).parent_path());
        return {};
    }
    int calls = 0;
    bool folderThere = false;
};

TEST(FolderMakingScoreLog, CreatesTheFolderBeforeTheFirstAppend)
{
    pokopin::testing::TempDir dir;
    FolderWitness inner;
    pokopin::app::FolderMakingScoreLog log(inner);
    const fs::path file = dir.path() / "data" / "pokopin" / "Score.txt";
    EXPECT_TRUE(log.append(file.string(), {}).ok);
    EXPECT_EQ(inner.calls, 1);
    EXPECT_TRUE(inner.folderThere);
}

TEST(FolderMakingScoreLog, ReportsAFolderThatCannotBeMadeWithoutAppending)
{
    pokopin::testing::TempDir dir;
    std::ofstream(dir.path() / "data") << "not a folder";
    FolderWitness inner;
    pokopin::app::FolderMakingScoreLog log(inner);
    const auto result = log.append((dir.path() / "data" / "pokopin" / "Score.txt").string(), {});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, ENOTDIR);
    EXPECT_EQ(result.reason, std::generic_category().message(ENOTDIR));
    EXPECT_EQ(inner.calls, 0);
}

}  // namespace
