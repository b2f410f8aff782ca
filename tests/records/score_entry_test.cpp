// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The bytes of one score-log entry, checked against Shift-JIS written out by
// hand, so that an encoder or format slip cannot hide behind a round trip.

#include <gtest/gtest.h>

#include <QByteArray>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "score_entry.h"

namespace {

using pokopin::game::ScoreRecord;
using pokopin::records::scoreEntryBytes;

ScoreRecord exampleRecord()
{
    ScoreRecord r;
    r.when = {2000, 5, 3, 4, 14, 5, 9};  // Wednesday 3 May 2000, 14:05:09
    r.modeName = "ふつう";
    r.elapsedSeconds = 25;
    r.moleCount = 50;
    r.hitCount = 12;
    r.missCount = 3;
    r.score = 312;
    return r;
}

TEST(ScoreEntry, ExampleEntryHasExactBytes)
{
    const QByteArray expected = QByteArray::fromHex(
        // Pokopin Version 1.42 Score Record
        "50 6f 6b 6f 70 69 6e 20 56 65 72 73 69 6f 6e 20 31 2e 34 32 20 53 63 6f 72 65 20 52 65 63"
        "6f 72 64 0d 0a"
        // 2000年5月3日 水曜日 14時5分9秒
        "32 30 30 30 94 4e 35 8c 8e 33 93 fa 20 90 85 97 6a 93 fa 20 31 34 8e 9e 35 95 aa 39 95 62"
        "0d 0a"
        // ☆ふつう ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312
        "81 99 82 d3 82 c2 82 a4 20 81 99 50 6c 61 79 54 69 6d 65 20 32 35 95 62 20 20 81 99 43 4f"
        "55 4e 54 20 35 30 20 81 99 48 49 54 20 31 32 20 81 99 4d 49 53 53 20 33 20 81 99 53 43 4f"
        "52 45 20 33 31 32 0d 0a"
        // 74 hyphens
        "2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d"
        "2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d"
        "2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 2d 0d 0a"
        // empty line
        "0d 0a");
    EXPECT_EQ(scoreEntryBytes(exampleRecord()).toHex(' '), expected.toHex(' '));
}

// Shift-JIS of the few non-ASCII characters an entry may hold, written out
// here rather than asked of the encoder under test.
QByteArray sjis(const std::string& utf8)
{
    static const std::map<std::string, const char*> table = {
        {"☆", "8199"},  {"年", "944e"}, {"月", "8c8e"}, {"日", "93fa"}, {"時", "8e9e"},
        {"分", "95aa"}, {"秒", "9562"}, {"曜", "976a"}, {"火", "89ce"}, {"水", "9085"},
        {"木", "96d8"}, {"金", "8be0"}, {"土", "9379"}, {"か", "82a9"}, {"ん", "82f1"},
        {"た", "82bd"}, {"ふ", "82d3"}, {"つ", "82c2"}, {"う", "82a4"}, {"む", "82de"},
        {"ず", "82b8"}, {"い", "82a2"}, {"ど", "82c7"}};
    QByteArray out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t len = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : 2;
        const auto it = table.find(utf8.substr(i, len));
        if (it == table.end()) {
            ADD_FAILURE() << "no Shift-JIS written out for " << utf8.substr(i, len);
            return {};
        }
        out += QByteArray::fromHex(it->second);
        i += len;
    }
    return out;
}

std::vector<QByteArray> crlfLines(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0)
            break;
        lines.push_back(bytes.mid(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
    return lines;
}

struct LineCase {
    const char* name;
    std::function<void(ScoreRecord&)> change;
    std::size_t line;  // 0-based
    std::string expected;
};

class ScoreEntryLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ScoreEntryLine, IsWrittenAsExpected)
{
    const LineCase& c = GetParam();
    ScoreRecord r = exampleRecord();
    c.change(r);
    const auto lines = crlfLines(scoreEntryBytes(r));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[c.line].toHex(' '), sjis(c.expected).toHex(' '));
    for (const auto& l : lines) {
        EXPECT_EQ(l.indexOf('\r'), -1) << "stray CR";
        EXPECT_EQ(l.indexOf('\n'), -1) << "stray LF";
    }
}

const LineCase lineCases[] = {
    {"NegativeScore", [](ScoreRecord& r) { r.score = -24; }, 2,
     "☆ふつう ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE -24"},
    {"ZeroCounters",
     [](ScoreRecord& r) {
         r.elapsedSeconds = 1;
         r.moleCount = r.hitCount = r.missCount = r.score = 0;
     },
     2, "☆ふつう ☆PlayTime 1秒  ☆COUNT 0 ☆HIT 0 ☆MISS 0 ☆SCORE 0"},
    {"LargeFigures",
     [](ScoreRecord& r) {
         r.moleCount = 108;
         r.hitCount = 100;
         r.missCount = 32767;
         r.score = 2147483647;
     },
     2, "☆ふつう ☆PlayTime 25秒  ☆COUNT 108 ☆HIT 100 ☆MISS 32767 ☆SCORE 2147483647"},
    {"SingleDigitsHaveNoLeadingZero", [](ScoreRecord& r) { r.when = {2001, 1, 2, 3, 9, 5, 3}; }, 1,
     "2001年1月2日 火曜日 9時5分3秒"},
    {"MidnightIsZero", [](ScoreRecord& r) { r.when = {1999, 12, 31, 6, 0, 0, 0}; }, 1,
     "1999年12月31日 金曜日 0時0分0秒"},
    {"TwoDigitTime", [](ScoreRecord& r) { r.when = {2024, 10, 20, 1, 23, 59, 58}; }, 1,
     "2024年10月20日 日曜日 23時59分58秒"},
    {"ModeEasy", [](ScoreRecord& r) { r.modeName = "かんたん"; }, 2,
     "☆かんたん ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312"},
    {"ModeHard", [](ScoreRecord& r) { r.modeName = "むずい"; }, 2,
     "☆むずい ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312"},
    {"ModeHardest", [](ScoreRecord& r) { r.modeName = "どむず"; }, 2,
     "☆どむず ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312"},
    {"HeaderCarriesVersion", [](ScoreRecord&) {}, 0, "Pokopin Version 1.42 Score Record"},
    {"RuleIs74Hyphens", [](ScoreRecord&) {}, 3, std::string(74, '-')},
    {"LastLineIsEmpty", [](ScoreRecord&) {}, 4, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScoreEntryLine, ::testing::ValuesIn(lineCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

class ScoreEntryWeekday : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(ScoreEntryWeekday, NameFollowsWeekdayNumber)
{
    ScoreRecord r = exampleRecord();
    r.when.weekday = GetParam().first;
    const auto lines = crlfLines(scoreEntryBytes(r));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].toHex(' '),
              sjis(std::string("2000年5月3日 ") + GetParam().second + " 14時5分9秒").toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(AllDays, ScoreEntryWeekday,
                         ::testing::Values(std::pair{1, "日曜日"}, std::pair{2, "月曜日"},
                                           std::pair{3, "火曜日"}, std::pair{4, "水曜日"},
                                           std::pair{5, "木曜日"}, std::pair{6, "金曜日"},
                                           std::pair{7, "土曜日"}),
                         [](const auto& tp) { return std::to_string(tp.param.first); });

}  // namespace
