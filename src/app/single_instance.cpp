#include "single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace pokopin::app {

SingleInstance::SingleInstance(QString lockPath) : path_(std::move(lockPath))
{
    if (path_.isEmpty()) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        path_ = QDir(dir.isEmpty() ? QDir::tempPath() : dir).filePath(QStringLiteral("pokopin.lock"));
    }
}

bool SingleInstance::acquire()
{
    if (lock_ && lock_->isLocked())
        return true;
    lock_ = std::make_unique<QLockFile>(path_);
    // The lock is held for hours: it must never count as stale by its age,
    // only when the process that wrote it is gone.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

}  // namespace pokopin::app
