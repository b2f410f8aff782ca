// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "data_folders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace pokopin::app {

namespace {

namespace fs = std::filesystem;

fs::path fromQt(const QString& path)
{
    return fs::path(path.toStdString());
}

// The home folder from the password database, for a process started
// without HOME (a service, or `env -i`).
fs::path homeOfUser()
{
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

}  // namespace

game::GameFiles DataFolders::files() const
{
    return {log / kScoreLog, data / kDataMarker};
}

DataFolders findDataFolders(const Surroundings& around)
{
    const fs::path& beside = around.programFolder;
    if (around.fileExists(beside / kDataMarker)) {
        // A log that cannot be written would lose every game recorded: the
        // player's own data folder takes it instead, as for an installed copy.
        const fs::path log = beside / kScoreLog;
        const bool logWritable =
            around.fileExists(log) ? around.writable(log) : around.writable(beside);
        if (logWritable)
            return DataFolders::portable(beside);
        return {beside, around.dataHome / "pokopin"};
    }

    const fs::path installed = beside.parent_path() / "share" / "pokopin";
    if (!around.fileExists(installed / kDataMarker))
        return DataFolders::portable(beside);  // no data anywhere: behave as a bare build does

    return {installed, around.dataHome / "pokopin"};
}

fs::path playerDataHome()
{
    // QStandardPaths gives $XDG_DATA_HOME as it stands, relative or not, and
    // without it builds on $HOME, "/" when HOME is unset. The base-directory
    // rules call a relative XDG_DATA_HOME invalid, and a game started without
    // HOME still belongs to its player, so Qt's answer is taken only where
    // those two cannot have misled it.
    const bool xdgSet = !qEnvironmentVariableIsEmpty("XDG_DATA_HOME");
    const fs::path home = fromQt(qEnvironmentVariable("HOME"));
    if (xdgSet || home.is_absolute()) {
        const fs::path qt =
            fromQt(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        if (qt.is_absolute())
            return qt;
    }
    return (home.is_absolute() ? home : homeOfUser()) / ".local" / "share";
}

DataFolders dataFoldersOfThisProgram()
{
    Surroundings around;
    around.programFolder = fromQt(QCoreApplication::applicationDirPath());
    around.dataHome = playerDataHome();
    around.fileExists = [](const fs::path& path) {
        return QFileInfo(QString::fromStdString(path.string())).isFile();
    };
    around.writable = [](const fs::path& path) { return ::access(path.c_str(), W_OK) == 0; };
    return findDataFolders(around);
}

}  // namespace pokopin::app
