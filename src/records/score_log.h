// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "services.h"

namespace pokopin::records {

// The reason given when the log's path holds no regular file.
extern const char* const kNotRegular;

// The score log on disk. append() adds one whole entry at the end of the file
// (creating it when missing) or leaves the file exactly as it was: on any
// failure the file is cut back to its earlier length, or removed again when
// this call created it, and the result carries the system's message.
// Only a regular file (or a symbolic link to one) is written to; anything
// else is refused with kNotRegular as the reason. An entry after content that
// does not end in CR LF starts with CR LF. Never throws.
class ScoreLogFile : public game::ScoreLog {
public:
    game::AppendResult append(const std::string& path, const game::ScoreRecord& record) override;
};

}  // namespace pokopin::records
