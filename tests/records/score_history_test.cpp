// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading the score log back: what the writer writes reads back the same,
// damage is skipped whole and counted, and the file is followed from read to
// read without taking it all again.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QByteArray>
#include <QStringEncoder>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "modes.h"
#include "score_entry.h"
#include "score_history.h"
#include "score_log.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pokopin::game::kModes;
using pokopin::game::ScoreRecord;
using pokopin::records::LogRead;
using pokopin::records::LogStatus;
using pokopin::records::PlayedGame;
using pokopin::records::scoreEntryBytes;
using pokopin::records::ScoreLogFile;
using pokopin::records::ScoreLogFollower;
using pokopin::records::ScoreLogParser;

ScoreRecord record(int mode, std::int64_t score, int day = 3)
{
    ScoreRecord r;
    r.when = {2000, 5, day, 4, 14, 5, 9};
    r.modeName = std::string(kModes[static_cast<std::size_t>(mode)].name);
    r.elapsedSeconds = 25;
    r.moleCount = 50;
    r.hitCount = 12;
    r.missCount = 3;
    r.score = score;
    return r;
}

QByteArray entry(int mode = 1, std::int64_t score = 312)
{
    return scoreEntryBytes(record(mode, score));
}

QByteArray sjis(const char* utf8)
{
    return QStringEncoder("Shift_JIS").encode(QString::fromUtf8(utf8));
}

struct Parsed {
    std::vector<PlayedGame> games;
    std::int64_t skipped = 0;
    bool openBeforeFinish = false;
};

// Feeds `bytes` cut at the given offsets (ascending), then finishes.
Parsed parse(const QByteArray& bytes, const std::vector<qsizetype>& cuts = {})
{
    Parsed p;
    ScoreLogParser parser;
    qsizetype from = 0;
    for (qsizetype to : cuts) {
        parser.feed(bytes.constData() + from, std::size_t(to - from), p.games);
        from = to;
    }
    parser.feed(bytes.constData() + from, std::size_t(bytes.size() - from), p.games);
    p.openBeforeFinish = parser.entryOpen();
    parser.finish();
    p.skipped = parser.skipped();
    return p;
}

TEST(ScoreHistory, WhatTheLogWriterWritesReadsBackFieldForField)
{
    std::mt19937_64 rng(20260501);
    auto pick = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    std::vector<PlayedGame> expected;
    QByteArray log;
    for (int i = 0; i < 400; ++i) {
        ScoreRecord r;
        const int year = int(pick(1, 9999));
        const int month = int(pick(1, 12));
        r.when = {year,
                  month,
                  int(pick(1, 28)),
                  int(pick(1, 7)),
                  int(pick(0, 23)),
                  int(pick(0, 59)),
                  int(pick(0, 59))};
        if (i < 12)  // the last days of months, leap days included
            r.when.day = month == 2
                             ? (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0) ? 29 : 28)
                             : (month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31);
        const int mode = i % 4;
        r.modeName = std::string(kModes[std::size_t(mode)].name);
        const std::int64_t big = std::numeric_limits<std::int32_t>::max();
        r.elapsedSeconds = int(i < 8 ? big : pick(1, 25));
        r.moleCount = int(i < 8 ? big : pick(0, 130));
        r.hitCount = int(i < 8 ? 0 : pick(0, r.moleCount));
        r.missCount = int(i < 8 ? big : pick(0, 40));
        constexpr auto kLow = std::numeric_limits<std::int64_t>::min();
        constexpr auto kHigh = std::numeric_limits<std::int64_t>::max();
        r.score = i == 0 ? kLow : i == 1 ? kHigh : i % 3 == 0 ? pick(-500, -1) : pick(0, 5000);
        log += scoreEntryBytes(r);

        PlayedGame g;
        g.score = r.score;
        g.playTime = r.elapsedSeconds;
        g.count = r.moleCount;
        g.hit = r.hitCount;
        g.miss = r.missCount;
        g.year = std::int16_t(r.when.year);
        g.month = std::int8_t(r.when.month);
        g.day = std::int8_t(r.when.day);
        g.weekday = std::int8_t(r.when.weekday);
        g.hour = std::int8_t(r.when.hour);
        g.minute = std::int8_t(r.when.minute);
        g.second = std::int8_t(r.when.second);
        g.mode = std::int8_t(mode);
        expected.push_back(g);
    }
    ASSERT_FALSE(log.isEmpty());

    // In one piece, and cut at random places as a growing file is read.
    std::vector<qsizetype> cuts;
    for (qsizetype at = 0; (at += pick(1, 700)) < log.size();)
        cuts.push_back(at);
    for (const auto& c : {std::vector<qsizetype>{}, cuts}) {
        const Parsed p = parse(log, c);
        EXPECT_EQ(p.skipped, 0);
        ASSERT_EQ(p.games.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(p.games[i], expected[i]) << "game " << i << ", " << c.size() << " cuts";
    }
}

// Damaged logs: how many games are read and how many entries are skipped,
// whether the log arrives in one piece, byte by byte or cut anywhere in two.
struct Damaged {
    const char* name;
    QByteArray bytes;
    std::size_t games;
    std::int64_t skipped;
    bool open;  // ends inside an entry that a later append could still finish
};

QByteArray lf(QByteArray b)
{
    return b.replace("\r\n", "\n");
}

// A hand edit; the text to change must be there, or the case would test nothing.
QByteArray edit(QByteArray b, const QByteArray& from, const QByteArray& to)
{
    if (!b.contains(from))
        ADD_FAILURE() << "no " << from.toStdString() << " to edit";
    return b.replace(from, to);
}

std::vector<Damaged> damagedLogs()
{
    const QByteArray e = entry();
    const QByteArray three = entry(0, 10) + entry(1, 20) + entry(3, -30);
    QByteArray utf8 = QString::fromUtf8(
                          "Pokopin Version 1.42 Score Record\r\n2000年5月3日 水曜日 14時5分9秒\r\n"
                          "☆ふつう ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312\r\n")
                          .toUtf8()
                      + QByteArray(74, '-') + "\r\n\r\n";
    QByteArray crOnly = three;
    crOnly.replace("\r\n", "\r");
    return {
        {"empty file", {}, 0, 0, false},
        {"three good entries", three, 3, 0, false},
        {"LF-only lines", lf(three), 3, 0, false},
        {"lines mixing CR LF and LF", lf(e) + e + lf(e), 3, 0, false},
        {"blank lines between entries", "\r\n" + e + "\r\n\n\r\n" + e, 2, 0, false},
        {"a note written between entries", e + "my best day!\r\nreally\r\n" + e, 2, 1, false},
        {"a note on the entry's blank line", e.chopped(2) + "note\r\n" + e, 1, 1, false},
        {"a hand-edited score", edit(e, "SCORE 312", "SCORE 3l2") + e, 1, 1, false},
        {"a score with a plus sign", edit(e, "SCORE 312", "SCORE +312"), 0, 1, false},
        {"a figure dropped", edit(e, sjis(" ☆HIT 12"), "") + e, 1, 1, false},
        {"a rule one hyphen short", edit(e, "--\r\n", "-\r\n") + e, 1, 1, false},
        {"the last entry cut in its figures line", three + e.left(90), 3, 1, true},
        {"the last entry without its blank line", three + e.chopped(2), 3, 1, true},
        {"a header alone at the end", three + e.left(35), 3, 1, true},
        {"half a header at the end", three + e.left(10), 3, 1, true},
        {"an entry cut after its header, then the next", e.left(35) + three, 3, 1, false},
        {"an entry without its blank line, then the next", e.chopped(2) + three, 3, 1, false},
        {"an entry cut short, then the next appended", e.left(90) + "\r\n" + three, 3, 1, false},
        {"an entry cut short, glued to the next header", e.left(70) + three, 2, 1, false},
        {"an unknown mode name", edit(e, sjis("ふつう"), sjis("ゆるい")) + e, 1, 1, false},
        {"a mode name in a longer word", edit(e, sjis("ふつう"), sjis("ふつうに")), 0, 1, false},
        {"HIT above 32 bits", edit(e, "HIT 12", "HIT 2147483648") + e, 1, 1, false},
        {"PlayTime of 30 digits", edit(e, "Time 25", "Time " + QByteArray(30, '9')), 0, 1, false},
        {"SCORE above 64 bits", edit(e, "SCORE 312", "SCORE 9223372036854775808"), 0, 1, false},
        {"SCORE at the lowest 64-bit value", edit(e, "SCORE 312", "SCORE -9223372036854775808"), 1,
         0, false},
        {"SCORE just below it", edit(e, "SCORE 312", "SCORE -9223372036854775809"), 0, 1, false},
        {"a day that does not exist",
         edit(e,
              "5\x8c\x8e"
              "3",
              "2\x8c\x8e"
              "30")
             + e,
         1, 1, false},
        {"hour 24", edit(e, " 14", " 24") + e, 1, 1, false},
        {"bytes that are not Shift-JIS in the weekday", edit(e, sjis("水曜日"), "\xff\xfe\xfd"), 0,
         1, false},
        {"the log converted to UTF-8", utf8 + utf8 + e, 1, 2, false},
        {"a UTF-8 byte order mark before the log", "\xef\xbb\xbf" + three, 2, 1, false},
        {"NUL bytes inside an entry", edit(e, "COUNT", QByteArray("CO\0NT", 5)) + e, 1, 1, false},
        {"a megabyte-long line", e + QByteArray(1 << 20, 'x') + "\r\n" + e, 2, 1, false},
        {"a megabyte-long line at the end", e + QByteArray(1 << 20, 'x'), 1, 1, true},
        {"CR-only lines", crOnly, 0, 1, true},
        {"another version's header", edit(e, "1.42", "2.0") + edit(e, "1.42", "1.x"), 1, 1, false},
    };
}

TEST(ScoreHistory, DamagedEntriesAreSkippedWholeAndCounted)
{
    std::mt19937 rng(7);
    for (const Damaged& d : damagedLogs()) {
        SCOPED_TRACE(d.name);
        const qsizetype n = d.bytes.size();
        std::vector<std::vector<qsizetype>> ways = {{}};
        // Every cut into two for short logs, a sample of them for long ones.
        for (qsizetype at = 1; at < n; at = n < 4096 ? at + 1 : at + 1 + qsizetype(rng() % 9000))
            ways.push_back({at});
        if (n < 4096) {
            std::vector<qsizetype> bytewise;
            for (qsizetype at = 1; at < n; ++at)
                bytewise.push_back(at);
            ways.push_back(bytewise);
        }
        for (const auto& cuts : ways) {
            const Parsed p = parse(d.bytes, cuts);
            const auto where = testing::Message() << cuts.size() << " cuts, the first at "
                                                  << (cuts.empty() ? 0 : cuts[0]);
            ASSERT_EQ(p.games.size(), d.games) << where;
            ASSERT_EQ(p.skipped, d.skipped) << where;
            ASSERT_EQ(p.openBeforeFinish, d.open) << where;
        }
    }
}

// The follower against a real file, step by step.
struct Step {
    const char* what;
    std::function<void(const fs::path&)> act;
    LogStatus status;
    bool restarted;
    std::size_t newGames;  // games in this read
    std::int64_t skipped;  // in the whole log so far
};

void write(const fs::path& p, const QByteArray& bytes, std::ios::openmode mode = {})
{
    std::ofstream out(p, std::ios::binary | mode);
    out.write(bytes.constData(), bytes.size());
}

TEST(ScoreHistory, FollowsTheLogFileFromReadToRead)
{
    pokopin::testing::TempDir dir;
    const fs::path log = dir.path() / "Score.txt";
    ScoreLogFile writer;
    auto append = [&](std::int64_t score) {
        return [&writer, score](const fs::path& p) {
            ASSERT_TRUE(writer.append(p.string(), record(2, score)).ok);
        };
    };
    const std::vector<Step> steps = {
        {"no log yet", [](const fs::path&) {}, LogStatus::Missing, false, 0, 0},
        {"the first games", [](const fs::path& p) { write(p, entry() + entry(0, 5)); },
         LogStatus::Ok, true, 2, 0},
        {"nothing new", [](const fs::path&) {}, LogStatus::Ok, false, 0, 0},
        {"one game appended", append(400), LogStatus::Ok, false, 1, 0},
        {"half an entry appended",
         [](const fs::path& p) { write(p, entry().left(50), std::ios::app); }, LogStatus::Ok, false,
         0, 0},
        {"the game after it", append(401), LogStatus::Ok, false, 1, 1},
        {"the last score edited in place",
         [](const fs::path& p) {
             std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
             const std::string text((std::istreambuf_iterator<char>(f)), {});
             f.seekp(std::streamoff(text.rfind("SCORE 401") + 6));
             f.put('9');
         },
         LogStatus::Ok, true, 4, 1},
        {"the log cut to its first entry",
         [](const fs::path& p) { fs::resize_file(p, entry().size()); }, LogStatus::Ok, true, 1, 0},
        {"a folder in its place",
         [](const fs::path& p) {
             fs::remove(p);
             fs::create_directory(p);
         },
         LogStatus::NotRegular, false, 0, 0},
        {"gone", [](const fs::path& p) { fs::remove(p); }, LogStatus::Missing, false, 0, 0},
        {"a new log by the writer", append(9), LogStatus::Ok, true, 1, 0},
        {"replaced by a longer copy",
         [](const fs::path& p) {
             write(p.string() + ".new", entry() + entry() + entry());
             fs::rename(p.string() + ".new", p);
         },
         LogStatus::Ok, true, 3, 0},
    };
    ScoreLogFollower follower(log.string());
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(log);
        const auto before = follower.offset();
        const LogRead r = follower.readNew();
        EXPECT_EQ(r.status, s.status);
        EXPECT_EQ(r.restarted, s.restarted);
        EXPECT_EQ(r.games.size(), s.newGames);
        EXPECT_EQ(r.skipped, s.skipped);
        if (s.status == LogStatus::Ok) {
            // Only what is new is read, unless the log had to be read afresh.
            const auto size = std::int64_t(fs::file_size(log));
            EXPECT_EQ(r.bytesRead, s.restarted ? size : size - before);
            EXPECT_EQ(follower.offset(), size);
        }
    }
}

}  // namespace
