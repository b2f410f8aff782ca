// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole start-up in one process: title window, handover to the main
// window, the single-instance rule and the end of the event loop.

#include <QtTest>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>

#include "program.h"

using pokopin::app::Program;
using pokopin::app::TitleWindow;

namespace {

// What the process writes to stderr while one of these lives.
class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()), saved_(::dup(2))
    {
        std::fflush(stderr);
        ::dup2(::fileno(file_), 2);
    }
    ~StderrCapture()
    {
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        std::fclose(file_);
    }
    QStringList lines() const
    {
        std::fflush(stderr);
        QFile f;
        if (!f.open(::dup(::fileno(file_)), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            return {};
        f.seek(0);
        return QString::fromLocal8Bit(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    std::FILE* file_;
    int saved_;
};

// Starts the program; once the main window shows, closes it (which ends the
// event loop). Returns the exit status and whether the main window showed.
std::pair<int, bool> playUntilTheMainWindowShows(Program& program)
{
    bool shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (program.mainWindow() && program.mainWindow()->isVisible()) {
            shown = true;
            watch.stop();
            program.mainWindow()->close();
        }
    });
    watch.start(0);
    QTimer deadline;  // never hang; gone with this call, so no later test meets it
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    deadline.start(20000);
    const int status = program.run();
    return {status, shown};
}

}  // namespace

class ProgramTest : public QObject {
    Q_OBJECT
private slots:
    void titleHandsOverToTheMainWindow();
    void lockDecidesWhetherToPlay_data();
    void lockDecidesWhetherToPlay();
};

void ProgramTest::titleHandsOverToTheMainWindow()
{
    QTemporaryDir folder;
    QFile log(folder.filePath(QStringLiteral("Score.txt")));  // no greeting
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.close();
    Program program(pokopin::app::DataFolders::portable(folder.path().toStdString()),
                    folder.filePath(QStringLiteral("pokopin.lock")));

    bool titleSeen = false;
    bool titleShape = false;
    bool titleGone = false;
    bool mainShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* title = qobject_cast<TitleWindow*>(w); title && title->isVisible()) {
                titleSeen = true;
                titleShape = title->size() == QSize(500, 250)
                             && title->windowFlags().testFlag(Qt::FramelessWindowHint)
                             && title->timer()->interval() == 1;
            }
        if (program.mainWindow() && program.mainWindow()->isVisible()) {
            mainShown = true;
            titleGone = QApplication::topLevelWidgets().count() > 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<TitleWindow*>(w))
                    titleGone = false;
            if (titleGone) {
                watch.stop();
                program.mainWindow()->close();  // ends the event loop
            }
        }
    });
    watch.start(0);
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });  // never hang
    const int status = program.run();
    QCOMPARE(status, 0);
    QVERIFY(mainShown);
    QVERIFY(titleGone);
    // The 1 ms title tick may beat the watcher to it; when seen, it had its shape.
    QVERIFY(!titleSeen || titleShape);
    QCOMPARE(pokopin::game::viewOf(program.mainWindow()->logic().model()).clockText,
             std::string("25"));
}

void ProgramTest::lockDecidesWhetherToPlay_data()
{
    QTest::addColumn<QString>("lockPath");  // inside the program folder
    QTest::addColumn<bool>("otherCopy");
    QTest::addColumn<bool>("plays");
    QTest::newRow("another copy holds the lock") << "pokopin.lock" << true << false;
    QTest::newRow("lock folder missing") << "gone/pokopin.lock" << false << true;
    QTest::newRow("lock folder is a file") << "Score.txt/pokopin.lock" << false << true;
}

// Only another running copy ends the start silently; a lock that cannot be
// made is told once on stderr, and the game goes on without it.
void ProgramTest::lockDecidesWhetherToPlay()
{
    QFETCH(QString, lockPath);
    QFETCH(bool, otherCopy);
    QFETCH(bool, plays);
    QTemporaryDir folder;
    QFile log(folder.filePath(QStringLiteral("Score.txt")));  // no greeting
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.close();
    const QString lock = folder.filePath(lockPath);
    pokopin::app::SingleInstance running(lock);
    if (otherCopy)
        QCOMPARE(running.acquire(), pokopin::app::SingleInstance::Outcome::Held);
    const int windowsBefore = QApplication::topLevelWidgets().count();

    Program program(pokopin::app::DataFolders::portable(folder.path().toStdString()), lock);
    StderrCapture errors;
    const auto [status, shown] = playUntilTheMainWindowShows(program);
    const QStringList said = errors.lines().filter(lock);

    QCOMPARE(status, 0);
    QCOMPARE(shown, plays);
    if (!plays) {
        QVERIFY(!program.mainWindow());
        QCOMPARE(QApplication::topLevelWidgets().count(), windowsBefore);
    }
    QCOMPARE(said.size(), plays ? 1 : 0);
}

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
