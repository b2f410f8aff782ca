// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

namespace pokopin::app {

SingleInstance::SingleInstance(QString lockPath) : path_(std::move(lockPath))
{
    if (path_.isEmpty()) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        path_ =
            QDir(dir.isEmpty() ? QDir::tempPath() : dir).filePath(QStringLiteral("pokopin.lock"));
    }
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (lock_ && lock_->isLocked())
        return Outcome::Held;
    lock_ = std::make_unique<QLockFile>(path_);
    // The lock is held for hours: it must never count as stale by its age,
    // only when the process that wrote it is gone.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Outcome::Held;
    if (lock_->error() == QLockFile::LockFailedError)
        return Outcome::RunningElsewhere;

    // QLockFile keeps no system error; asking the folder gives the usual
    // one (a missing folder, a read-only file system, no permission).
    const QByteArray folder = QFile::encodeName(QFileInfo(path_).absolutePath());
    struct stat st {};
    int err = 0;
    if (::stat(folder.constData(), &st) != 0)
        err = errno;
    else if (!S_ISDIR(st.st_mode))
        err = ENOTDIR;
    else if (::access(folder.constData(), W_OK | X_OK) != 0)
        err = errno;
    const QString why = err != 0 ? QString::fromLocal8Bit(std::strerror(err))
                                 : QStringLiteral("the file cannot be written; is the disk full?");
    problem_ = path_ + QStringLiteral(": ") + why;
    return Outcome::NoLock;
}

}  // namespace pokopin::app
