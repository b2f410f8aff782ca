// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <atomic>
#include <memory>

#include "game_store.h"
#include "score_history.h"

namespace pokopin::history {

// What one read brings. A read of the whole log comes already sorted into a
// store, built on the reader's thread: for a big log that is the costliest
// step after the reading itself.
struct LogBatch {
    records::LogRead read;             // its games are moved into `store` when fresh
    std::unique_ptr<GameStore> fresh;  // the whole log, when read.restarted
};

// Reads the score log on a thread of its own, so that a big log never holds
// up the game's window. One read at a time, in the order asked for.
class LogLoader : public QObject {
    Q_OBJECT
public:
    explicit LogLoader(std::string path);

    // May be called from any thread: a read under way stops at its next
    // chunk, and no later read starts.
    void cancel() { cancelled_ = true; }

    Q_INVOKABLE void read();

signals:
    void progressed(qint64 done, qint64 total);
    void finished(std::shared_ptr<pokopin::history::LogBatch> batch);

private:
    records::ScoreLogFollower follower_;
    std::atomic<bool> cancelled_{false};
    bool niced_ = false;
};

}  // namespace pokopin::history
