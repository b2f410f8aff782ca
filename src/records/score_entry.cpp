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
    static constexpr std::array<const char*, 7> names = {
        "日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"};
    if (weekday < 1 || weekday > 7)
        return {};
    return names[static_cast<std::size_t>(weekday - 1)];
}

// std::to_string never pads and writes a minus sign only for negatives.
std::string num(long long v)
{
    return std::to_string(v);
}

}  // namespace

QByteArray scoreEntryBytes(const game::ScoreRecord& r)
{
    const auto& w = r.when;
    const std::string crlf = "\r\n";
    std::string text;
    text += "Pokopin Version " + std::string(kVersionText) + " Score Record" + crlf;
    text += num(w.year) + "年" + num(w.month) + "月" + num(w.day) + "日 " +
            weekdayName(w.weekday) + " " + num(w.hour) + "時" + num(w.minute) + "分" +
            num(w.second) + "秒" + crlf;
    text += "☆" + r.modeName + " ☆PlayTime " + num(r.elapsedSeconds) + "秒 " + " ☆COUNT " +
            num(r.moleCount) + " ☆HIT " + num(r.hitCount) + " ☆MISS " + num(r.missCount) +
            " ☆SCORE " + num(r.score) + crlf;
    text += std::string(74, '-') + crlf;
    text += crlf;

    // Qt gets Shift-JIS from ICU; a build without it has no such encoder.
    QStringEncoder toSjis("Shift_JIS");
    if (!toSjis.isValid())
        return {};
    return toSjis.encode(QString::fromStdString(text));
}

}  // namespace pokopin::records
