// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score_entry.h"

#include <QString>
#include <QStringEncoder>
#include <array>
#include <string>

#include "game.h"
#include "pokopin_version.h"

namespace pokopin::records {
namespace {

std::string weekdayName(int weekday)
{
    static constexpr std::array<const char*, 7> names = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                         "木曜日", "金曜日", "土曜日"};
    if (weekday < 1 || weekday > 7)
        return {};
    return names[static_cast<std::size_t>(weekday - 1)];
}

// The log's figures are written as the game shows them on screen.
using game::numberText;

}  // namespace

QByteArray scoreEntryBytes(const game::ScoreRecord& r)
{
    const auto& w = r.when;
    const std::string crlf = "\r\n";
    std::string text;
    text += "Pokopin Version " + std::string(kVersionText) + " Score Record" + crlf;
    text += numberText(w.year) + "年" + numberText(w.month) + "月" + numberText(w.day) + "日 "
            + weekdayName(w.weekday) + " " + numberText(w.hour) + "時" + numberText(w.minute) + "分"
            + numberText(w.second) + "秒" + crlf;
    text += "☆" + r.modeName + " ☆PlayTime " + numberText(r.elapsedSeconds) + "秒 " + " ☆COUNT "
            + numberText(r.moleCount) + " ☆HIT " + numberText(r.hitCount) + " ☆MISS "
            + numberText(r.missCount) + " ☆SCORE " + numberText(r.score) + crlf;
    text += std::string(74, '-') + crlf;
    text += crlf;

    // Qt gets Shift-JIS from ICU; a build without it has no such encoder.
    QStringEncoder toSjis("Shift_JIS");
    if (!toSjis.isValid())
        return {};
    return toSjis.encode(QString::fromStdString(text));
}

}  // namespace pokopin::records
