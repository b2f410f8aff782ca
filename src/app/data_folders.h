// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the program finds its data files and where it keeps its score log.
//
// A portable folder (the build tree, or the program copied somewhere with its
// files) has everything beside the executable, the log included, as long as
// the player can write the log there. An installed copy lives in <prefix>/bin
// with its data in <prefix>/share/pokopin, which the player cannot write to,
// so its log goes to the player's own data folder; so does the log of a
// portable copy in a folder the player cannot write to.

#include <filesystem>
#include <functional>

#include "game.h"

namespace pokopin::app {

struct DataFolders {
    std::filesystem::path data;  // the effects, the tunes and Help.html
    std::filesystem::path log;   // Score.txt

    static DataFolders portable(const std::filesystem::path& folder) { return {folder, folder}; }
    // The score log and the help page in these folders.
    game::GameFiles files() const;
};

// Everything the choice depends on, so that a test can state it outright.
struct Surroundings {
    std::filesystem::path programFolder;  // the executable's folder, absolute
    std::filesystem::path dataHome;       // the player's data folder, playerDataHome()
    std::function<bool(const std::filesystem::path&)> fileExists;
    // Whether the player may write this file, or create files in this folder.
    std::function<bool(const std::filesystem::path&)> writable;
};

// The file whose presence marks a folder as holding the game's data.
inline constexpr const char* kDataMarker = "Help.html";
// The score log's file name, in the log's folder.
inline constexpr const char* kScoreLog = "Score.txt";

// Beside the program when the marker is there, with the log there too if it
// can be written there (an existing Score.txt the player may write, or with
// none yet a folder the player may write) and in <dataHome>/pokopin if not;
// else <program>/../share/pokopin when the marker is there, with the log in
// <dataHome>/pokopin; else beside the program as a last resort.
DataFolders findDataFolders(const Surroundings& around);

// The player's data folder by the XDG base-directory rules, for this
// process: $XDG_DATA_HOME when that is an absolute path, else
// ~/.local/share. The home folder is $HOME when absolute, else the one the
// password database gives the player.
std::filesystem::path playerDataHome();

// findDataFolders() for this process: its executable's folder, the player's
// data folder and the real file system, with writability as access(2) says.
DataFolders dataFoldersOfThisProgram();

}  // namespace pokopin::app
