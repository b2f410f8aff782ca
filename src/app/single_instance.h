// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace pokopin::app {

// One running game per user: a lock file in the user's runtime folder, held
// for the life of the process. A lock left behind by a process that died is
// recognised by its process id and taken over.
class SingleInstance {
public:
    enum class Outcome {
        Held,              // this process is the only instance, now holding the lock
        RunningElsewhere,  // another instance holds the lock
        NoLock,            // no lock can be made there; problem() tells why
    };

    // lockPath empty: "pokopin.lock" in the user's runtime folder.
    explicit SingleInstance(QString lockPath = {});
    Outcome acquire();
    QString lockPath() const { return path_; }
    // After NoLock: the lock's path and the reason, for the player to read.
    QString problem() const { return problem_; }

private:
    QString path_;
    QString problem_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace pokopin::app
