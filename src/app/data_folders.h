// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the program finds its data files and where it keeps its score log.
//
// A portable folder (the build tree, or the program copied somewhere with its
// files) has everything beside the executable, the log included. An installed
// copy lives in <prefix>/bin with its data in <prefix>/share/pokopin, which
// the player cannot write to, so its log goes to the player's own data folder.

#include <functional>
#include <string>

#include "paths.h"
#include "services.h"

namespace pokopin::app {

// Everything the choice depends on, so that a test can state it outright.
struct Surroundings {
    std::string programFolder;  // the executable's folder, absolute
    std::string xdgDataHome;    // $XDG_DATA_HOME as set, maybe empty
    std::string home;           // the player's home folder
    std::function<bool(const std::string&)> fileExists;
};

// The file whose presence marks a folder as holding the game's data.
inline constexpr const char* kDataMarker = "Help.html";

// Beside the program when the marker is there; else <program>/../share/pokopin
// when the marker is there, with the log in $XDG_DATA_HOME/pokopin (by
// default ~/.local/share/pokopin); else beside the program as a last resort.
game::Folders findDataFolders(const Surroundings& around);

// findDataFolders() for this process: its executable's folder, its
// environment and the real file system.
game::Folders dataFoldersOfThisProgram();

// Creates `folder` and any missing parents, each private to the player
// (0700), as the base folder rules ask of a fresh per-user data folder.
// Returns 0 when the folder is there, else the errno of the step that failed.
int makeFolders(const std::string& folder);

// A score log that first makes sure the log's folder exists, so that the
// first recorded game of an installed copy creates ~/.local/share/pokopin.
class FolderMakingScoreLog : public game::ScoreLog {
public:
    explicit FolderMakingScoreLog(game::ScoreLog& inner) : inner_(inner) {}
    game::AppendResult append(const std::string& path, const game::ScoreRecord& record) override;

private:
    game::ScoreLog& inner_;
};

}  // namespace pokopin::app
