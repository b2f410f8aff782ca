// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score_history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QString>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <system_error>

#include "modes.h"

namespace pokopin::records {
namespace {

// Longer than any line the game writes (the figures line with every number
// at its largest is under 130 bytes); a longer line is damage.
constexpr std::size_t kMaxLine = 256;
// A log entry takes a little over 200 bytes; used only to size buffers.
constexpr std::int64_t kEntryBytes = 200;
constexpr std::size_t kChunk = 1 << 20;
// Covers the last entry read, whose score is the likeliest hand edit.
constexpr std::size_t kAnchor = 512;
constexpr std::string_view kHeaderStart = "Pokopin Version ";
constexpr std::string_view kHeaderEnd = " Score Record";
constexpr std::size_t kRuleLength = 74;

// The Shift-JIS pieces of an entry, encoded by the same encoder that writes
// them, so that the two cannot drift apart.
struct Pieces {
    bool valid = false;
    std::string year, month, day, hour, minute, second;
    std::array<std::string, 7> weekdays;
    std::string star;
    std::array<std::string, game::kModes.size()> modes;
    std::string playTime, count, hit, miss, score;
};

const Pieces& pieces()
{
    static const Pieces p = [] {
        Pieces q;
        QStringEncoder toSjis("Shift_JIS");
        if (!toSjis.isValid())
            return q;
        auto sjis = [&](std::string_view utf8) {
            const QByteArray bytes =
                toSjis.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
            return bytes.toStdString();
        };
        q.year = sjis("年");
        q.month = sjis("月");
        q.day = sjis("日 ");
        q.hour = sjis("時");
        q.minute = sjis("分");
        q.second = sjis("秒");
        const char* const names[] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                     "木曜日", "金曜日", "土曜日"};
        for (std::size_t i = 0; i < q.weekdays.size(); ++i)
            q.weekdays[i] = sjis(names[i]) + " ";
        q.star = sjis("☆");
        for (std::size_t i = 0; i < q.modes.size(); ++i)
            q.modes[i] = sjis(game::kModes[i].name);
        q.playTime = sjis(" ☆PlayTime ");
        q.count = sjis("秒  ☆COUNT ");
        q.hit = sjis(" ☆HIT ");
        q.miss = sjis(" ☆MISS ");
        q.score = sjis(" ☆SCORE ");
        q.valid = !toSjis.hasError();
        return q;
    }();
    return p;
}

// Reads one line from left to right; every step fails without moving when
// the line does not go on as expected.
class Cursor {
public:
    Cursor(const char* begin, const char* end) : p_(begin), end_(end) {}

    bool atEnd() const { return p_ == end_; }

    bool take(std::string_view piece)
    {
        if (static_cast<std::size_t>(end_ - p_) < piece.size()
            || std::memcmp(p_, piece.data(), piece.size()) != 0)
            return false;
        p_ += piece.size();
        return true;
    }

    // Decimal digits, no sign; fails on an empty run or a value above max.
    bool number(std::uint64_t max, std::uint64_t& value)
    {
        const char* p = p_;
        std::uint64_t v = 0;
        while (p != end_ && *p >= '0' && *p <= '9') {
            const auto digit = static_cast<std::uint64_t>(*p - '0');
            if (v > (max - digit) / 10)
                return false;
            v = v * 10 + digit;
            ++p;
        }
        if (p == p_)
            return false;
        p_ = p;
        value = v;
        return true;
    }

    template <typename T>
    bool field(T& out, std::int64_t low = 0, std::int64_t high = std::numeric_limits<T>::max())
    {
        std::uint64_t v = 0;
        if (!number(static_cast<std::uint64_t>(high), v) || static_cast<std::int64_t>(v) < low)
            return false;
        out = static_cast<T>(v);
        return true;
    }

    bool signedField(std::int64_t& out)
    {
        const bool negative = take("-");
        std::uint64_t v = 0;
        const std::uint64_t max = std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1;
        if (!number(negative ? max : max - 1, v))
            return false;
        out = negative ? static_cast<std::int64_t>(~v + 1) : static_cast<std::int64_t>(v);
        return true;
    }

private:
    const char* p_;
    const char* end_;
};

bool isHeader(const char* begin, const char* end)
{
    Cursor c(begin, end);
    std::uint64_t v = 0;
    return c.take(kHeaderStart) && c.number(999999, v) && c.take(".") && c.number(999999, v)
           && c.take(kHeaderEnd) && c.atEnd();
}

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// "2000年5月3日 水曜日 14時5分9秒"
bool readDate(const char* begin, const char* end, PlayedGame& g)
{
    const Pieces& sj = pieces();
    Cursor c(begin, end);
    if (!(c.field(g.year, 1, 9999) && c.take(sj.year) && c.field(g.month, 1, 12) && c.take(sj.month)
          && c.field(g.day, 1, 31) && c.take(sj.day)))
        return false;
    if (g.day > daysInMonth(g.year, g.month))
        return false;
    g.weekday = 0;
    for (std::size_t i = 0; i < sj.weekdays.size() && g.weekday == 0; ++i) {
        if (c.take(sj.weekdays[i]))
            g.weekday = static_cast<std::int8_t>(i + 1);
    }
    return g.weekday != 0 && c.field(g.hour, 0, 23) && c.take(sj.hour) && c.field(g.minute, 0, 59)
           && c.take(sj.minute) && c.field(g.second, 0, 59) && c.take(sj.second) && c.atEnd();
}

// "☆ふつう ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312"
bool readFigures(const char* begin, const char* end, PlayedGame& g)
{
    const Pieces& sj = pieces();
    Cursor c(begin, end);
    if (!c.take(sj.star))
        return false;
    // No mode name is the start of another, so the first match is the one.
    int mode = -1;
    for (std::size_t i = 0; i < sj.modes.size() && mode < 0; ++i) {
        if (c.take(sj.modes[i]))
            mode = static_cast<int>(i);
    }
    g.mode = static_cast<std::int8_t>(mode);
    return mode >= 0 && c.take(sj.playTime) && c.field(g.playTime) && c.take(sj.count)
           && c.field(g.count) && c.take(sj.hit) && c.field(g.hit) && c.take(sj.miss)
           && c.field(g.miss) && c.take(sj.score) && c.signedField(g.score) && c.atEnd();
}

bool isRule(const char* begin, const char* end)
{
    return static_cast<std::size_t>(end - begin) == kRuleLength
           && std::all_of(begin, end, [](char ch) { return ch == '-'; });
}

}  // namespace

ScoreLogParser::ScoreLogParser()
{
    carry_.reserve(kMaxLine);
}

void ScoreLogParser::feed(const char* data, std::size_t size, std::vector<PlayedGame>& out)
{
    const char* p = data;
    const char* const end = data + size;
    while (p != end) {
        const auto* nl = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
        const char* const stop = nl ? nl : end;
        const auto piece = static_cast<std::size_t>(stop - p);
        if (carry_.empty() && !overlong_ && nl) {
            // The common case: a whole line inside this piece, read in place.
            line(p, nl, piece > kMaxLine, out);
        } else {
            if (!overlong_ && carry_.size() + piece <= kMaxLine) {
                carry_.append(p, piece);
            } else {
                carry_.clear();
                overlong_ = true;
            }
            if (!nl)
                return;
            line(carry_.data(), carry_.data() + carry_.size(), overlong_, out);
            carry_.clear();
            overlong_ = false;
        }
        p = nl + 1;
    }
}

void ScoreLogParser::line(const char* begin, const char* end, bool overlong,
                          std::vector<PlayedGame>& out)
{
    if (end != begin && end[-1] == '\r')
        --end;
    const bool empty = !overlong && begin == end;
    const bool header = !overlong && pieces().valid && isHeader(begin, end);
    switch (expect_) {
        case Expect::Between:
            if (header)
                expect_ = Expect::Date;
            else if (!empty)
                damaged(false);
            break;
        case Expect::Junk:
            if (header)
                expect_ = Expect::Date;
            break;
        case Expect::Date:
            if (!overlong && readDate(begin, end, draft_))
                expect_ = Expect::Figures;
            else
                damaged(header);
            break;
        case Expect::Figures:
            if (!overlong && readFigures(begin, end, draft_))
                expect_ = Expect::Rule;
            else
                damaged(header);
            break;
        case Expect::Rule:
            if (!overlong && isRule(begin, end))
                expect_ = Expect::Blank;
            else
                damaged(header);
            break;
        case Expect::Blank:
            if (empty) {
                out.push_back(draft_);
                expect_ = Expect::Between;
            } else {
                damaged(header);
            }
            break;
    }
}

// The entry given up on counts once; a header line that cut it short starts
// the next entry, anything else is passed over up to the next header.
void ScoreLogParser::damaged(bool startsEntry)
{
    ++skipped_;
    expect_ = startsEntry ? Expect::Date : Expect::Junk;
}

bool ScoreLogParser::entryOpen() const
{
    switch (expect_) {
        case Expect::Between:
            return overlong_ || (!carry_.empty() && carry_ != "\r");
        case Expect::Junk: {
            // Only a header still being written opens an entry here.
            if (overlong_ || carry_.empty())
                return false;
            const std::size_t n = std::min(carry_.size(), kHeaderStart.size());
            return std::string_view(carry_).substr(0, n) == kHeaderStart.substr(0, n);
        }
        default:
            return true;
    }
}

void ScoreLogParser::finish()
{
    if (entryOpen())
        ++skipped_;
    expect_ = Expect::Between;
    carry_.clear();
    overlong_ = false;
}

ScoreLogFollower::ScoreLogFollower(std::string path) : path_(std::move(path)) {}

void ScoreLogFollower::restart()
{
    parser_ = ScoreLogParser();
    offset_ = 0;
    anchor_.clear();
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

ssize_t readSome(int fd, char* buf, std::size_t size, off_t at)
{
    ssize_t n;
    while ((n = ::pread(fd, buf, size, at)) < 0 && errno == EINTR) {
    }
    return n;
}

}  // namespace

LogRead ScoreLogFollower::readNew(const Progress& progress)
{
    LogRead r;
    auto fail = [&](LogStatus status, int err) {
        r.status = status;
        if (err != 0)
            r.reason = std::generic_category().message(err);
        r.skipped = parser_.skipped();
        r.entryOpen = parser_.entryOpen();
        return std::move(r);
    };

    // Non-blocking, so that a pipe put in the log's place cannot hold the
    // reader at open; it is turned away below as not a regular file.
    Fd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        const int err = errno;
        return fail(err == ENOENT || err == ENOTDIR ? LogStatus::Missing : LogStatus::Unreadable,
                    err);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return fail(LogStatus::Unreadable, errno);
    if (!S_ISREG(st.st_mode))
        return fail(LogStatus::NotRegular, 0);

    bool same = offset_ > 0 && st.st_dev == device_ && st.st_ino == inode_ && st.st_size >= offset_;
    if (same && !anchor_.empty()) {
        // An editor that rewrites the file in place keeps its inode: compare
        // the bytes just before the point reached.
        std::string now(anchor_.size(), '\0');
        same = readSome(fd.get(), now.data(), now.size(), off_t(offset_) - off_t(anchor_.size()))
                   == static_cast<ssize_t>(now.size())
               && now == anchor_;
    }
    if (!same) {
        restart();
        r.restarted = true;
        device_ = st.st_dev;
        inode_ = st.st_ino;
    }

    const std::int64_t total = std::max<std::int64_t>(st.st_size - offset_, 0);
    // Sized once for the whole read: growing by doubling would briefly hold
    // two copies of a big log. Pages not filled are never touched.
    r.games.reserve(static_cast<std::size_t>(total / kEntryBytes + 1));
    const auto buffer = std::make_unique<char[]>(kChunk);
    std::int64_t sinceReport = 0;
    for (;;) {
        const ssize_t n = readSome(fd.get(), buffer.get(), kChunk, off_t(offset_));
        if (n < 0) {
            const int err = errno;
            return fail(LogStatus::Unreadable, err);
        }
        if (n == 0)
            break;
        const auto got = static_cast<std::size_t>(n);
        parser_.feed(buffer.get(), got, r.games);
        offset_ += n;
        r.bytesRead += n;
        if (got >= kAnchor)
            anchor_.assign(buffer.get() + got - kAnchor, kAnchor);
        else
            anchor_ = (anchor_ + std::string(buffer.get(), got))
                          .substr(std::max(anchor_.size() + got, kAnchor) - kAnchor);
        sinceReport += n;
        if (progress && sinceReport >= std::int64_t(4 * kChunk)) {
            sinceReport = 0;
            if (!progress(r.bytesRead, total))
                return fail(LogStatus::Cancelled, 0);
        }
    }
    if (progress)
        progress(r.bytesRead, std::max(total, r.bytesRead));
    r.skipped = parser_.skipped();
    r.entryOpen = parser_.entryOpen();
    return r;
}

}  // namespace pokopin::records
