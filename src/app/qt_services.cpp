// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_services.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QThread>
#include <QTranslator>
#include <QUrl>

#include <cerrno>

namespace pokopin::app {

bool installQtJapanese(QCoreApplication& app)
{
    // Always Japanese, whatever the desktop's language: every text of the
    // game is Japanese, and an English "Cancel" beside "終了しますか？" would
    // read as a stray.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString notRecordedReason(int error)
{
    switch (error) {
        case EACCES:
        case EPERM:
            return QStringLiteral("スコアファイルに書き込む権限がありません。");
        case ENOSPC:
            return QStringLiteral("ディスクの空き容量が足りません。");
        case EDQUOT:
            return QStringLiteral("ディスクの使用量が上限に達しています。");
        case EFBIG:
            return QStringLiteral("スコアファイルが大きすぎます。");
        case EISDIR:
            return QStringLiteral("スコアファイルと同じ名前のフォルダがあります。");
        case EROFS:
            return QStringLiteral("書き込みのできない（読み取り専用の）ドライブです。");
        case ENOENT:
            return QStringLiteral("スコアファイルを置くフォルダが見つかりません。");
        case ENOTDIR:
            return QStringLiteral("スコアファイルの場所の途中にフォルダでないものがあります。");
        case ELOOP:
            return QStringLiteral("スコアファイルのリンクが循環しています。");
        case ENAMETOOLONG:
            return QStringLiteral("スコアファイルの名前が長すぎます。");
        case ETXTBSY:
        case EBUSY:
            return QStringLiteral("スコアファイルはほかのプログラムが使用中です。");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("開いているファイルが多すぎます。");
        case ENOMEM:
            return QStringLiteral("メモリが足りません。");
        case EIO:
            return QStringLiteral("ディスクの読み書きでエラーが起きました。");
        default:
            return QStringLiteral("書き込みの途中でエラーが起きました。");
    }
}

int weekdayFromSunday(int qtDayOfWeek)
{
    return qtDayOfWeek % 7 + 1;
}

game::DateTime QtClock::now()
{
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime h = t.time();
    return {d.year(), d.month(),  d.day(),   weekdayFromSunday(d.dayOfWeek()),
            h.hour(), h.minute(), h.second()};
}

std::uint64_t MixingRandom::next()
{
    // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

void MixingRandom::reseed(std::uint32_t value)
{
    state_ ^= static_cast<std::uint64_t>(value) * 0xD6E8FEB86659FD93ULL;
    next();
}

double MixingRandom::draw()
{
    // The top 53 bits as a fraction: uniform in [0, 1), never 1.
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

void SleepPause::pause(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool QtFileSystem::fileExists(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    return info.exists() && info.isFile();
}

void DesktopShell::openDocument(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtDialogs::greet()
{
    QMessageBox::information(nullptr, QStringLiteral("Welcome!"), QStringLiteral("はじめまして！"));
}

bool QtDialogs::confirmExit()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pokopinの終了"),
                    QStringLiteral("終了しますか？"), QMessageBox::Ok | QMessageBox::Cancel,
                    owner_);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

void QtDialogs::warnNotRecorded(const std::string& path, const std::string& reason, int error)
{
    // The reason in Japanese first; the system's own words after it, for
    // whoever has to look the problem up.
    QString why = notRecordedReason(error);
    if (!reason.empty())
        why += QStringLiteral("\n（%1）").arg(QString::fromStdString(reason));
    QMessageBox::warning(
        owner_, QStringLiteral("Pokopin！"),
        QStringLiteral("このゲームの記録をスコアファイルに書き込めませんでした。\n\n%1\n\n%2")
            .arg(QString::fromStdString(path), why));
}

}  // namespace pokopin::app
