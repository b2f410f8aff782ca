// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window on the offscreen platform, driven by the fake services:
// layout and hit testing, what the window shows of the game, the
// routing of keys, clicks, menu commands and menu openings, and the painting
// of the side panel.

#include <QtTest>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QActionGroup>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>

#include "fakes.h"
#include "main_window.h"
#include "mode_panel.h"
#include "modes.h"
#include "picture_box.h"
#include "pokopin_art.h"

using pokopin::game::Hole;
using pokopin::testing::FakeWorld;
using pokopin::testing::ScriptedRandom;
using pokopin::ui::HoleBox;
using pokopin::ui::MainWindow;

namespace {

const std::string kFolder = "/game";
const std::string kLogPath = "/game/Score.txt";
const std::string kHelpPath = "/game/Help.html";

// The main window with a fake world around it.
struct Rig {
    FakeWorld world;
    MainWindow window;

    explicit Rig(bool logExists = true)
        : window(world.services(), pokopin::testing::filesIn(kFolder),
                 [](QWidget* owner) { return std::make_unique<QDialog>(owner); })
    {
        // What the program does on these signals: close the title card once
        // the window is up, and end.
        QObject::connect(&window, &MainWindow::shown, [this] {
            if (window.isVisible())
                world.journal.push_back("show main");
            world.journal.push_back("close title");
        });
        QObject::connect(&window, &MainWindow::exitConfirmed,
                         [this] { world.journal.push_back("end program"); });
        if (logExists)
            world.files.files.insert(kLogPath);
        world.files.files.insert(kHelpPath);
        // Every draw picks hole 8, so no mole can rise anywhere else.
        world.random.fallback = ScriptedRandom::forHole(8);
    }
    void load() { window.load(); }

    QAction* action(const QString& name) const
    {
        auto* a = window.findChild<QAction*>(name);
        if (!a)
            qFatal("no action %s", qPrintable(name));
        return a;
    }
    QLabel* label(const QString& name) const
    {
        auto* l = window.findChild<QLabel*>(name);
        if (!l)
            qFatal("no label %s", qPrintable(name));
        return l;
    }
    QTimer* timer(const QString& name) const
    {
        auto* t = window.findChild<QTimer*>(name);
        if (!t)
            qFatal("no timer %s", qPrintable(name));
        return t;
    }
    QMenu* menu(const QString& name) const { return window.findChild<QMenu*>(name); }
    QAction* mode(int k) const { return action(QStringLiteral("modeAction%1").arg(k)); }
    int checkedMode() const
    {
        int found = -1;
        for (int k = 0; k < 4; ++k)
            if (mode(k)->isChecked()) {
                if (found != -1)
                    return -2;  // more than one
                found = k;
            }
        return found;
    }
    bool running() const { return timer(QStringLiteral("spawnerTimer"))->isActive(); }
    int missCount() const { return window.logic().model().counters.missCount; }
    int count(const std::string& entry) const
    {
        return static_cast<int>(std::count(world.journal.begin(), world.journal.end(), entry));
    }
    // Index of the first journal entry equal to `entry`, -1 if none.
    int position(const std::string& entry) const
    {
        const auto it = std::find(world.journal.begin(), world.journal.end(), entry);
        return it == world.journal.end() ? -1 : static_cast<int>(it - world.journal.begin());
    }

    // Key events reach the control with the focus, as the platform sends them.
    void key(QEvent::Type type, int key, Qt::KeyboardModifiers mods = {}, bool autoRepeat = false)
    {
        QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
        QKeyEvent event(type, key, mods, QString(), autoRepeat);
        QApplication::sendEvent(target, &event);
    }
    void tap(int k, Qt::KeyboardModifiers mods = {})
    {
        key(QEvent::KeyPress, k, mods);
        key(QEvent::KeyRelease, k, mods);
    }
    // Opens a menu the way the menu bar does; its handler runs before it shows.
    void open(const QString& name)
    {
        QMenu* m = menu(name);
        m->popup(window.mapToGlobal(QPoint(0, 0)));
        m->hide();
    }
};

QPoint clientToWindow(const MainWindow& w, QPoint client)
{
    return w.centralWidget()->mapTo(&w, client);
}

// Pixels within `tolerance` of `colour` in every channel.
int pixelsOfColour(const QImage& image, const QRect& rect, QRgb colour, int tolerance = 0)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (std::abs(qRed(px) - qRed(colour)) <= tolerance
                && std::abs(qGreen(px) - qGreen(colour)) <= tolerance
                && std::abs(qBlue(px) - qBlue(colour)) <= tolerance)
                ++n;
        }
    return n;
}

const QRgb kModeColours[4] = {qRgb(255, 255, 0), qRgb(255, 204, 0), qRgb(204, 153, 51),
                              qRgb(255, 0, 0)};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void freshWindowShowsTheLayoutStates();
    void loadSetsTheIdleWindow_data();
    void loadSetsTheIdleWindow();
    void clientAreaIsFixedAt640x480();
    void holesTileTheBoard_data();
    void holesTileTheBoard();
    void clickHitsTheHoleUnderThePointer_data();
    void clickHitsTheHoleUnderThePointer();
    void holeClickWhacksDuringAGame();
    void holesTellAssistiveToolsWhatTheyShow();
    void clickNeedsPressAndReleaseOnTheSameHole();
    void secondPressOfADoubleClickIsNoClick();
    void labelsSitAtTheirPlaces_data();
    void labelsSitAtTheirPlaces();
    void whiteLabelLiesOverItsShadow();
    void counterStaysInsideItsBox_data();
    void counterStaysInsideItsBox();
    void menuTreeHasCaptionsAndShortcuts();
    void menuCheckMarksFollowTheLogic();
    void gameDisablesMenusAndTheirShortcuts();
    void modeLabelIsPaintedInTheModeColour_data();
    void modeLabelIsPaintedInTheModeColour();
    void noTraceOfAnEarlierModeLabel_data();
    void noTraceOfAnEarlierModeLabel();
    void panelKeepsItsLabelAcrossHideAndShow();
    void holeKeysWhackTheirHole_data();
    void holeKeysWhackTheirHole();
    void pressWhacksAndReleaseCommands();
    void autoRepeatPressesWhackButRepeatedReleasesDoNothing();
    void keypadWithoutNumLockActsAsArrows_data();
    void keypadWithoutNumLockActsAsArrows();
    void ctrlChordsWhackNothing();
    void arrowsStepThroughTheModes();
    void recordingToggleByMenuAndByUp();
    void menuOpeningReevaluatesScoreAndHelp();
    void timersFollowTheLogic();
    void exitCancelledDuringAGameLetsItGoOn();
    void exitConfirmedEndsAtOnce();
    void closingTheWindowStopsTheTunes();
    void finerScreensShowFinerPictures_data();
    void finerScreensShowFinerPictures();
    void onlyTheCheckedItemShowsAMark_data();
    void onlyTheCheckedItemShowsAMark();
};

void MainWindowTest::freshWindowShowsTheLayoutStates()
{
    Rig r(false);
    QVERIFY(r.action("stopAction")->isVisible());
    QVERIFY(r.action("startAction")->isVisible());
    for (int k = 0; k < 4; ++k)
        QVERIFY(!r.mode(k)->isChecked());
    QVERIFY(r.action("recordAction0")->isChecked());
    QVERIFY(!r.action("recordAction1")->isChecked());
    QVERIFY(!r.action("scoreLogAction")->isEnabled());
    QCOMPARE(r.label("clockLabel")->text(), QStringLiteral("20"));
    QCOMPARE(r.label("clockShadow")->text(), QStringLiteral("20"));
    QVERIFY(r.timer("titleRestartTimer")->isActive());
    // The music tick only runs while a tune switch waits.
    QVERIFY(!r.timer("musicTimer")->isActive());
    for (const char* t : {"spawnerTimer", "retreatTimer", "clockTimer"})
        QVERIFY2(!r.timer(t)->isActive(), t);
    QVERIFY(!r.window.isVisible());
    QVERIFY(r.world.journal.empty());
}

void MainWindowTest::loadSetsTheIdleWindow_data()
{
    QTest::addColumn<bool>("logExists");
    QTest::newRow("first run") << false;
    QTest::newRow("log present") << true;
}

void MainWindowTest::loadSetsTheIdleWindow()
{
    QFETCH(bool, logExists);
    Rig r(logExists);
    r.load();
    QCOMPARE(r.label("clockLabel")->text(), QStringLiteral("25"));
    QCOMPARE(r.label("clockShadow")->text(), QStringLiteral("25"));
    QCOMPARE(r.checkedMode(), 0);
    QVERIFY(!r.action("stopAction")->isVisible());
    QVERIFY(r.action("startAction")->isVisible());
    QCOMPARE(r.action("scoreLogAction")->isEnabled(), logExists);
    QVERIFY(r.window.isVisible());
    for (int i = 0; i < 9; ++i)
        QCOMPARE(r.window.holes(i)->picture(), &r.window.holePicture(0));
    QCOMPARE(r.window.focusWidget(), r.window.boardBox());
    QCOMPARE(r.count("greet"), logExists ? 0 : 1);
    // The window comes up only after the greeting and the title tune, and
    // before the title goes.
    QVERIFY(r.position("show main") >= 0);
    QVERIFY(r.position("greet") < r.position("show main"));
    QVERIFY(r.position("play moguana") < r.position("show main"));
    QVERIFY(r.position("show main") < r.position("close title"));
    QVERIFY(r.timer("titleRestartTimer")->isActive());
    QVERIFY(!r.running());
}

void MainWindowTest::clientAreaIsFixedAt640x480()
{
    Rig r;
    r.load();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    QCOMPARE(r.window.centralWidget()->size(), QSize(640, 480));
    QCOMPARE(r.window.centralWidget()->mapTo(&r.window, QPoint(0, 0)).x(), 0);
    QCOMPARE(r.window.minimumSize(), r.window.maximumSize());
    QCOMPARE(r.window.size(), r.window.minimumSize());
    QCOMPARE(r.window.height(), 480 + r.window.menuBar()->height());
    QVERIFY(!(r.window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(r.window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(r.window.boardBox()->geometry(), QRect(0, 0, 460, 480));
    QCOMPARE(r.window.panelBox()->geometry(), QRect(460, 0, 180, 480));
    QCOMPARE(r.window.windowTitle(), QStringLiteral("Pokopin！"));
    QVERIFY(!r.window.windowIcon().isNull());
    const QSize before = r.window.size();
    r.window.resize(800, 700);
    QCOMPARE(r.window.size(), before);
}

void MainWindowTest::holesTileTheBoard_data()
{
    QTest::addColumn<int>("hole");
    QTest::addColumn<QPoint>("topLeft");
    const QPoint corners[9] = {{32, 40},   {176, 40}, {320, 40},  {32, 174}, {176, 174},
                               {320, 174}, {32, 308}, {176, 308}, {320, 308}};
    for (int i = 0; i < 9; ++i)
        QTest::addRow("hole%d", i) << i << corners[i];
}

void MainWindowTest::holesTileTheBoard()
{
    QFETCH(int, hole);
    QFETCH(QPoint, topLeft);
    Rig r;
    HoleBox* box = r.window.holes(hole);
    // In the holes' own group on the board, which assistive tools see.
    QCOMPARE(box->parentWidget()->parentWidget(), r.window.boardBox());
    QCOMPARE(QRect(box->mapTo(r.window.boardBox(), QPoint(0, 0)), box->size()),
             QRect(topLeft, QSize(100, 100)));
    QWidget* client = r.window.centralWidget();
    QCOMPARE(client->childAt(topLeft), box);
    QCOMPARE(client->childAt(topLeft + QPoint(99, 99)), box);
    QVERIFY(client->childAt(topLeft + QPoint(100, 99)) != box);
    QVERIFY(client->childAt(topLeft + QPoint(99, 100)) != box);
    QVERIFY(client->childAt(topLeft - QPoint(1, 0)) != box);
}

void MainWindowTest::clickHitsTheHoleUnderThePointer_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("hole");  // -1: the board
    QTest::newRow("bottom-right pixel of holes(0)") << QPoint(131, 139) << 0;
    QTest::newRow("gap between holes(0) and (1)") << QPoint(132, 40) << -1;
    QTest::newRow("gap below holes(0)") << QPoint(60, 140) << -1;
    QTest::newRow("top-left of holes(1)") << QPoint(176, 40) << 1;
    QTest::newRow("centre of holes(4)") << QPoint(226, 224) << 4;
    QTest::newRow("bottom-right pixel of holes(8)") << QPoint(419, 407) << 8;
    QTest::newRow("below holes(8)") << QPoint(419, 408) << -1;
    QTest::newRow("side panel") << QPoint(500, 100) << -1;
}

void MainWindowTest::clickHitsTheHoleUnderThePointer()
{
    QFETCH(QPoint, point);
    QFETCH(int, hole);
    Rig r;
    r.load();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int i = 0; i < 9; ++i)
        spies.push_back(std::make_unique<QSignalSpy>(r.window.holes(i), &HoleBox::clicked));
    QTest::mouseClick(r.window.windowHandle(), Qt::LeftButton, {}, clientToWindow(r.window, point));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(spies[static_cast<std::size_t>(i)]->count(), i == hole ? 1 : 0);
}

void MainWindowTest::holeClickWhacksDuringAGame()
{
    Rig r;
    r.load();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    r.action("startAction")->trigger();
    QVERIFY(r.running());
    QTest::mouseClick(r.window.windowHandle(), Qt::LeftButton, {},
                      clientToWindow(r.window, QPoint(226, 224)));
    QCOMPARE(r.missCount(), 1);
    QCOMPARE(r.window.holes(4)->picture(), &r.window.holePicture(3));
    QCOMPARE(r.label("missCountLabel")->text(), QStringLiteral("1"));
}

// Assistive tools read each hole's place and what it shows, and press a
// hole as a click does.
void MainWindowTest::holesTellAssistiveToolsWhatTheyShow()
{
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    while (r.window.logic().model().board[8] != Hole::Mole)
        r.window.logic().spawnerTick();
    r.window.render();
    auto press = [&r](int hole) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(r.window.holes(hole));
        QVERIFY(iface && iface->actionInterface());
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    auto name = [&r](int hole) {
        return QAccessible::queryAccessibleInterface(r.window.holes(hole))->text(QAccessible::Name);
    };
    QCOMPARE(name(8), QStringLiteral("穴 9: もぐら"));
    QCOMPARE(name(0), QStringLiteral("穴 1: 空"));
    press(8);
    press(4);
    QCOMPARE(r.window.logic().model().board[8], Hole::Whacked);
    QCOMPARE(name(8), QStringLiteral("穴 9: ヒット"));
    QCOMPARE(name(4), QStringLiteral("穴 5: ミス"));
}

void MainWindowTest::clickNeedsPressAndReleaseOnTheSameHole()
{
    Rig r;
    r.load();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    QSignalSpy spy0(r.window.holes(0), &HoleBox::clicked);
    QSignalSpy spy1(r.window.holes(1), &HoleBox::clicked);
    QWindow* win = r.window.windowHandle();
    QTest::mousePress(win, Qt::LeftButton, {}, clientToWindow(r.window, QPoint(80, 80)));
    QTest::mouseRelease(win, Qt::LeftButton, {}, clientToWindow(r.window, QPoint(220, 80)));
    QCOMPARE(spy0.count(), 0);
    QCOMPARE(spy1.count(), 0);
    QTest::mouseClick(win, Qt::RightButton, {}, clientToWindow(r.window, QPoint(80, 80)));
    QCOMPARE(spy0.count(), 0);
    QTest::mouseClick(win, Qt::LeftButton, {}, clientToWindow(r.window, QPoint(80, 80)));
    QCOMPARE(spy0.count(), 1);
}

void MainWindowTest::secondPressOfADoubleClickIsNoClick()
{
    Rig r;
    r.load();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    HoleBox* hole = r.window.holes(2);
    QSignalSpy clicks(hole, &HoleBox::clicked);
    struct DoubleClicks : QObject {
        int n = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            n += e->type() == QEvent::MouseButtonDblClick;
            return false;
        }
    } doubles;
    hole->installEventFilter(&doubles);
    QTest::mouseDClick(r.window.windowHandle(), Qt::LeftButton, {},
                       clientToWindow(r.window, QPoint(370, 90)));
    QCOMPARE(doubles.n, 1);  // the platform did see a double-click
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 2);
}

void MainWindowTest::labelsSitAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("pixelSize");
    const QColor white(255, 255, 255);
    const QColor plain = QApplication::palette().color(QPalette::ButtonText);
    auto row = [](const char* name, const char* container, QPoint pos, const char* text,
                  QColor colour, int px) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container) << pos
                            << QString::fromLatin1(text) << colour << px;
    };
    row("moleCountLabel", "panelBox", {145, 243}, "0", white, 29);
    row("hitCountLabel", "panelBox", {144, 312}, "0", white, 29);
    row("missCountLabel", "panelBox", {144, 376}, "0", white, 29);
    row("scoreLabel", "panelBox", {144, 440}, "0", white, 29);
    row("recordLabel", "boardBox", {32, 449}, "SCORE RECORD", white, 19);
    row("recordShadow", "boardBox", {34, 450}, "SCORE RECORD", plain, 19);
    row("secondsCaption", "boardBox", {388, 439}, ".sec", white, 35);
    row("secondsCaptionShadow", "boardBox", {391, 440}, ".sec", QColor(0, 0, 0), 35);
    row("colonLabel", "boardBox", {327, 439}, ":", white, 35);
    row("colonShadow", "boardBox", {330, 440}, ":", plain, 35);
    row("timeCaption", "boardBox", {227, 439}, "TIME", white, 35);
    row("timeCaptionShadow", "boardBox", {230, 440}, "TIME", plain, 35);
    row("clockLabel", "boardBox", {347, 439}, "25", white, 35);
    row("clockShadow", "boardBox", {350, 440}, "25", QColor(64, 64, 64), 35);
}

void MainWindowTest::labelsSitAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QPoint, pos);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(int, pixelSize);
    Rig r;
    r.load();
    QLabel* l = r.label(name);
    QCOMPARE(l->parentWidget()->objectName(), container);
    QCOMPARE(l->pos(), pos);
    QCOMPARE(l->text(), text);
    QCOMPARE(l->palette().color(QPalette::WindowText), colour);
    QCOMPARE(l->font().pixelSize(), pixelSize);
    QVERIFY(l->font().bold());
    QVERIFY(!l->autoFillBackground());
    QVERIFY(l->isVisible());
    // Sized to its text: nothing of it is cut off.
    QVERIFY(l->width() >= l->fontMetrics().horizontalAdvance(text));
    QVERIFY(l->height() >= l->fontMetrics().height());
}

void MainWindowTest::whiteLabelLiesOverItsShadow()
{
    Rig r;
    const std::pair<const char*, const char*> pairs[] = {{"recordLabel", "recordShadow"},
                                                         {"secondsCaption", "secondsCaptionShadow"},
                                                         {"colonLabel", "colonShadow"},
                                                         {"timeCaption", "timeCaptionShadow"},
                                                         {"clockLabel", "clockShadow"}};
    for (const auto& [white, shadow] : pairs) {
        QLabel* w = r.label(white);
        QLabel* s = r.label(shadow);
        const QObjectList& siblings = w->parentWidget()->children();
        // A later sibling is painted over an earlier one.
        QVERIFY2(siblings.indexOf(w) > siblings.indexOf(s), white);
        // The board's label pairs overlap, so the order matters.
        QVERIFY2(w->geometry().intersects(s->geometry()), white);
    }
}

void MainWindowTest::counterStaysInsideItsBox_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("homeX");
    QTest::addColumn<QString>("text");
    for (const char* text : {"7", "32", "-60", "12345"}) {
        QTest::addRow("moleCountText %s", text) << "moleCountLabel" << 145 << text;
        QTest::addRow("hitCountText %s", text) << "hitCountLabel" << 144 << text;
        QTest::addRow("missCountText %s", text) << "missCountLabel" << 144 << text;
        QTest::addRow("scoreText %s", text) << "scoreLabel" << 144 << text;
    }
}

void MainWindowTest::counterStaysInsideItsBox()
{
    QFETCH(QString, label);
    QFETCH(int, homeX);
    QFETCH(QString, text);
    Rig r;
    r.load();
    QLabel* counter = r.label(label);
    QCOMPARE(counter->x(), homeX);  // "0" at its place in the layout
    auto& shown = r.window.logic().model().scoreboard;
    const int figure = text.toInt();
    if (label == "moleCountLabel")
        shown.moleCount = figure;
    else if (label == "hitCountLabel")
        shown.hitCount = figure;
    else if (label == "missCountLabel")
        shown.missCount = figure;
    else
        shown.score = figure;
    r.window.render();
    QCOMPARE(counter->text(), text);
    QVERIFY(counter->width() >= counter->fontMetrics().horizontalAdvance(text));
    // Short figures keep the layout's left edge; every figure ends inside the
    // blue box (x = 5 to 174), never cut off by the panel's edge.
    QVERIFY(counter->x() <= homeX);
    QVERIFY2(counter->geometry().right() <= 174,
             qPrintable(QString::number(counter->geometry().right())));
    QVERIFY(counter->x() >= 5);
    if (counter->fontMetrics().horizontalAdvance(text) + homeX < 160)
        QCOMPARE(counter->x(), homeX);
}

void MainWindowTest::menuTreeHasCaptionsAndShortcuts()
{
    Rig r;
    const QList<QAction*> titles = r.window.menuBar()->actions();
    QStringList captions;
    for (QAction* t : titles)
        captions << t->text();
    QCOMPARE(captions, (QStringList{QStringLiteral("ゲーム(&G)"), QStringLiteral("設定(&O)"),
                                    QStringLiteral("スコア(&S)"), QStringLiteral("ヘルプ(&H)")}));
    auto items = [&](const char* menu) {
        QStringList out;
        for (QAction* a : r.menu(QString::fromLatin1(menu))->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    QCOMPARE(items("gameMenu"), (QStringList{QStringLiteral("スタート"), QStringLiteral("ストップ"),
                                             QStringLiteral("-"), QStringLiteral("終了")}));
    QCOMPARE(items("modeMenu"), (QStringList{QStringLiteral("かんたん"), QStringLiteral("ふつう"),
                                             QStringLiteral("むずい"), QStringLiteral("どむず")}));
    QCOMPARE(items("scoreMenu"),
             (QStringList{QStringLiteral("記録する"), QStringLiteral("記録しない"),
                          QStringLiteral("SCORE"), QStringLiteral("成績グラフ")}));
    QCOMPARE(items("helpMenu"),
             (QStringList{QStringLiteral("HELP"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")}));
    QCOMPARE(r.action("exitAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCOMPARE(r.action("scoreLogAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(r.action("historyAction")->shortcut(), QKeySequence(QStringLiteral("Ctrl+G")));
    QCOMPARE(r.action("helpAction")->shortcut(), QKeySequence(QStringLiteral("F1")));
    QVERIFY(r.mode(0)->isCheckable());
    QVERIFY(r.action("recordAction0")->isCheckable());
}

void MainWindowTest::menuCheckMarksFollowTheLogic()
{
    Rig r;
    r.load();
    // Choosing the checked mode: Qt's own toggle would clear the mark.
    r.mode(0)->trigger();
    QCOMPARE(r.checkedMode(), 0);
    QCOMPARE(r.count("effect pon.wav"), 0);
    r.mode(2)->trigger();
    QCOMPARE(r.checkedMode(), 2);
    QCOMPARE(pokopin::game::moleQuota(r.window.logic().model()), 100);
    r.mode(3)->trigger();
    QCOMPARE(r.checkedMode(), 3);
    QCOMPARE(pokopin::game::moleQuota(r.window.logic().model()), 105);
    QCOMPARE(r.count("effect pon.wav"), 2);
    r.action("recordAction0")->trigger();  // already checked
    QVERIFY(r.action("recordAction0")->isChecked());
    QVERIFY(!r.action("recordAction1")->isChecked());
}

void MainWindowTest::gameDisablesMenusAndTheirShortcuts()
{
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    QVERIFY(r.running());
    QVERIFY(!r.action("startAction")->isVisible());
    QVERIFY(r.action("stopAction")->isVisible());
    for (const char* m : {"modeMenu", "scoreMenu", "helpMenu"})
        QVERIFY2(!r.menu(QString::fromLatin1(m))->menuAction()->isEnabled(), m);
    // Items under a disabled title are disabled too, shortcuts included.
    QVERIFY(!r.action("scoreLogAction")->isEnabled());
    QVERIFY(!r.action("historyAction")->isEnabled());
    QVERIFY(!r.action("helpAction")->isEnabled());
    QVERIFY(!r.action("aboutAction")->isEnabled());
    QVERIFY(r.action("exitAction")->isEnabled());
    // The end of a game gives the board the focus back before the pause.
    r.window.boardBox()->clearFocus();
    QVERIFY(r.window.focusWidget() != r.window.boardBox());
    QWidget* focusDuringPause = nullptr;
    r.world.pause.during = [&] { focusDuringPause = r.window.focusWidget(); };
    r.action("stopAction")->trigger();
    QCOMPARE(focusDuringPause, r.window.boardBox());
    QVERIFY(!r.running());
    QVERIFY(r.action("scoreLogAction")->isEnabled());
    QVERIFY(r.action("historyAction")->isEnabled());
    QVERIFY(r.action("helpAction")->isEnabled());
    QVERIFY(r.menu("helpMenu")->menuAction()->isEnabled());
    QCOMPARE(r.count("pause 500"), 1);
}

void MainWindowTest::modeLabelIsPaintedInTheModeColour_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("scale");  // the panel kept for finer screens has twice the pixels
    for (int scale : {1, 2})
        for (int k = 0; k < 4; ++k)
            QTest::addRow("mode %d at %dx", k, scale) << k << scale;
}

void MainWindowTest::modeLabelIsPaintedInTheModeColour()
{
    QFETCH(int, mode);
    QFETCH(int, scale);
    Rig r;
    r.load();
    r.mode(mode)->trigger();
    QImage panel = scale == 1 ? r.window.panelImage() : r.window.finePanelImage();
    QImage pristine =
        QImage(scale == 1 ? pokopin::art::panel() : pokopin::art::hiDpi(pokopin::art::panel()))
            .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(panel.size(), QSize(180, 480) * scale);
    panel.setDevicePixelRatio(1);  // device pixels from here on
    pristine.setDevicePixelRatio(1);
    const auto scaled = [scale](const QRect& rect) {
        return QRect(rect.topLeft() * scale, rect.size() * scale);
    };
    const QRect clearRect = scaled(pokopin::ui::kModeLabelClearRect);
    const QRect label = scaled(pokopin::ui::kModeLabelRect);
    const QRect area = clearRect.intersected(panel.rect());
    for (int k = 0; k < 4; ++k) {
        // The lettering's edges are smoothed, so its body is counted with a
        // little tolerance; other modes' colours must not appear at all.
        const int n = pixelsOfColour(panel, area, kModeColours[k], k == mode ? 12 : 0);
        if (k == mode)
            QVERIFY2(n >= 40 * scale * scale,
                     qPrintable(QStringLiteral("only %1 pixels of the mode colour").arg(n)));
        else
            QVERIFY2(n == 0,
                     qPrintable(QStringLiteral("%1 pixels of mode %2's colour").arg(n).arg(k)));
    }
    // The lettering has a black outline from the mask.
    QVERIFY(pixelsOfColour(panel, label, qRgb(0, 0, 0)) > 0);
    // Every pixel of the label is either the panel as it was or a shade of the
    // mode colour between black and full strength: no fringe of stray colours.
    const QColor ink = QColor::fromRgb(kModeColours[mode]);
    for (int y = label.top(); y <= label.bottom(); ++y) {
        for (int x = label.left(); x <= label.right(); ++x) {
            const QRgb px = panel.pixel(x, y);
            if (px == pristine.pixel(x, y))
                continue;
            const double t =
                double(qRed(px) + qGreen(px) + qBlue(px)) / (ink.red() + ink.green() + ink.blue());
            const bool shade = std::abs(qRed(px) - t * ink.red()) <= 3
                               && std::abs(qGreen(px) - t * ink.green()) <= 3
                               && std::abs(qBlue(px) - t * ink.blue()) <= 3;
            QVERIFY2(shade,
                     qPrintable(
                         QStringLiteral("stray colour %1 at %2,%3").arg(px, 8, 16).arg(x).arg(y)));
        }
    }
    // Outside the box nothing changed.
    QImage outside = panel;
    QImage clean = pristine;
    {
        QPainter p(&outside);
        p.fillRect(clearRect, Qt::magenta);
        QPainter q(&clean);
        q.fillRect(clearRect, Qt::magenta);
    }
    QCOMPARE(outside, clean);
}

void MainWindowTest::noTraceOfAnEarlierModeLabel_data()
{
    QTest::addColumn<QList<int>>("modes");
    QTest::newRow("easy to very hard") << QList<int>{3};
    QTest::newRow("round trip") << QList<int>{1, 2, 3, 0};
    QTest::newRow("back and forth") << QList<int>{3, 1, 3, 2, 1};
    QTest::newRow("same mode chosen again") << QList<int>{2, 2, 0, 0, 1};
}

void MainWindowTest::noTraceOfAnEarlierModeLabel()
{
    QFETCH(QList<int>, modes);
    Rig r;
    r.load();
    for (int k : modes)
        r.mode(k)->trigger();
    // The panel must equal a panel that was only ever painted with the final mode.
    Rig fresh;
    fresh.load();
    if (modes.back() != 0)
        fresh.mode(modes.back())->trigger();
    QCOMPARE(r.window.panelImage(), fresh.window.panelImage());
    QCOMPARE(r.window.finePanelImage(), fresh.window.finePanelImage());
    QCOMPARE(r.checkedMode(), modes.back());
}

void MainWindowTest::panelKeepsItsLabelAcrossHideAndShow()
{
    Rig r;
    r.load();
    r.mode(3)->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    r.window.showMinimized();
    r.window.hide();
    r.window.showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(&r.window));
    const QImage shown =
        r.window.panelBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(pixelsOfColour(shown, pokopin::ui::kModeLabelRect, kModeColours[3]) >= 40);
    QCOMPARE(pixelsOfColour(shown, pokopin::ui::kModeLabelRect, kModeColours[0]), 0);
}

void MainWindowTest::holeKeysWhackTheirHole_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("hole");
    const int letters[9] = {Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_A, Qt::Key_S,
                            Qt::Key_D, Qt::Key_Z, Qt::Key_X, Qt::Key_C};
    const int digits[9] = {7, 8, 9, 4, 5, 6, 1, 2, 3};
    for (int i = 0; i < 9; ++i) {
        QTest::addRow("letter %c", char(letters[i])) << letters[i] << false << i;
        QTest::addRow("keypad %d", digits[i]) << int(Qt::Key_0 + digits[i]) << true << i;
    }
}

void MainWindowTest::holeKeysWhackTheirHole()
{
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(int, hole);
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    r.key(QEvent::KeyPress, key, keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(r.missCount(), 1);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(r.window.holes(i)->picture(), &r.window.holePicture(i == hole ? 3 : 0));
    // The release commands nothing for a hole key.
    r.key(QEvent::KeyRelease, key, keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QVERIFY(r.running());
}

void MainWindowTest::pressWhacksAndReleaseCommands()
{
    Rig r;
    r.load();
    for (int key : {int(Qt::Key_Space), int(Qt::Key_Down)}) {
        r.key(QEvent::KeyPress, key);
        QVERIFY(!r.running());
        r.key(QEvent::KeyRelease, key);
        QVERIFY(r.running());
        r.key(QEvent::KeyPress, key);
        QVERIFY(r.running());
        r.key(QEvent::KeyRelease, key);
        QVERIFY(!r.running());
    }
    QCOMPARE(r.count("effect hue.wav"), 2);
    QCOMPARE(r.count("effect hei.wav"), 2);
}

void MainWindowTest::autoRepeatPressesWhackButRepeatedReleasesDoNothing()
{
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    // A held key on X11: press, then repeated release/press pairs. Every
    // press whacks; the hole is emptied between them so each whack shows.
    r.key(QEvent::KeyPress, Qt::Key_A);
    for (int n = 0; n < 3; ++n) {
        r.window.logic().model().board[3] = Hole::Empty;
        r.key(QEvent::KeyRelease, Qt::Key_A, {}, true);
        r.key(QEvent::KeyPress, Qt::Key_A, {}, true);
    }
    QCOMPARE(r.missCount(), 4);
    // A held Space stops the game only on its real release.
    r.key(QEvent::KeyPress, Qt::Key_Space);
    r.key(QEvent::KeyRelease, Qt::Key_Space, {}, true);
    r.key(QEvent::KeyPress, Qt::Key_Space, {}, true);
    QVERIFY(r.running());
    r.key(QEvent::KeyRelease, Qt::Key_Space);
    QVERIFY(!r.running());
}

void MainWindowTest::keypadWithoutNumLockActsAsArrows_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("effect");  // what the release does while idle
    QTest::newRow("keypad 2 starts a game") << int(Qt::Key_Down) << "start";
    QTest::newRow("keypad 6 next mode") << int(Qt::Key_Right) << "mode 1";
    QTest::newRow("keypad 4 previous mode") << int(Qt::Key_Left) << "mode 3";
    QTest::newRow("keypad 8 recording off") << int(Qt::Key_Up) << "record off";
    QTest::newRow("keypad 7") << int(Qt::Key_Home) << "nothing";
    QTest::newRow("keypad 9") << int(Qt::Key_PageUp) << "nothing";
    QTest::newRow("keypad 1") << int(Qt::Key_End) << "nothing";
    QTest::newRow("keypad 3") << int(Qt::Key_PageDown) << "nothing";
    QTest::newRow("keypad 5") << int(Qt::Key_Clear) << "nothing";
}

void MainWindowTest::keypadWithoutNumLockActsAsArrows()
{
    QFETCH(int, key);
    QFETCH(QString, effect);
    Rig r;
    r.load();
    r.tap(key, Qt::KeypadModifier);
    QCOMPARE(r.running(), effect == "start");
    QCOMPARE(r.checkedMode(), effect == "mode 1" ? 1 : effect == "mode 3" ? 3 : 0);
    QCOMPARE(r.action("recordAction1")->isChecked(), effect == "record off");
    if (!r.running())
        r.action("startAction")->trigger();
    // During a game no keypad key without Num Lock whacks a hole.
    for (int k : {int(Qt::Key_Home), int(Qt::Key_Up), int(Qt::Key_PageUp), int(Qt::Key_Left),
                  int(Qt::Key_Clear), int(Qt::Key_Right), int(Qt::Key_End), int(Qt::Key_PageDown)})
        r.key(QEvent::KeyPress, k, Qt::KeypadModifier);
    QCOMPARE(r.missCount(), 0);
    QVERIFY(r.running());
}

void MainWindowTest::ctrlChordsWhackNothing()
{
    Rig r;
    r.load();
    r.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&r.window));
    r.action("startAction")->trigger();
    // Ctrl+S: its item is disabled during a game, so the key press reaches
    // the window, which must not read it as S.
    QTest::keyClick(r.window.boardBox(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(r.missCount(), 0);
    QCOMPARE(r.window.holes(4)->picture(), &r.window.holePicture(0));
    QCOMPARE(r.count("open document " + kLogPath), 0);
    // Ctrl+Q asks whether to quit and whacks nothing.
    QTest::keyClick(r.window.boardBox(), Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(r.count("confirm exit"), 1);
    QCOMPARE(r.missCount(), 0);
    QVERIFY(r.running());
    // Plain Q and S are hole keys.
    QTest::keyClick(r.window.boardBox(), Qt::Key_Q);
    QTest::keyClick(r.window.boardBox(), Qt::Key_S);
    QCOMPARE(r.missCount(), 2);
    QCOMPARE(r.window.holes(0)->picture(), &r.window.holePicture(3));
    QCOMPARE(r.window.holes(4)->picture(), &r.window.holePicture(3));
    // Once idle, Ctrl+S opens the log through its shortcut.
    r.action("stopAction")->trigger();
    QTest::keyClick(r.window.boardBox(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(r.count("open document " + kLogPath), 1);
}

void MainWindowTest::arrowsStepThroughTheModes()
{
    Rig r;
    r.load();
    QList<int> seen;
    for (int n = 0; n < 4; ++n) {
        r.tap(Qt::Key_Right);
        seen << r.checkedMode();
    }
    QCOMPARE(seen, (QList<int>{1, 2, 3, 0}));
    QCOMPARE(r.count("effect pon.wav"), 4);
    seen.clear();
    for (int n = 0; n < 4; ++n) {
        r.tap(Qt::Key_Left);
        seen << r.checkedMode();
    }
    QCOMPARE(seen, (QList<int>{3, 2, 1, 0}));
    QCOMPARE(r.count("effect pon.wav"), 8);
    // During a game the arrows change nothing.
    r.action("startAction")->trigger();
    r.tap(Qt::Key_Right);
    r.tap(Qt::Key_Up);
    QCOMPARE(r.checkedMode(), 0);
    QVERIFY(r.action("recordAction0")->isChecked());
}

void MainWindowTest::recordingToggleByMenuAndByUp()
{
    Rig r;
    r.load();
    QLabel* rec0 = r.label("recordShadow");
    QLabel* rec1 = r.label("recordLabel");
    r.action("recordAction1")->trigger();
    QVERIFY(!r.action("recordAction0")->isChecked());
    QVERIFY(r.action("recordAction1")->isChecked());
    QVERIFY(!rec0->isVisible() && !rec1->isVisible());
    QCOMPARE(r.count("effect pipo1.wav"), 1);
    r.action("recordAction1")->trigger();  // already off
    QVERIFY(r.action("recordAction1")->isChecked());
    QCOMPARE(r.count("effect pipo1.wav"), 1);
    r.tap(Qt::Key_Up);
    QVERIFY(r.action("recordAction0")->isChecked());
    QVERIFY(!r.action("recordAction1")->isChecked());
    QVERIFY(rec0->isVisible() && rec1->isVisible());
    QCOMPARE(r.count("effect pipo2.wav"), 1);
    r.tap(Qt::Key_Up);
    QVERIFY(!rec0->isVisible() && !rec1->isVisible());
    QCOMPARE(r.count("effect pipo1.wav"), 2);
}

void MainWindowTest::menuOpeningReevaluatesScoreAndHelp()
{
    Rig r(false);
    r.load();
    QVERIFY(!r.action("scoreLogAction")->isEnabled());
    r.world.files.files.insert(kLogPath);
    QVERIFY(!r.action("scoreLogAction")->isEnabled());  // not before the menu opens
    r.open(QStringLiteral("scoreMenu"));
    QVERIFY(r.action("scoreLogAction")->isEnabled());
    r.world.files.files.erase(kLogPath);
    r.open(QStringLiteral("scoreMenu"));
    QVERIFY(!r.action("scoreLogAction")->isEnabled());

    QVERIFY(r.action("helpAction")->isEnabled());
    r.world.files.files.erase(kHelpPath);
    r.open(QStringLiteral("helpMenu"));
    QVERIFY(!r.action("helpAction")->isEnabled());
    r.world.files.files.insert(kHelpPath);
    r.open(QStringLiteral("helpMenu"));
    QVERIFY(r.action("helpAction")->isEnabled());
    r.action("helpAction")->trigger();
    QCOMPARE(r.count("open document " + kHelpPath), 1);
}

void MainWindowTest::timersFollowTheLogic()
{
    Rig r;
    r.load();
    QCOMPARE(r.timer("spawnerTimer")->interval(), 200);
    QCOMPARE(r.timer("retreatTimer")->interval(), 200);
    QCOMPARE(r.timer("clockTimer")->interval(), 1000);
    QCOMPARE(r.timer("musicTimer")->interval(), 1);
    QCOMPARE(r.timer("titleRestartTimer")->interval(), 54100);
    r.action("startAction")->trigger();
    for (const char* t : {"spawnerTimer", "retreatTimer", "clockTimer", "musicTimer"})
        QVERIFY2(r.timer(t)->isActive(), t);
    QVERIFY(!r.timer("titleRestartTimer")->isActive());
    // The first music tick switches tunes and stops the 1 ms timer.
    QTRY_VERIFY(!r.timer("musicTimer")->isActive());
    QCOMPARE(r.count("play mogu20"), 1);
    QVERIFY(r.position("play mogu20") > r.position("effect hue.wav"));
    // Showing the game again must not restart a running timer's period.
    const int remaining = r.timer("clockTimer")->remainingTime();
    QTest::qSleep(60);
    r.window.render();
    QVERIFY(r.timer("clockTimer")->remainingTime() <= remaining - 40);
    // The clock runs on its own.
    QTRY_COMPARE_WITH_TIMEOUT(r.label("clockLabel")->text(), QStringLiteral("23"), 3000);
    QCOMPARE(r.label("clockShadow")->text(), r.label("clockLabel")->text());
}

void MainWindowTest::exitCancelledDuringAGameLetsItGoOn()
{
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    // Timers go on ticking while the box is open.
    r.world.dialogs.whileOpen = [] { QTest::qWait(1150); };
    r.action("exitAction")->trigger();
    QCOMPARE(r.count("confirm exit"), 1);
    QCOMPARE(r.count("end program"), 0);
    QVERIFY(r.running());
    QVERIFY(!r.window.ended());
    QCOMPARE(r.label("clockLabel")->text(), QStringLiteral("23"));
}

void MainWindowTest::exitConfirmedEndsAtOnce()
{
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    r.world.dialogs.exitAnswer = true;
    r.world.journal.clear();
    r.action("exitAction")->trigger();
    const pokopin::testing::Journal expected{"confirm exit", "stop moguana", "close moguana",
                                             "stop mogu20",  "close mogu20", "end program"};
    QCOMPARE(r.world.journal, expected);
    QVERIFY(r.window.ended());
    for (const char* t :
         {"spawnerTimer", "retreatTimer", "clockTimer", "musicTimer", "titleRestartTimer"})
        QVERIFY2(!r.timer(t)->isActive(), t);
    // No handler runs any more.
    r.action("startAction")->trigger();
    r.tap(Qt::Key_Space);
    r.window.close();
    QCOMPARE(r.world.journal, expected);
}

void MainWindowTest::closingTheWindowStopsTheTunes()
{
    Rig r;
    r.load();
    r.action("startAction")->trigger();
    QSignalSpy closed(&r.window, &MainWindow::closed);
    r.world.journal.clear();
    QVERIFY(r.window.close());
    const pokopin::testing::Journal expected{"stop moguana", "close moguana", "stop mogu20",
                                             "close mogu20"};
    QCOMPARE(r.world.journal, expected);
    QCOMPARE(closed.count(), 1);
    QVERIFY(r.window.ended());
    QVERIFY(!r.running());
}

namespace {

// The client area painted with `ratio` device pixels per layout pixel.
QImage renderClient(const MainWindow& w, int ratio)
{
    QImage out(w.centralWidget()->size() * ratio, QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(Qt::magenta);
    w.centralWidget()->render(&out);
    return out;
}

int channelSpread(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

}  // namespace

void MainWindowTest::finerScreensShowFinerPictures_data()
{
    QTest::addColumn<QRect>("area");       // layout pixels of the client area
    QTest::addColumn<QString>("picture");  // what it shows: a picture, or "panel"
    QTest::addColumn<QPoint>("origin");    // where that picture's corner lies
    QTest::addColumn<int>("minShare");     // per cent of 2x2 blocks that must carry detail
    const QString panel = QStringLiteral("panel");
    QTest::newRow("board") << QRect(0, 0, 460, 40) << pokopin::art::board() << QPoint(0, 0) << 20;
    QTest::newRow("empty hole") << QRect(176, 40, 100, 100) << pokopin::art::hole(0)
                                << QPoint(176, 40) << 20;
    QTest::newRow("miss mark") << QRect(176, 174, 100, 100) << pokopin::art::hole(3)
                               << QPoint(176, 174) << 20;
    QTest::newRow("mole") << QRect(320, 308, 100, 100) << pokopin::art::hole(1) << QPoint(320, 308)
                          << 20;
    QTest::newRow("side panel") << QRect(460, 0, 180, 175) << panel << QPoint(460, 0) << 10;
    QTest::newRow("mode label") << QRect(545, 178, 84, 28) << panel << QPoint(460, 0) << 10;
    QTest::newRow("counter box") << QRect(470, 240, 60, 220) << panel << QPoint(460, 0) << 5;
}

void MainWindowTest::finerScreensShowFinerPictures()
{
    QFETCH(QRect, area);
    QFETCH(QString, picture);
    QFETCH(QPoint, origin);
    QFETCH(int, minShare);
    Rig r;
    r.load();
    r.mode(3)->trigger();
    r.action("startAction")->trigger();
    while (r.window.logic().model().board[8] != Hole::Mole)
        r.window.logic().spawnerTick();
    QTest::mouseClick(r.window.holes(4), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    r.window.render();
    QCOMPARE(r.window.holes(4)->picture(), &r.window.holePicture(3));

    QImage fine = renderClient(r.window, 2);
    // A picture shown by doubling its pixels would make every aligned 2x2
    // block of the fine rendering one colour. Count the blocks that are not.
    int detailed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb block[4] = {fine.pixel(2 * x, 2 * y), fine.pixel(2 * x + 1, 2 * y),
                                   fine.pixel(2 * x, 2 * y + 1), fine.pixel(2 * x + 1, 2 * y + 1)};
            int spread = 0;
            for (const QRgb px : block)
                spread = std::max(spread, channelSpread(px, block[0]));
            detailed += spread > 8;
        }
    const int share = 100 * detailed / (area.width() * area.height());
    QVERIFY2(share >= minShare,
             qPrintable(QStringLiteral("only %1% of the blocks carry detail").arg(share)));
    // Nor is it the coarse picture smoothly enlarged: the screen shows the
    // fine picture itself, pixel for pixel, at its layout place.
    QImage source = picture == QStringLiteral("panel") ? r.window.finePanelImage()
                                                       : QImage(pokopin::art::hiDpi(picture));
    source = source.convertToFormat(QImage::Format_RGB32);
    source.setDevicePixelRatio(1);
    fine.setDevicePixelRatio(1);
    const QRect at(area.topLeft() * 2, area.size() * 2);
    QCOMPARE(fine.copy(at), source.copy(at.translated(-origin * 2)));
}

void MainWindowTest::onlyTheCheckedItemShowsAMark_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("choose");
    QTest::newRow("modes") << QStringLiteral(
        "modeMenu") << QStringList{"modeAction0", "modeAction1", "modeAction2", "modeAction3"}
                           << 2;
    QTest::newRow("recording") << QStringLiteral("scoreMenu")
                               << QStringList{"recordAction0", "recordAction1"} << 1;
}

void MainWindowTest::onlyTheCheckedItemShowsAMark()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(int, choose);
    Rig r;
    r.load();
    r.action(items[choose])->trigger();
    QMenu* m = r.menu(menu);
    m->popup(r.window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(m));
    const QImage shot = m->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shot.devicePixelRatio();
    for (int k = 0; k < items.size(); ++k) {
        QAction* a = r.action(items[k]);
        QCOMPARE(a->isChecked(), k == choose);

        QCOMPARE(a->actionGroup(), r.action(items[0])->actionGroup());
        // The mark's column: the left part of the item, as wide as it is high.
        const QRect item = m->actionGeometry(a);
        const QRect column(item.left() + 1, item.top() + 1, item.height(), item.height() - 2);
        const QRect pixels(QPoint(qRound(column.left() * ratio), qRound(column.top() * ratio)),
                           QPoint(qRound((column.right() + 1) * ratio) - 1,
                                  qRound((column.bottom() + 1) * ratio) - 1));
        // The column's most common colour is the menu's background.
        QHash<QRgb, int> colours;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                ++colours[shot.pixel(x, y)];
        QRgb background = 0;
        for (auto it = colours.cbegin(); it != colours.cend(); ++it)
            if (it.value() > colours.value(background))
                background = it.key();
        int marked = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                marked += channelSpread(shot.pixel(x, y), background) > 24;
        if (k == choose)
            QVERIFY2(marked > 0, qPrintable(items[k] + QStringLiteral(" shows no mark")));
        else
            QVERIFY2(
                marked == 0,
                qPrintable(items[k] + QStringLiteral(" shows %1 pixels of a box").arg(marked)));
    }
    m->hide();
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
