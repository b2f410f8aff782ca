// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the program looks for its data and keeps its score log, and the
// creation of the log's folder on the first recorded game.

#include <gtest/gtest.h>

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <system_error>

#include "data_folders.h"
#include "folder_making_score_log.h"
#include "temp_dir.h"

namespace {

using pokopin::app::DataFolders;
using pokopin::app::findDataFolders;
using pokopin::app::Surroundings;
using pokopin::records::makeFolders;
namespace fs = std::filesystem;

// The writable files and folders are stated, not looked up: the tests run
// as root in CI, where access(2) calls every folder writable, and a
// read-only folder could not be made. The real check is a bare access(2).
struct LayoutCase {
    const char* name;
    const char* programFolder;
    std::set<std::string> files;
    std::set<std::string> writable;
    const char* dataHome;
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
    Surroundings around{c.programFolder, c.dataHome,
                        [&c](const fs::path& path) { return c.files.count(path.string()) > 0; },
                        [&c](const fs::path& path) { return c.writable.count(path.string()) > 0; }};
    const DataFolders found = findDataFolders(around);
    EXPECT_EQ(found.data, c.data);
    EXPECT_EQ(found.log, c.log);
    // The help page comes with the data, the score log goes to the log's folder.
    EXPECT_EQ(found.files().helpPage, fs::path(c.data) / "Help.html");
    EXPECT_EQ(found.files().scoreLog, fs::path(c.log) / "Score.txt");
}

const std::string kShared = "/usr/share/pokopin/Help.html";

INSTANTIATE_TEST_SUITE_P(
    Folders, Layout,
    ::testing::Values(
        LayoutCase{
            "Portable", "/opt/pk", {"/opt/pk/Help.html"}, {"/opt/pk"}, "/x", "/opt/pk", "/opt/pk"},
        // The data still come from beside the program; only the log moves.
        LayoutCase{"ReadOnlyFolder",
                   "/opt/pk",
                   {"/opt/pk/Help.html"},
                   {},
                   "/home/ann/.local/share",
                   "/opt/pk",
                   "/home/ann/.local/share/pokopin"},
        LayoutCase{"ReadOnlyFolderWritableLog",
                   "/opt/pk",
                   {"/opt/pk/Help.html", "/opt/pk/Score.txt"},
                   {"/opt/pk/Score.txt"},
                   "/x",
                   "/opt/pk",
                   "/opt/pk"},
        // The folder would take a new log, but the old one cannot be added to.
        LayoutCase{"WritableFolderReadOnlyLog",
                   "/opt/pk",
                   {"/opt/pk/Help.html", "/opt/pk/Score.txt"},
                   {"/opt/pk"},
                   "/home/ann/.local/share",
                   "/opt/pk",
                   "/home/ann/.local/share/pokopin"},
        // A writable folder without the help page is no data folder.
        LayoutCase{"WritableFolderWithoutHelp",
                   "/usr/bin",
                   {"/usr/bin/Score.txt", kShared},
                   {"/usr/bin", "/usr/bin/Score.txt"},
                   "/home/ann/.local/share",
                   "/usr/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        // A build tree run on a machine that also has the game installed.
        LayoutCase{"PortableWinsOverInstalled",
                   "/usr/bin",
                   {"/usr/bin/Help.html", kShared},
                   {"/usr/bin"},
                   "/x",
                   "/usr/bin",
                   "/usr/bin"},
        LayoutCase{"InstalledDefaultLog",
                   "/usr/bin",
                   {kShared},
                   {},
                   "/home/ann/.local/share",
                   "/usr/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        LayoutCase{"InstalledInGames",
                   "/usr/games",
                   {kShared},
                   {},
                   "/home/ann/.local/share",
                   "/usr/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        LayoutCase{"InstalledXdgDataHome",
                   "/usr/bin",
                   {kShared},
                   {},
                   "/data/ann/",
                   "/usr/share/pokopin",
                   "/data/ann/pokopin"},
        LayoutCase{"InstalledInHome",
                   "/home/ann/.local/bin",
                   {"/home/ann/.local/share/pokopin/Help.html"},
                   {},
                   "/home/ann/.local/share",
                   "/home/ann/.local/share/pokopin",
                   "/home/ann/.local/share/pokopin"},
        // Tunes alone do not make a data folder; nor does another prefix's.
        LayoutCase{"NoDataAnywhere",
                   "/usr/local/bin",
                   {"/usr/local/share/pokopin/mogu20.mid", kShared},
                   {},
                   "/x",
                   "/usr/local/bin",
                   "/usr/local/bin"}),
    [](const ::testing::TestParamInfo<LayoutCase>& param) {
        return std::string(param.param.name);
    });

struct PortableCase {
    const char* folder;
    const char* scoreLog;
    const char* helpPage;
};

void PrintTo(const PortableCase& c, std::ostream* os)
{
    *os << '"' << c.folder << '"';
}

class PortableFiles : public ::testing::TestWithParam<PortableCase> {};

TEST_P(PortableFiles, JoinWithExactlyOneSeparator)
{
    const PortableCase& c = GetParam();
    const pokopin::game::GameFiles files = DataFolders::portable(c.folder).files();
    EXPECT_EQ(files.scoreLog.string(), c.scoreLog);
    EXPECT_EQ(files.helpPage.string(), c.helpPage);
}

INSTANTIATE_TEST_SUITE_P(Folders, PortableFiles,
                         ::testing::Values(PortableCase{"/", "/Score.txt", "/Help.html"},
                                           PortableCase{"/ab", "/ab/Score.txt", "/ab/Help.html"},
                                           PortableCase{"/opt/pokopin", "/opt/pokopin/Score.txt",
                                                        "/opt/pokopin/Help.html"},
                                           PortableCase{"/opt/pokopin/", "/opt/pokopin/Score.txt",
                                                        "/opt/pokopin/Help.html"},
                                           PortableCase{"", "Score.txt", "Help.html"}));

// Sets or unsets one environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = ::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name_, value->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

// The home folder the password database gives this process's user.
std::string homeOfUser()
{
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "/";
}

struct DataHomeCase {
    const char* name;
    std::optional<std::string> xdgDataHome;
    std::optional<std::string> home;
    std::string expected;  // "~" stands for the password database's home folder
};

void PrintTo(const DataHomeCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlayerDataHome : public ::testing::TestWithParam<DataHomeCase> {};

TEST_P(PlayerDataHome, FollowsTheBaseDirectoryRules)
{
    const DataHomeCase& c = GetParam();
    ScopedEnv xdg("XDG_DATA_HOME", c.xdgDataHome);
    ScopedEnv home("HOME", c.home);
    std::string expected = c.expected;
    if (expected.starts_with("~"))
        expected = homeOfUser() + expected.substr(1);
    EXPECT_EQ(pokopin::app::playerDataHome(), fs::path(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, PlayerDataHome,
    ::testing::Values(
        DataHomeCase{"Default", std::nullopt, "/home/ann", "/home/ann/.local/share"},
        DataHomeCase{"EmptyXdgDataHome", "", "/home/ann", "/home/ann/.local/share"},
        DataHomeCase{"XdgDataHome", "/data/ann/", "/home/ann", "/data/ann/"},
        // The base-directory rules call a relative XDG_DATA_HOME invalid.
        DataHomeCase{"RelativeXdgDataHomeIgnored", "data", "/home/ann", "/home/ann/.local/share"},
        // A process started without HOME (a service, `env -i`) still has its player.
        DataHomeCase{"NoHome", std::nullopt, std::nullopt, "~/.local/share"},
        DataHomeCase{"RelativeHome", std::nullopt, "ann", "~/.local/share"},
        DataHomeCase{"XdgDataHomeWithoutHome", "/data/ann", std::nullopt, "/data/ann"}),
    [](const ::testing::TestParamInfo<DataHomeCase>& param) {
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
    pokopin::records::FolderMakingScoreLog log(inner);
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
    pokopin::records::FolderMakingScoreLog log(inner);
    const auto result = log.append((dir.path() / "data" / "pokopin" / "Score.txt").string(), {});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, ENOTDIR);
    EXPECT_EQ(result.reason, std::generic_category().message(ENOTDIR));
    EXPECT_EQ(inner.calls, 0);
}

}  // namespace
