// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace pokopin::game {

// folder + "/" + name, with exactly one separator: a folder that already ends
// in "/" (such as the root) gets none added. An empty folder gives the name.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace pokopin::game
