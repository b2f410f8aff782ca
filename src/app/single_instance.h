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
    // lockPath empty: "pokopin.lock" in the user's runtime folder.
    explicit SingleInstance(QString lockPath = {});
    // True when this process is the only instance, now holding the lock.
    bool acquire();
    QString lockPath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace pokopin::app
