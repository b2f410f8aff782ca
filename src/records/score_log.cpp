// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "score_entry.h"

namespace pokopin::records {

const char* const kNotRegular = "Not a regular file";

namespace {

game::AppendResult failure(int err)
{
    game::AppendResult r;
    r.ok = false;
    r.reason = std::generic_category().message(err);
    r.error = err;
    return r;
}

// Opens the log for appending. `created` tells whether this call made the
// file, so that a failed write can remove it again instead of leaving an
// empty log behind (the next start-up would take that as "played before").
// O_NONBLOCK keeps a FIFO in the log's place from stalling the window for
// good; it changes nothing for a regular file. Symbolic links are followed:
// players keep their logs in synced folders.
int openForAppend(const char* path, int access, bool& created)
{
    const int flags = access | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    created = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::open(path, flags);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        fd = ::open(path, flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            created = true;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
        // Someone else created it in between: open it as an existing file.
    }
    // Still there yet not openable without O_CREAT: a symlink to a missing
    // file. Follow it and create the target, as a plain append would.
    return ::open(path, flags | O_CREAT, 0666);
}

// True when the file has content whose last line is still open: a hand edit
// or a copy cut short. The new entry then starts on a line of its own, or its
// first line would be glued to the old one. A log opened write-only cannot
// be looked at and is taken as it is.
bool lastLineOpen(int fd, off_t length)
{
    if (length == 0)
        return false;
    char tail[2] = {};
    const off_t from = length >= 2 ? length - 2 : 0;
    const auto want = static_cast<size_t>(length - from);
    ssize_t n;
    while ((n = ::pread(fd, tail, want, from)) < 0 && errno == EINTR) {
    }
    if (n != static_cast<ssize_t>(want))
        return false;
    return !(want == 2 && tail[0] == '\r' && tail[1] == '\n');
}

bool writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

game::AppendResult appendEntry(const std::string& path, const game::ScoreRecord& record)
{
    QByteArray bytes = scoreEntryBytes(record);
    if (bytes.isEmpty())
        return {false, "no Shift_JIS encoder in this Qt build"};

    bool created = false;
    int fd = openForAppend(path.c_str(), O_RDWR, created);
    if (fd < 0 && errno == EACCES)  // a log the player may write but not read
        fd = openForAppend(path.c_str(), O_WRONLY, created);
    if (fd < 0)
        return failure(errno);

    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        if (created)
            ::unlink(path.c_str());
        ::close(fd);
        return failure(err);
    }
    // A FIFO, a device or a socket would swallow the entry or hold the game:
    // only a regular file can keep a log.
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return {false, kNotRegular};
    }
    const off_t earlierLength = st.st_size;
    if (lastLineOpen(fd, earlierLength))
        bytes.prepend("\r\n");

    // Best effort: when putting the file back fails too, nothing is left to
    // try. Cutting back also takes away a line break added above.
    auto undo = [&] {
        if (created) {
            ::unlink(path.c_str());
        } else {
            [[maybe_unused]] const int rc = ::ftruncate(fd, earlierLength);
        }
    };

    // One write normally carries the whole entry; the loop only matters when
    // the system accepts part of it and reports the reason on the next call.
    if (!writeAll(fd, bytes.constData(), bytes.size())) {
        const int err = errno;
        undo();
        ::close(fd);
        return failure(err);
    }

    // A delayed write error (full disk with delayed allocation, a network
    // file system, a dying disk) surfaces here, while the entry can still be
    // taken back. Devices that cannot be synced answer EINVAL: nothing to do.
    if (::fdatasync(fd) != 0 && errno != EINVAL) {
        const int err = errno;
        undo();
        ::close(fd);
        return failure(err);
    }

    if (::close(fd) != 0 && errno != EINTR) {
        const int err = errno;
        if (created) {
            ::unlink(path.c_str());
        } else {
            [[maybe_unused]] const int rc = ::truncate(path.c_str(), earlierLength);
        }
        return failure(err);
    }
    return {};
}

}  // namespace

game::AppendResult ScoreLogFile::append(const std::string& path, const game::ScoreRecord& record)
{
    try {
        return appendEntry(path, record);
    } catch (...) {
        // Only memory can run out, and only before the file is touched or
        // after it has been put back.
        game::AppendResult r;
        r.ok = false;
        return r;
    }
}

}  // namespace pokopin::records
