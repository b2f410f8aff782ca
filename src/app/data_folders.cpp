// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "data_folders.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <system_error>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "paths.h"

namespace pokopin::app {

namespace {

bool absolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

// The folder holding `path`, lexically: "/usr/bin" gives "/usr", "/usr" and
// "/" give "/". Trailing separators are ignored.
std::string parentFolder(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const auto cut = path.find_last_of('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

bool isFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The home folder from the password database, for a process started
// without HOME (a service, or `env -i`).
std::string homeOfUser()
{
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

}  // namespace

game::Folders findDataFolders(const Surroundings& around)
{
    const std::string& beside = around.programFolder;
    if (around.fileExists(game::joinPath(beside, kDataMarker)))
        return {beside, beside};

    const std::string installed =
        game::joinPath(game::joinPath(parentFolder(beside), "share"), "pokopin");
    if (!around.fileExists(game::joinPath(installed, kDataMarker)))
        return {beside, beside};  // no data anywhere: behave as a bare build does

    // The XDG base-directory rules call a relative XDG_DATA_HOME invalid.
    const std::string dataHome =
        absolute(around.xdgDataHome)
            ? around.xdgDataHome
            : game::joinPath(game::joinPath(around.home, ".local"), "share");
    return {installed, game::joinPath(dataHome, "pokopin")};
}

game::Folders dataFoldersOfThisProgram()
{
    Surroundings around;
    around.programFolder = QCoreApplication::applicationDirPath().toStdString();
    around.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME").toStdString();
    around.home = qEnvironmentVariable("HOME").toStdString();
    if (!absolute(around.home))
        around.home = homeOfUser();
    around.fileExists = [](const std::string& path) {
        return QFileInfo(QString::fromStdString(path)).isFile();
    };
    return findDataFolders(around);
}

int makeFolders(const std::string& folder)
{
    if (folder.empty() || isFolder(folder))
        return 0;
    // A parent that exists but is no folder is left to mkdir() to report.
    const std::string parent = parentFolder(folder);
    struct stat st {};
    if (parent != folder && parent != "." && ::stat(parent.c_str(), &st) != 0)
        if (const int err = makeFolders(parent))
            return err;
    if (::mkdir(folder.c_str(), 0700) == 0)
        return 0;
    const int err = errno;
    return err == EEXIST && isFolder(folder) ? 0 : err;
}

game::AppendResult FolderMakingScoreLog::append(const std::string& path,
                                                const game::ScoreRecord& record)
{
    if (const int err = makeFolders(parentFolder(path)))
        return {false, std::generic_category().message(err), err};
    return inner_.append(path, record);
}

}  // namespace pokopin::app
