// The whole start-up in one process: title window, handover to the main
// window, the single-instance rule and the end of the event loop.

#include <QtTest>

#include <QFile>
#include <QTemporaryDir>

#include "program.h"

using pokopin::app::TitleWindow;
using pokopin::app::Program;

class ProgramTest : public QObject {
    Q_OBJECT
private slots:
    void titleHandsOverToTheMainWindow();
    void secondInstanceEndsWithoutAWindow();
};

void ProgramTest::titleHandsOverToTheMainWindow()
{
    QTemporaryDir folder;
    QFile log(folder.filePath(QStringLiteral("Score.txt")));  // no greeting
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.close();
    Program program(folder.path().toStdString(), folder.filePath(QStringLiteral("pokopin.lock")));

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
    QCOMPARE(program.mainWindow()->logic().controls().clockText, std::string("25"));
}

void ProgramTest::secondInstanceEndsWithoutAWindow()
{
    QTemporaryDir folder;
    const QString lock = folder.filePath(QStringLiteral("pokopin.lock"));
    pokopin::app::SingleInstance running(lock);
    QVERIFY(running.acquire());
    const int windowsBefore = QApplication::topLevelWidgets().count();
    Program second(folder.path().toStdString(), lock);
    QCOMPARE(second.run(), 0);
    QVERIFY(!second.mainWindow());
    QCOMPARE(QApplication::topLevelWidgets().count(), windowsBefore);
}

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
