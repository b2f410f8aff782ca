// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real services behind the game logic.

#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <array>
#include <cerrno>
#include <system_error>

#include "qt_services.h"
#include "single_instance.h"

using namespace pokopin::app;

class ServicesTest : public QObject {
    Q_OBJECT
private slots:
    void weekdaysCountFromSunday_data();
    void weekdaysCountFromSunday();
    void clockReadsToday();
    void drawsAreUniformOverTheHoles();
    void reseedWithTheSameValueMovesOn();
    void reseedChangesWhatFollows();
    void fileExistsOnlyForFiles();
    void pauseBlocksWithoutHandlingEvents();
    void secondLockInTheSameFolderFails();
    void exitBoxAsksWithOkAsDefault_data();
    void exitBoxAsksWithOkAsDefault();
    void notRecordedWarningNamesFileAndReason_data();
    void notRecordedWarningNamesFileAndReason();
    void qtButtonsReadJapanese();
};

namespace {

// Runs `act` on the message box once it is up.
void whenBoxOpens(const std::function<void(QMessageBox&)>& act)
{
    QTimer::singleShot(0, [act] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            act(*box);
    });
}

}  // namespace

void ServicesTest::weekdaysCountFromSunday_data()
{
    QTest::addColumn<int>("qtDay");
    QTest::addColumn<int>("gameDay");
    const char* names[] = {"",         "Monday", "Tuesday",  "Wednesday",
                           "Thursday", "Friday", "Saturday", "Sunday"};
    for (int d = 1; d <= 7; ++d)
        QTest::newRow(names[d]) << d << (d == 7 ? 1 : d + 1);
}

void ServicesTest::weekdaysCountFromSunday()
{
    QFETCH(int, qtDay);
    QFETCH(int, gameDay);
    QCOMPARE(weekdayFromSunday(qtDay), gameDay);
}

void ServicesTest::clockReadsToday()
{
    const QDate before = QDate::currentDate();
    const auto t = QtClock().now();
    const QDate after = QDate::currentDate();
    const QDate read(t.year, t.month, t.day);
    QVERIFY(read == before || read == after);
    QCOMPARE(t.weekday, weekdayFromSunday(read.dayOfWeek()));
    QVERIFY(t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0
            && t.second < 60);
}

void ServicesTest::drawsAreUniformOverTheHoles()
{
    MixingRandom random;
    std::array<int, 9> holes{};
    const int n = 9000;
    for (int i = 0; i < n; ++i) {
        if (i % 5 == 0)
            random.reseed(static_cast<std::uint32_t>(50000 + i / 25));  // as the spawner does
        const double r = random.draw();
        QVERIFY(r >= 0.0 && r < 1.0);
        ++holes[static_cast<std::size_t>(r * 9)];
    }
    for (int count : holes)
        QVERIFY2(count > 850 && count < 1150, qPrintable(QString::number(count)));
}

void ServicesTest::reseedWithTheSameValueMovesOn()
{
    // The spawner reseeds with the time of day five times a second; a
    // generator that restarted on each reseed would pick the same hole
    // again and again.
    MixingRandom random;
    QList<double> draws;
    for (int i = 0; i < 5; ++i) {
        random.reseed(43200);
        draws << random.draw();
    }
    for (int i = 1; i < draws.size(); ++i)
        QVERIFY(draws[i] != draws[0]);
}

void ServicesTest::reseedChangesWhatFollows()
{
    MixingRandom a(7);
    MixingRandom b(7);
    QCOMPARE(a.draw(), b.draw());
    a.reseed(1);
    b.reseed(2);
    QVERIFY(a.draw() != b.draw());
}

void ServicesTest::fileExistsOnlyForFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Score.txt"));
    QtFileSystem fs;
    QVERIFY(!fs.fileExists(file.toStdString()));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QVERIFY(fs.fileExists(file.toStdString()));
    QVERIFY(!fs.fileExists(dir.path().toStdString()));
    const QString japanese = dir.filePath(QStringLiteral("記録.txt"));
    QFile j(japanese);
    QVERIFY(j.open(QIODevice::WriteOnly));
    j.close();
    QVERIFY(fs.fileExists(japanese.toStdString()));
    QVERIFY(QFile::remove(file));
    QVERIFY(!fs.fileExists(file.toStdString()));
}

void ServicesTest::pauseBlocksWithoutHandlingEvents()
{
    bool fired = false;
    QTimer::singleShot(0, this, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    SleepPause().pause(120);
    QVERIFY(clock.elapsed() >= 110);
    QVERIFY(!fired);
    QTRY_VERIFY(fired);
}

void ServicesTest::secondLockInTheSameFolderFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pokopin.lock"));
    auto first = std::make_unique<SingleInstance>(path);
    QCOMPARE(first->acquire(), SingleInstance::Outcome::Held);
    QCOMPARE(first->acquire(), SingleInstance::Outcome::Held);  // asking again keeps the lock
    SingleInstance second(path);
    QCOMPARE(second.acquire(), SingleInstance::Outcome::RunningElsewhere);
    first.reset();  // the process that held it ends
    QCOMPARE(second.acquire(), SingleInstance::Outcome::Held);
}

void ServicesTest::exitBoxAsksWithOkAsDefault_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("quit");
    QTest::newRow("OK") << "ok" << true;
    QTest::newRow("Enter takes the default") << "enter" << true;
    QTest::newRow("Cancel") << "cancel" << false;
    QTest::newRow("Esc") << "escape" << false;
}

void ServicesTest::exitBoxAsksWithOkAsDefault()
{
    QFETCH(QString, answer);
    QFETCH(bool, quit);
    QWidget owner;
    QtDialogs dialogs;
    dialogs.setOwner(&owner);
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget* parent = nullptr;
    whenBoxOpens([&](QMessageBox& box) {
        text = box.text();
        title = box.windowTitle();
        icon = box.icon();
        defaultButton = box.standardButton(box.defaultButton());
        parent = box.parentWidget();
        if (answer == "ok")
            box.button(QMessageBox::Ok)->click();
        else if (answer == "cancel")
            box.button(QMessageBox::Cancel)->click();
        else
            QTest::keyClick(&box, answer == "enter" ? Qt::Key_Return : Qt::Key_Escape);
    });
    QCOMPARE(dialogs.confirmExit(), quit);
    QCOMPARE(text, QStringLiteral("終了しますか？"));
    QCOMPARE(title, QStringLiteral("Pokopinの終了"));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(defaultButton, QMessageBox::Ok);
    QCOMPARE(parent, &owner);
}

void ServicesTest::notRecordedWarningNamesFileAndReason_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("japanese");  // a telling part of the Japanese reason
    QTest::newRow("permission denied") << EACCES << QStringLiteral("権限がありません");
    QTest::newRow("operation not permitted") << EPERM << QStringLiteral("権限がありません");
    QTest::newRow("no space left") << ENOSPC << QStringLiteral("空き容量が足りません");
    QTest::newRow("quota exceeded") << EDQUOT << QStringLiteral("上限に達しています");
    QTest::newRow("is a directory") << EISDIR << QStringLiteral("同じ名前のフォルダ");
    QTest::newRow("read-only") << EROFS << QStringLiteral("読み取り専用");
    QTest::newRow("no such folder") << ENOENT << QStringLiteral("フォルダが見つかりません");
    QTest::newRow("not a directory") << ENOTDIR << QStringLiteral("フォルダでないもの");
    QTest::newRow("file too large") << EFBIG << QStringLiteral("大きすぎます");
    QTest::newRow("input/output error") << EIO << QStringLiteral("読み書きでエラー");
    QTest::newRow("anything else") << EPIPE << QStringLiteral("書き込みの途中でエラー");
}

void ServicesTest::notRecordedWarningNamesFileAndReason()
{
    QFETCH(int, error);
    QFETCH(QString, japanese);
    QWidget owner;
    QtDialogs dialogs;
    dialogs.setOwner(&owner);
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenBoxOpens([&](QMessageBox& box) {
        text = box.text();
        icon = box.icon();
        box.accept();
    });
    const std::string system = std::generic_category().message(error);
    dialogs.warnNotRecorded("/game/Score.txt", system, error);
    QCOMPARE(icon, QMessageBox::Warning);
    QVERIFY(text.contains(QStringLiteral("記録")));
    // The file, then the Japanese reason, then the system's own words.
    const qsizetype file = text.indexOf(QStringLiteral("/game/Score.txt"));
    const qsizetype why = text.indexOf(japanese);
    const qsizetype own = text.indexOf(QString::fromStdString(system));
    QVERIFY2(file >= 0 && why > file && own > why, qPrintable(text));
}

void ServicesTest::qtButtonsReadJapanese()
{
    QVERIFY2(installQtJapanese(*qApp), "Qt's Japanese texts are not installed");
    QWidget owner;
    QtDialogs dialogs;
    dialogs.setOwner(&owner);
    QString ok, cancel;
    whenBoxOpens([&](QMessageBox& box) {
        ok = box.button(QMessageBox::Ok)->text();
        cancel = box.button(QMessageBox::Cancel)->text();
        box.button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!dialogs.confirmExit());
    QCOMPARE(cancel, QStringLiteral("キャンセル"));
    QCOMPARE(ok.remove(QLatin1Char('&')), QStringLiteral("OK"));
}

QTEST_MAIN(ServicesTest)
#include "services_test.moc"
