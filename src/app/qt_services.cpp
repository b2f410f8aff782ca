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

int weekdayFromSunday(int qtDayOfWeek)
{
    return qtDayOfWeek % 7 + 1;
}

game::DateTime QtClock::now()
{
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime h = t.time();
    return {d.year(), d.month(), d.day(), weekdayFromSunday(d.dayOfWeek()),
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

void QtDialogs::warnNotRecorded(const std::string& path, const std::string& reason)
{
    QMessageBox::warning(owner_, QStringLiteral("Pokopin！"),
                         QStringLiteral("このゲームの記録をスコアファイルに書き込めませんでした。\n\n%1\n\n%2")
                             .arg(QString::fromStdString(path), QString::fromStdString(reason)));
}

}  // namespace pokopin::app
