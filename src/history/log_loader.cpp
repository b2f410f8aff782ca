// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "log_loader.h"

#include <sys/resource.h>
#include <unistd.h>

namespace pokopin::history {

LogLoader::LogLoader(std::string path) : follower_(std::move(path)) {}

void LogLoader::read()
{
    if (cancelled_)
        return;
    if (!niced_) {
        // Reading is background work: on a busy machine the game's own
        // thread goes first. Linux takes a thread id here; failure only
        // leaves the priority as it was.
        niced_ = true;
        [[maybe_unused]] const int rc = ::setpriority(PRIO_PROCESS, id_t(::gettid()), 10);
    }
    auto batch = std::make_shared<LogBatch>();
    batch->read = follower_.readNew([this](std::int64_t done, std::int64_t total) {
        emit progressed(done, total);
        return !cancelled_;
    });
    if (batch->read.restarted) {
        batch->fresh = std::make_unique<GameStore>();
        batch->fresh->append(std::move(batch->read.games));
        batch->read.games.clear();
    }
    emit finished(std::move(batch));
}

}  // namespace pokopin::history
