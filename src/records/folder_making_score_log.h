// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>

#include "services.h"

namespace pokopin::records {

// Creates `folder` and any missing parents, each private to the player
// (0700), as the base folder rules ask of a fresh per-user data folder.
// Returns 0 when the folder is there, else the errno of the step that failed.
int makeFolders(const std::filesystem::path& folder);

// A score log that first makes sure the log's folder exists, so that the
// first recorded game of an installed copy creates ~/.local/share/pokopin.
class FolderMakingScoreLog : public game::ScoreLog {
public:
    explicit FolderMakingScoreLog(game::ScoreLog& inner) : inner_(inner) {}
    game::AppendResult append(const std::string& path, const game::ScoreRecord& record) override;

private:
    game::ScoreLog& inner_;
};

}  // namespace pokopin::records
