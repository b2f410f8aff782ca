// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reading the score log back, for the score history. The log is only ever
// read here, never written. Entries are taken exactly as scoreEntryBytes()
// writes them (either line ending, CR LF or LF, is accepted); anything else is
// a damaged entry that is skipped whole, never patched up.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pokopin::records {

// One game as the log keeps it.
struct PlayedGame {
    std::int64_t score = 0;
    std::int32_t playTime = 0;  // seconds
    std::int32_t count = 0;     // moles raised
    std::int32_t hit = 0;
    std::int32_t miss = 0;
    std::int16_t year = 0;
    std::int8_t month = 0;
    std::int8_t day = 0;
    std::int8_t weekday = 0;  // 1 = Sunday .. 7 = Saturday, as logged
    std::int8_t hour = 0;
    std::int8_t minute = 0;
    std::int8_t second = 0;
    std::int8_t mode = 0;  // index into game::kModes

    friend bool operator==(const PlayedGame&, const PlayedGame&) = default;
};

// A streaming reader of log bytes: feed() takes the log in pieces of any
// size, cut anywhere, and gives the same games as one piece would. Memory
// stays small whatever it is fed: a line longer than any entry line is
// dropped as it streams past.
//
// A damaged entry counts once in skipped() and everything after it up to the
// next entry header is passed over, so an entry cut short by a later one is
// lost alone. Games in a mode the game does not know are skipped too.
class ScoreLogParser {
public:
    ScoreLogParser();

    // Appends the games that these bytes complete to `out`, in log order.
    void feed(const char* data, std::size_t size, std::vector<PlayedGame>& out);

    // The end of the log: an entry still open is cut short and counts as
    // skipped. The parser starts afresh afterwards.
    void finish();

    // Entries given up on so far.
    std::int64_t skipped() const { return skipped_; }

    // True while the bytes so far end inside an entry that more bytes could
    // still complete (or turn out damaged).
    bool entryOpen() const;

private:
    enum class Expect { Between, Date, Figures, Rule, Blank, Junk };

    void line(const char* begin, const char* end, bool overlong, std::vector<PlayedGame>& out);
    void damaged(bool startsEntry);

    Expect expect_ = Expect::Between;
    std::int64_t skipped_ = 0;
    PlayedGame draft_;
    std::string carry_;  // a line not yet ended
    bool overlong_ = false;
};

// Where a read of the log file stands.
enum class LogStatus {
    Ok,
    Missing,     // no file at the path (nothing played and recorded yet)
    NotRegular,  // a folder, a device or a pipe in its place
    Unreadable,  // the system refused to open or read it; see `reason`
    Cancelled,
};

struct LogRead {
    LogStatus status = LogStatus::Ok;
    std::string reason;             // the system's message when Unreadable
    bool restarted = false;         // the log was replaced or cut: `games` is it all
    std::vector<PlayedGame> games;  // games new since the last read, in log order
    std::int64_t skipped = 0;       // damaged entries in the whole log so far
    bool entryOpen = false;         // the log ends inside an entry
    std::int64_t bytesRead = 0;     // by this read
};

// Follows the log file from read to read: the first read takes the whole
// file, every later one only what was appended since. When the file is
// replaced, cut, or changed before the point already read, the next read
// starts again from the beginning and says so. A file that goes away or
// cannot be read leaves what was read before valid; it is read afresh when it
// comes back.
class ScoreLogFollower {
public:
    // Called now and then with the bytes read so far and the size to read;
    // returning false cancels the read.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

    explicit ScoreLogFollower(std::string path);

    LogRead readNew(const Progress& progress = {});

    // Bytes of the file taken so far.
    std::int64_t offset() const { return offset_; }

private:
    void restart();

    std::string path_;
    ScoreLogParser parser_;
    std::int64_t offset_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::string anchor_;  // the last bytes before offset_, to notice an edit
};

}  // namespace pokopin::records
