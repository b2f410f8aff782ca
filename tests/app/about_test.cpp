// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The version dialog, on its own and as the main window opens and closes it.

#include <QtTest>

#include <QLabel>
#include <QPushButton>

#include <memory>

#include "about_dialog.h"
#include "fakes.h"
#include "main_window.h"

using pokopin::app::AboutDialog;
using pokopin::testing::FakeWorld;
using pokopin::ui::MainWindow;

namespace {

struct Rig {
    FakeWorld world;
    MainWindow window{world.services(), pokopin::testing::filesIn("/game"),
                      [](QWidget* owner) { return std::make_unique<AboutDialog>(owner); }};
    Rig()
    {
        world.files.files.insert("/game/Score.txt");
        window.load();
    }
    AboutDialog* about() const { return static_cast<AboutDialog*>(window.about()); }
};

// Runs `whileOpen` once the dialog is up, then opens it through the menu
// item and returns when the dialog is hidden again. A dialog that does not
// close within a few seconds is closed by force and reported.
bool openAbout(Rig& r, const std::function<void(AboutDialog&)>& whileOpen)
{
    bool forced = false;
    QTimer::singleShot(0, &r.window, [&] {
        if (r.about() && r.about()->isVisible())
            whileOpen(*r.about());
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (r.about() && r.about()->isVisible()) {
            forced = true;
            r.about()->hide();
        }
    });
    guard.start(5000);
    r.window.findChild<QAction*>(QStringLiteral("aboutAction"))->trigger();
    return !forced;
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void versionTextIsBuiltOnce();
    void closes_data();
    void closes();
    void closingTheMainWindowDestroysTheDialog();
};

void AboutTest::layout()
{
    AboutDialog about;
    QCOMPARE(about.size(), QSize(271, 113));
    QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(about.isModal());
    QCOMPARE(about.okButton()->geometry(), QRect(167, 74, 75, 26));
    QCOMPARE(about.okButton()->text(), QStringLiteral("OK"));
    QVERIFY(about.okButton()->isDefault());
    auto* title = about.findChild<QLabel*>(QStringLiteral("titleLabel"));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Pokopin！"));
    QCOMPARE(title->pos(), QPoint(59, 13));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(192, 64, 0));
    QCOMPARE(about.versionLabel()->pos(), QPoint(23, 61));
    auto* image = about.findChild<QLabel*>(QStringLiteral("logo"));
    QVERIFY(image);
    QCOMPARE(image->geometry(), QRect(17, 10, 32, 32));
    QVERIFY(!image->pixmap().isNull());
    auto* copyright = about.findChild<QLabel*>(QStringLiteral("copyrightLabel"));
    QVERIFY(copyright && !copyright->text().isEmpty());
    QCOMPARE(copyright->pos(), QPoint(23, 89));
    // The line runs beside the button, not under it.
    QVERIFY(copyright->geometry().right() < about.okButton()->x());
    QVERIFY(about.versionLabel()->geometry().right() < about.okButton()->x());
    // The orange line, 5 px wide, across the dialog.
    const QImage shot = about.grab().toImage();
    QCOMPARE(shot.pixelColor(100, 50), QColor(255, 128, 0));
    QCOMPARE(shot.pixelColor(100, 48), QColor(255, 128, 0));
    QVERIFY(shot.pixelColor(100, 45) != QColor(255, 128, 0));
    QVERIFY(shot.pixelColor(5, 50) != QColor(255, 128, 0));
    // A thin edge all round, one pixel wide, for a dialog without a frame.
    const QColor edge(96, 96, 96);
    for (const QPoint at :
         {QPoint(0, 0), QPoint(135, 0), QPoint(270, 56), QPoint(135, 112), QPoint(0, 56)})
        QCOMPARE(shot.pixelColor(at), edge);
    QVERIFY(shot.pixelColor(1, 56) != edge);
    QVERIFY(shot.pixelColor(135, 111) != edge);
}

void AboutTest::versionTextIsBuiltOnce()
{
    Rig r;
    QVERIFY(!r.about());
    QStringList texts;
    QPoint centreSeen;
    for (int n = 0; n < 2; ++n)
        QVERIFY(openAbout(r, [&](AboutDialog& d) {
            texts << d.versionLabel()->text();
            centreSeen = d.geometry().center();
            d.okButton()->click();
        }));
    QCOMPARE(texts, (QStringList{QStringLiteral("Version 1.42"), QStringLiteral("Version 1.42")}));
    // Centred on the main window.
    QVERIFY((centreSeen - r.window.frameGeometry().center()).manhattanLength() <= 2);
}

void AboutTest::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK clicked") << "click";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Return") << "return";
    QTest::newRow("Esc") << "escape";
}

void AboutTest::closes()
{
    QFETCH(QString, how);
    Rig r;
    bool wasOpen = false;
    QVERIFY(openAbout(r, [&](AboutDialog& d) {
        wasOpen = true;
        if (how == "click")
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
        else
            QTest::keyClick(&d, how == "enter"    ? Qt::Key_Enter
                                : how == "return" ? Qt::Key_Return
                                                  : Qt::Key_Escape);
    }));
    QVERIFY(wasOpen);
    // Hidden, not destroyed.
    QVERIFY(r.about());
    QVERIFY(!r.about()->isVisible());
}

void AboutTest::closingTheMainWindowDestroysTheDialog()
{
    Rig r;
    QVERIFY(openAbout(r, [](AboutDialog& d) { d.okButton()->click(); }));
    QPointer<QDialog> dialog = r.window.about();
    QVERIFY(dialog);
    QObject::connect(dialog, &QObject::destroyed,
                     [&] { r.world.journal.push_back("close about"); });
    r.world.journal.clear();
    r.window.close();
    QVERIFY(!dialog);
    QVERIFY(!r.window.about());
    // After the tunes have stopped.
    QCOMPARE(r.world.journal.back(), std::string("close about"));
    QCOMPARE(r.world.journal.front(), std::string("stop moguana"));
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
