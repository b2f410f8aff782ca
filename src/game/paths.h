// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace pokopin::game {

// Where the game reads its data files and keeps its score log. A portable
// folder has both beside the program; an installed copy keeps the log in the
// player's own data folder.
struct Folders {
    std::string data;  // the effects, the tunes and Help.html
    std::string log;   // Score.txt

    static Folders portable(const std::string& folder) { return {folder, folder}; }
};

// folder + "/" + name, with exactly one separator: a folder that already ends
// in "/" (such as the root) gets none added. An empty folder gives the name.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace pokopin::game
