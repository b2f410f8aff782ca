// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Appending to the score log on a real file system: one whole entry or
// nothing. Most cases run the append in a forked child, which may drop to
// the unprivileged user "nobody" (root ignores permission bits) or lower its
// file size limit to force a write that stops part-way.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>

#include "score_entry.h"
#include "score_log.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pokopin::game::AppendResult;
using pokopin::game::ScoreRecord;
using pokopin::records::kNotRegular;
using pokopin::records::scoreEntryBytes;
using pokopin::records::ScoreLogFile;
using pokopin::testing::TempDir;

constexpr uid_t kNobody = 65534;

ScoreRecord record(int score)
{
    ScoreRecord r;
    r.when = {2000, 5, 3, 4, 14, 5, 9};
    r.modeName = "ふつう";
    r.elapsedSeconds = 25;
    r.moleCount = 50;
    r.hitCount = 12;
    r.missCount = 3;
    r.score = score;
    return r;
}

QByteArray readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return QByteArray::fromStdString(s);
}

void writeFile(const fs::path& p, const QByteArray& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.constData(), bytes.size());
}

// Everything a failed append must leave as it was, in one comparable string.
std::string describe(const fs::path& p)
{
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0)
        return "missing";
    if (S_ISLNK(st.st_mode))
        return "symlink to " + fs::read_symlink(p).string();
    if (S_ISDIR(st.st_mode))
        return "directory of "
               + std::to_string(std::distance(fs::directory_iterator(p), fs::directory_iterator()))
               + " entries";
    if (S_ISREG(st.st_mode))
        return "file mode " + std::to_string(st.st_mode & 07777) + " bytes "
               + readFile(p).toHex(' ').toStdString();
    return "special file";
}

struct ChildLimits {
    bool asNobody = false;
    rlim_t maxFileSize = RLIM_INFINITY;
};

// Runs the append in a child process under the given limits; the child
// reports the result through its exit status and a pipe.
AppendResult appendInChild(const fs::path& path, const ScoreRecord& r, ChildLimits limits)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(10);  // an append that blocks ends here, not in a hung test
        if (limits.asNobody && ::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0
                || ::geteuid() != kNobody)
                ::_exit(10);
        }
        if (limits.maxFileSize != RLIM_INFINITY) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit rl{limits.maxFileSize, limits.maxFileSize};
            if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
                ::_exit(11);
        }
        const AppendResult res = ScoreLogFile().append(path.string(), r);
        // The error code first, then the reason's text.
        std::string message(reinterpret_cast<const char*>(&res.error), sizeof res.error);
        message += res.reason;
        const ssize_t written = ::write(fds[1], message.data(), message.size());
        ::_exit(written == static_cast<ssize_t>(message.size()) ? (res.ok ? 0 : 1) : 12);
    }
    ::close(fds[1]);
    AppendResult result;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        result.reason.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (result.reason.size() >= sizeof result.error) {
        std::memcpy(&result.error, result.reason.data(), sizeof result.error);
        result.reason.erase(0, sizeof result.error);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "child died, status " << status;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    EXPECT_TRUE(code == 0 || code == 1) << "child could not set up its limits, exit " << code;
    result.ok = code == 0;
    return result;
}

TEST(ScoreLogFile, FirstAppendCreatesFileWithOneEntry)
{
    TempDir dir;
    const fs::path log = dir.path() / "Score.txt";
    const AppendResult res = ScoreLogFile().append(log.string(), record(312));
    EXPECT_TRUE(res.ok) << res.reason;
    EXPECT_EQ(readFile(log).toHex(' '), scoreEntryBytes(record(312)).toHex(' '));
}

TEST(ScoreLogFile, SymlinkToMissingFileCreatesTheTarget)
{
    TempDir dir;
    const fs::path log = dir.path() / "Score.txt";
    fs::create_symlink("target.txt", log);
    const AppendResult res = ScoreLogFile().append(log.string(), record(1));
    EXPECT_TRUE(res.ok) << res.reason;
    EXPECT_TRUE(fs::is_symlink(log));
    EXPECT_EQ(readFile(dir.path() / "target.txt"), scoreEntryBytes(record(1)));
}

// What is already at the log's path. Earlier content is never rewritten, and
// the entry starts on a line of its own; anything but a regular file (or a
// link to one) is refused at once, even a FIFO nobody reads.
enum class Holder { File, LinkToFile, Fifo, Device };

struct ExistingCase {
    const char* name;
    Holder holder;
    std::string earlier;  // the regular file's content
    std::string start;    // what precedes the new entry afterwards
};

void PrintTo(const ExistingCase& c, std::ostream* os)
{
    *os << c.name;
}

class ScoreLogExistingFile : public ::testing::TestWithParam<ExistingCase> {};

TEST_P(ScoreLogExistingFile, EntryStartsOnItsOwnLineInRegularFilesOnly)
{
    const ExistingCase& c = GetParam();
    TempDir dir;
    const fs::path log = dir.path() / "Score.txt";
    switch (c.holder) {
        case Holder::File:
            writeFile(log, QByteArray::fromStdString(c.earlier));
            break;
        case Holder::LinkToFile:
            writeFile(dir.path() / "synced.txt", QByteArray::fromStdString(c.earlier));
            fs::create_symlink("synced.txt", log);
            break;
        case Holder::Fifo:
            ASSERT_EQ(::mkfifo(log.c_str(), 0666), 0);
            break;
        case Holder::Device:
            fs::create_symlink("/dev/null", log);
            break;
    }
    const std::string before = describe(log);

    const AppendResult res = appendInChild(log, record(312), {});

    if (c.holder == Holder::Fifo || c.holder == Holder::Device) {
        EXPECT_FALSE(res.ok);
        EXPECT_EQ(res.reason, kNotRegular);
        EXPECT_EQ(describe(log), before);
    } else {
        EXPECT_TRUE(res.ok) << res.reason;
        EXPECT_EQ(readFile(log).toHex(' '),
                  (QByteArray::fromStdString(c.start) + scoreEntryBytes(record(312))).toHex(' '));
    }
}

const ExistingCase existingCases[] = {
    {"Empty", Holder::File, "", ""},
    {"EndsInCrLf", Holder::File, "\x81\x99old\r\n", "\x81\x99old\r\n"},
    {"CutMidLine", Holder::File, std::string("\x81\x99old\r\n\0\xff-", 10),
     std::string("\x81\x99old\r\n\0\xff-\r\n", 12)},
    {"EndsInBareLf", Holder::File, "old\n", "old\n\r\n"},
    {"EndsInBareCr", Holder::File, "old\r", "old\r\r\n"},
    {"OneByte", Holder::File, "\n", "\n\r\n"},
    {"LinkToFileCutMidLine", Holder::LinkToFile, "old", "old\r\n"},
    {"FifoWithoutReader", Holder::Fifo, "", ""},
    {"CharacterDevice", Holder::Device, "", ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScoreLogExistingFile, ::testing::ValuesIn(existingCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

// Controls for the child-process cases below: the same set-up with room to
// write must succeed, or a failure there could come from the set-up alone.
TEST(ScoreLogFile, NobodyAppendsInWritableFolder)
{
    TempDir dir;
    const fs::path folder = dir.path() / "open";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms(0777));
    const fs::path log = folder / "Score.txt";
    const AppendResult res = appendInChild(log, record(5), {true, RLIM_INFINITY});
    EXPECT_TRUE(res.ok) << res.reason;
    EXPECT_EQ(readFile(log), scoreEntryBytes(record(5)));
}

TEST(ScoreLogFile, AppendWithinFileSizeLimitSucceeds)
{
    TempDir dir;
    const fs::path log = dir.path() / "Score.txt";
    writeFile(log, "earlier\r\n");
    const auto limit = static_cast<rlim_t>(9 + scoreEntryBytes(record(5)).size());
    const AppendResult res = appendInChild(log, record(5), {false, limit});
    EXPECT_TRUE(res.ok) << res.reason;
    EXPECT_EQ(readFile(log), "earlier\r\n" + scoreEntryBytes(record(5)));
}

struct FailCase {
    const char* name;
    // Prepares the folder and returns the log path to append to.
    std::function<fs::path(const fs::path& dir)> setUp;
    ChildLimits limits;
    int expectedErrno;
};

class ScoreLogFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(ScoreLogFailure, LeavesFileAsItWasAndGivesSystemReason)
{
    const FailCase& c = GetParam();
    TempDir dir;
    const fs::path log = c.setUp(dir.path());
    const std::string before = describe(log);

    const AppendResult res = appendInChild(log, record(312), c.limits);

    EXPECT_FALSE(res.ok);
    const std::string systemMessage = std::generic_category().message(c.expectedErrno);
    EXPECT_NE(res.reason.find(systemMessage), std::string::npos)
        << "reason \"" << res.reason << "\" lacks \"" << systemMessage << "\"";
    EXPECT_EQ(res.error, c.expectedErrno);
    EXPECT_EQ(describe(log), before);
}

const FailCase failCases[] = {
    {"LogNameIsAFolder",
     [](const fs::path& d) {
         fs::create_directory(d / "Score.txt");
         return d / "Score.txt";
     },
     {},
     EISDIR},
    {"FolderMissing", [](const fs::path& d) { return d / "gone" / "Score.txt"; }, {}, ENOENT},
    {"ReadOnlyFolder",
     [](const fs::path& d) {
         fs::create_directory(d / "ro");
         fs::permissions(d / "ro", fs::perms(0555));
         return d / "ro" / "Score.txt";
     },
     {true, RLIM_INFINITY},
     EACCES},
    {"ReadOnlyFile",
     [](const fs::path& d) {
         fs::permissions(d, fs::perms(0777));
         writeFile(d / "Score.txt", "earlier\r\n");
         fs::permissions(d / "Score.txt", fs::perms(0444));
         return d / "Score.txt";
     },
     {true, RLIM_INFINITY},
     EACCES},
    // The limit lets the first 20 bytes of the entry through: the partial
    // entry must be cut off again.
    {"WriteStopsPartWayInExistingFile",
     [](const fs::path& d) {
         writeFile(d / "Score.txt", "earlier\r\n");
         return d / "Score.txt";
     },
     {false, 9 + 20},
     EFBIG},
    // Only the line break added before the entry gets through.
    {"WriteStopsPartWayAfterAddedLineBreak",
     [](const fs::path& d) {
         writeFile(d / "Score.txt", "earlier");
         return d / "Score.txt";
     },
     {false, 7 + 1},
     EFBIG},
    {"WriteStopsPartWayInNewFile",
     [](const fs::path& d) { return d / "Score.txt"; },
     {false, 20},
     EFBIG},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScoreLogFailure, ::testing::ValuesIn(failCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

}  // namespace
