// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "main_window.h"

#include <algorithm>
#include <chrono>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "accessibility.h"
#include "board_layout.h"
#include "fonts.h"
#include "key_filter.h"
#include "labels.h"
#include "mode_panel.h"
#include "modes.h"
#include "picture_box.h"
#include "pokopin_art.h"

namespace pokopin::ui {

namespace {

using art::holePosition;
using art::kBoardRect;
using art::kClientHeight;
using art::kClientWidth;
using art::kHoleSize;
using art::kPanelRect;

// Text heights of the three label sizes.
constexpr int kCounterPx = 29;
constexpr int kCounterX = 144;
constexpr int kMoleCountX = 145;
constexpr int kRecordPx = 19;
constexpr int kTimePx = 35;

void setLabelText(QLabel* label, const std::string& text)
{
    const QString q = QString::fromStdString(text);
    if (label->text() == q)
        return;
    label->setText(q);
    label->adjustSize();  // grows to the right: the left edge stays
}

// The counters sit in the right part of their boxes. Figures that would run
// past a box's right edge grow leftwards instead, so they stay readable.
constexpr int kCounterBoxRight = 172;

void setCounterText(QLabel* label, int homeX, const std::string& text)
{
    setLabelText(label, text);
    label->move(std::min(homeX, kCounterBoxRight - label->width()), label->y());
}

// The view has already disabled every item under a disabled title: Qt
// would keep such an item's shortcut alive.
void showItem(QAction* action, const game::MenuItemView& item)
{
    action->setVisible(item.visible);
    action->setEnabled(item.enabled);
}

// The items of an exclusive group, their marks set last: first every mark
// the view clears, then the one it sets, so that setting a mark never lets
// the group take away another one the view still shows.
template <std::size_t N>
void showGroup(const std::array<QAction*, N>& actions,
               const std::array<game::MenuItemView, N>& items)
{
    for (std::size_t k = 0; k < N; ++k)
        showItem(actions[k], items[k]);
    for (bool checked : {false, true})
        for (std::size_t k = 0; k < N; ++k)
            if (items[k].checked == checked)
                actions[k]->setChecked(checked);
}

void showTitle(QMenu* menu, bool enabled)
{
    menu->menuAction()->setEnabled(enabled);
}

void syncTimer(QTimer* timer, bool enabled)
{
    // start() on a running timer would restart its period.
    if (enabled && !timer->isActive())
        timer->start();
    else if (!enabled && timer->isActive())
        timer->stop();
}

}  // namespace

MainWindow::MainWindow(game::Services services, game::GameFiles files, AboutFactory makeAbout,
                       QWidget* parent)
    : QMainWindow(parent),
      makeAbout_(std::move(makeAbout)),
      logic_(services, host_, std::move(files))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Pokopin！"));
    QIcon icon;
    // The window gets the sizes a title bar or task switcher shows; the
    // larger ones would only fatten the window's icon property on X11.
    for (int size : art::kAppIconSizes)
        if (size <= 128)
            icon.addFile(art::appIcon(size), QSize(size, size));
    setWindowIcon(icon);
    // Minimise and close, but no maximise: the board has one size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    for (int k = 0; k < 4; ++k)
        holePictures_[static_cast<std::size_t>(k)] = Picture::load(art::hole(k));
    for (int m = 0; m < static_cast<int>(modeLabels_.size()); ++m)
        modeLabels_[static_cast<std::size_t>(m)] = {Picture::load(art::modeLabelMask(m)),
                                                    Picture::load(art::modeLabelImage(m))};
    board_ = Picture::load(art::board());
    pristinePanel_ = Picture::load(art::panel());
    // The fine panel starts from the clean one with the label last painted.
    panel_ = Picture(pristinePanel_.normal(), [this] {
        QImage fine = pristinePanel_.fine();
        if (paintedMode_ != game::kNoMode) {
            const ModeLabelPictures& label = modeLabels_[static_cast<std::size_t>(paintedMode_)];
            paintModeLabel(fine, pristinePanel_.fine(), label.mask.fine(), label.image.fine());
        }
        return fine;
    });

    installAccessibleInterfaces();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    buildBoard(client);
    buildPanel(client);
    buildMenus();
    buildTimers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    new KeyFilter(this, [this](const KeyRoute& route) {
        if (route.handler == KeyHandler::KeyDown)
            handle([this, code = route.code] { logic_.keyPressed(code); });
        else if (route.handler == KeyHandler::KeyUp)
            handle([this, code = route.code] { logic_.keyReleased(code); });
    });
    render();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::boardBox() const
{
    return boardBox_;
}
QWidget* MainWindow::panelBox() const
{
    return panelBox_;
}

void MainWindow::buildBoard(QWidget* client)
{
    boardBox_ = new PictureBox(client);
    boardBox_->setObjectName(QStringLiteral("boardBox"));
    boardBox_->setGeometry(kBoardRect);
    boardBox_->setPicture(&board_);
    // The window reads every key itself; the board only has to hold the focus.
    boardBox_->setFocusPolicy(Qt::StrongFocus);

    const QColor white(255, 255, 255);
    const QColor plain = palette().color(QPalette::ButtonText);
    // Created bottom first: a later sibling lies above an earlier one, and
    // the white text of each pair must lie over its shadow.
    struct Place {
        int index;
        const char* name;
        QPoint pos;
        const char* text;
        QColor colour;
    };
    const Place timeLabels[] = {
        {1, "clockShadow", {350, 440}, "20", QColor(64, 64, 64)},
        {0, "clockLabel", {347, 439}, "20", white},
        {3, "timeCaptionShadow", {230, 440}, "TIME", plain},
        {2, "timeCaption", {227, 439}, "TIME", white},
        {5, "colonShadow", {330, 440}, ":", plain},
        {4, "colonLabel", {327, 439}, ":", white},
        {6, "secondsCaptionShadow", {391, 440}, ".sec", QColor(0, 0, 0)},
        {7, "secondsCaption", {388, 439}, ".sec", white},
    };
    for (const Place& s : timeLabels)
        timeLabels_[static_cast<std::size_t>(s.index)] =
            makeLabel(boardBox_, QString::fromLatin1(s.name), s.pos, QString::fromLatin1(s.text),
                      gothicFont(kTimePx, true), s.colour);
    recordLabels_[0] =
        makeLabel(boardBox_, QStringLiteral("recordShadow"), {34, 450},
                  QStringLiteral("SCORE RECORD"), gothicFont(kRecordPx, true), plain);
    recordLabels_[1] =
        makeLabel(boardBox_, QStringLiteral("recordLabel"), {32, 449},
                  QStringLiteral("SCORE RECORD"), gothicFont(kRecordPx, true), white);

    // The holes lie in a group of their own, for assistive tools; it paints
    // nothing and takes no click, so a click between holes still reaches the
    // board.
    const QRect holeArea(holePosition(0),
                         holePosition(game::kHoles - 1) + QPoint(kHoleSize - 1, kHoleSize - 1));
    auto* holeGroup = new QWidget(boardBox_);
    holeGroup->setObjectName(QStringLiteral("holeGroup"));
    holeGroup->setGeometry(holeArea);
    for (int i = game::kHoles - 1; i >= 0; --i) {
        auto* hole = new HoleBox(i, holeGroup);
        hole->setObjectName(QStringLiteral("hole%1").arg(i));
        hole->setGeometry(QRect(holePosition(i) - holeArea.topLeft(), QSize(kHoleSize, kHoleSize)));
        connect(hole, &HoleBox::clicked, this,
                [this](int index) { handle([this, index] { logic_.holeClicked(index); }); });
        holes_[static_cast<std::size_t>(i)] = hole;
    }

    // One node per reading: the holes, the time (its caption, colon and
    // ".sec" are pieces of one reading) and the recording mark; no shadows.
    showAccessibleChildren(boardBox_, QAccessible::Grouping, QStringLiteral("ボード"),
                           {holeGroup, timeLabels_[0], recordLabels_[1]});
    showAccessibleChildren(holeGroup, QAccessible::Grouping, QStringLiteral("穴"),
                           {holes_.begin(), holes_.end()});
}

void MainWindow::buildPanel(QWidget* client)
{
    panelBox_ = new PictureBox(client);
    panelBox_->setObjectName(QStringLiteral("panelBox"));
    panelBox_->setGeometry(kPanelRect);
    panelBox_->setPicture(&panel_);

    const QColor white(255, 255, 255);
    const QString zero = QStringLiteral("0");
    moleCountLabel_ = makeLabel(panelBox_, QStringLiteral("moleCountLabel"), {kMoleCountX, 243},
                                zero, gothicFont(kCounterPx, true), white);
    hitCountLabel_ = makeLabel(panelBox_, QStringLiteral("hitCountLabel"), {kCounterX, 312}, zero,
                               gothicFont(kCounterPx, true), white);
    missCountLabel_ = makeLabel(panelBox_, QStringLiteral("missCountLabel"), {kCounterX, 376}, zero,
                                gothicFont(kCounterPx, true), white);
    scoreLabel_ = makeLabel(panelBox_, QStringLiteral("scoreLabel"), {kCounterX, 440}, zero,
                            gothicFont(kCounterPx, true), white);

    // The mode's label and the counters' captions are painted into the
    // panel. The mode gets a node over its label that paints nothing; each
    // counter is named with its caption.
    modeNode_ = new QWidget(panelBox_);
    modeNode_->setObjectName(QStringLiteral("modeNode"));
    modeNode_->setGeometry(kModeLabelRect);
    showAccessibleChildren(modeNode_, QAccessible::StaticText, QStringLiteral("GAME LEVEL"), {});
    showAccessibleChildren(
        panelBox_, QAccessible::Grouping, QStringLiteral("成績"),
        {modeNode_, moleCountLabel_, hitCountLabel_, missCountLabel_, scoreLabel_});
}

void MainWindow::buildMenus()
{
    auto action = [this](QMenu* menu, const QString& name, const QString& text, auto&& handler) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, handler] { handle(handler); });
        return a;
    };
    // Each group of settings is an exclusive group, so that the style shows
    // a mark only beside the chosen item and no empty boxes beside the rest.
    // The logic still owns the check mark: render() puts back whatever the
    // group's own toggle did.
    auto checkable = [](QAction* a, QActionGroup* group) {
        a->setCheckable(true);
        group->addAction(a);
        return a;
    };
    auto exclusiveGroup = [this](const QString& name) {
        auto* group = new QActionGroup(this);
        group->setObjectName(name);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
        return group;
    };

    gameMenu_ = menuBar()->addMenu(QStringLiteral("ゲーム(&G)"));
    gameMenu_->setObjectName(QStringLiteral("gameMenu"));
    startAction_ = action(gameMenu_, QStringLiteral("startAction"), QStringLiteral("スタート"),
                          [this] { logic_.startItemChosen(); });
    stopAction_ = action(gameMenu_, QStringLiteral("stopAction"), QStringLiteral("ストップ"),
                         [this] { logic_.stopItemChosen(); });
    gameMenu_->addSeparator()->setObjectName(QStringLiteral("gameMenuSeparator"));
    exitAction_ = action(gameMenu_, QStringLiteral("exitAction"), QStringLiteral("終了"),
                         [this] { logic_.askToExit(); });
    exitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    modeMenu_ = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    modeMenu_->setObjectName(QStringLiteral("modeMenu"));
    QActionGroup* modeGroup = exclusiveGroup(QStringLiteral("modeGroup"));
    for (int k = 0; k < 4; ++k) {
        const auto& mode = game::kModes[static_cast<std::size_t>(k)];
        modeActions_[static_cast<std::size_t>(k)] = checkable(
            action(modeMenu_, QStringLiteral("modeAction%1").arg(k),
                   QString::fromUtf8(mode.name.data(), static_cast<qsizetype>(mode.name.size())),
                   [this, k] { logic_.modeItemChosen(k); }),
            modeGroup);
    }

    scoreMenu_ = menuBar()->addMenu(QStringLiteral("スコア(&S)"));
    scoreMenu_->setObjectName(QStringLiteral("scoreMenu"));
    connect(scoreMenu_, &QMenu::aboutToShow, this,
            [this] { handle([this] { logic_.scoreMenuOpening(); }); });
    QActionGroup* recordGroup = exclusiveGroup(QStringLiteral("recordGroup"));
    const QString saveCaptions[] = {QStringLiteral("記録する"), QStringLiteral("記録しない")};
    for (int k = 0; k < 2; ++k)
        recordActions_[static_cast<std::size_t>(k)] =
            checkable(action(scoreMenu_, QStringLiteral("recordAction%1").arg(k), saveCaptions[k],
                             [this, k] { logic_.recordItemChosen(k); }),
                      recordGroup);
    scoreLogAction_ = action(scoreMenu_, QStringLiteral("scoreLogAction"), QStringLiteral("SCORE"),
                             [this] { logic_.openScoreLog(); });
    scoreLogAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    historyAction_ = action(scoreMenu_, QStringLiteral("historyAction"),
                            QStringLiteral("成績グラフ"), [this] { openHistory(); });
    historyAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));

    helpMenu_ = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    helpMenu_->setObjectName(QStringLiteral("helpMenu"));
    connect(helpMenu_, &QMenu::aboutToShow, this,
            [this] { handle([this] { logic_.helpMenuOpening(); }); });
    helpAction_ = action(helpMenu_, QStringLiteral("helpAction"), QStringLiteral("HELP"),
                         [this] { logic_.openHelp(); });
    helpAction_->setShortcut(QKeySequence(Qt::Key_F1));
    aboutAction_ = helpMenu_->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    aboutAction_->setObjectName(QStringLiteral("aboutAction"));
    connect(aboutAction_, &QAction::triggered, this, [this] { showAboutDialog(); });
}

void MainWindow::buildTimers()
{
    auto timer = [this](const QString& name, std::chrono::milliseconds interval, auto&& handler) {
        auto* t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(interval);
        // The spawner and retreat timers start one right after the other;
        // coarse timers could shift them against each other.
        t->setTimerType(Qt::PreciseTimer);
        connect(t, &QTimer::timeout, this, [this, handler] { handle(handler); });
        return t;
    };
    musicTimer_ =
        timer(QStringLiteral("musicTimer"), game::kMusicTick, [this] { logic_.musicTick(); });
    titleRestartTimer_ = timer(QStringLiteral("titleRestartTimer"), game::kTitleRestartTick,
                               [this] { logic_.titleRestartTick(); });
    spawnerTimer_ =
        timer(QStringLiteral("spawnerTimer"), game::kSpawnerTick, [this] { logic_.spawnerTick(); });
    retreatTimer_ =
        timer(QStringLiteral("retreatTimer"), game::kRetreatTick, [this] { logic_.retreatTick(); });
    clockTimer_ =
        timer(QStringLiteral("clockTimer"), game::kClockTick, [this] { logic_.clockTick(); });
}

template <class Handler>
void MainWindow::handle(Handler&& handler)
{
    if (ended_)
        return;
    handler();
    if (!ended_)
        render();
}

void MainWindow::load()
{
    handle([this] { logic_.load(); });
    if (ended_)
        return;
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    show();
    emit shown();
    boardBox_->setFocus();
}

void MainWindow::showAboutDialog()
{
    if (ended_)
        return;
    if (!about_)
        about_ = makeAbout_(this);
    about_->adjustSize();
    about_->move(frameGeometry().center() - about_->rect().center());
    about_->exec();
    if (!ended_)
        render();
}

void MainWindow::render()
{
    const game::WindowView view = game::viewOf(logic_.model());
    const bool gameEnded = spawnerTimer_->isActive() && !view.gameTimers;

    for (int i = 0; i < game::kHoles; ++i) {
        const auto k = static_cast<std::size_t>(view.holes[static_cast<std::size_t>(i)]);
        holes(i)->setPicture(&holePictures_.at(k));
    }

    setLabelText(timeLabels_[0], view.clockText);
    setLabelText(timeLabels_[1], view.clockText);
    for (QLabel* l : recordLabels_)
        l->setVisible(view.recordLabelVisible);
    setCounterText(moleCountLabel_, kMoleCountX, view.moleCountText);
    setCounterText(hitCountLabel_, kCounterX, view.hitCountText);
    setCounterText(missCountLabel_, kCounterX, view.missCountText);
    setCounterText(scoreLabel_, kCounterX, view.scoreText);

    const AccessibleNames names = accessibleNames(view);
    for (int i = 0; i < game::kHoles; ++i)
        setAccessibleNameOf(holes(i), names.holes[static_cast<std::size_t>(i)]);
    setAccessibleNameOf(timeLabels_[0], names.clock);
    setAccessibleNameOf(moleCountLabel_, names.moleCount);
    setAccessibleNameOf(hitCountLabel_, names.hitCount);
    setAccessibleNameOf(missCountLabel_, names.missCount);
    setAccessibleNameOf(scoreLabel_, names.score);
    setAccessibleNameOf(modeNode_, names.mode);
    // The final figures are read out, changed or not.
    if (gameEnded)
        announceNames({moleCountLabel_, hitCountLabel_, missCountLabel_, scoreLabel_});

    showItem(startAction_, view.startItem);
    showItem(stopAction_, view.stopItem);
    showTitle(modeMenu_, view.modeMenuEnabled);
    showGroup(modeActions_, view.modeItems);
    showTitle(scoreMenu_, view.scoreMenuEnabled);
    showGroup(recordActions_, view.recordItems);
    showItem(scoreLogAction_, view.scoreLogItem);
    showItem(historyAction_, view.historyItem);
    showTitle(helpMenu_, view.helpMenuEnabled);
    showItem(helpAction_, view.helpItem);
    showItem(aboutAction_, view.aboutItem);

    renderPanel(view.panelMode);
    renderTimers(view);
    renderHistory();
}

void MainWindow::openHistory()
{
    // A stray Ctrl+G during a game, or before any game was written down.
    if (!game::viewOf(logic_.model()).historyItem.reachable())
        return;
    if (!history_)
        history_ = std::make_unique<history::ScoreHistory>(
            QString::fromStdString(logic_.files().scoreLog.string()), this);
    if (!history_->showForMode(logic_.model().mode))
        QMessageBox::warning(
            this, QStringLiteral("Pokopin！"),
            QStringLiteral("成績グラフを開けませんでした。\n%1").arg(history_->error()));
}

QWidget* MainWindow::historyWindow() const
{
    return history_ ? history_->window() : nullptr;
}

void MainWindow::renderHistory()
{
    // Each entry the game appends is read by an open history at once, from
    // where its last read stopped.
    const std::uint32_t recorded = logic_.model().entriesRecorded;
    if (recorded == entriesSeen_)
        return;
    entriesSeen_ = recorded;
    if (history_)
        history_->logAppended();
}

void MainWindow::renderPanel(int mode)
{
    if (mode == paintedMode_ || mode < 0 || mode >= static_cast<int>(modeLabels_.size()))
        return;
    paintedMode_ = mode;
    const ModeLabelPictures& label = modeLabels_[static_cast<std::size_t>(paintedMode_)];
    paintModeLabel(panel_.normal(), pristinePanel_.normal(), label.mask.normal(),
                   label.image.normal());
    if (panel_.hasFine())
        paintModeLabel(panel_.fine(), pristinePanel_.fine(), label.mask.fine(), label.image.fine());
    panelBox_->update(kModeLabelClearRect);
}

void MainWindow::renderTimers(const game::WindowView& view)
{
    // A game that has just ended gives the keyboard focus back to the board,
    // as start-up does.
    if (spawnerTimer_->isActive() && !view.gameTimers)
        boardBox_->setFocus();
    // Game timers in the order a game starts them: spawner, clock, retreat.
    syncTimer(spawnerTimer_, view.gameTimers);
    syncTimer(clockTimer_, view.gameTimers);
    syncTimer(retreatTimer_, view.gameTimers);
    syncTimer(musicTimer_, view.musicTimer);
    syncTimer(titleRestartTimer_, view.titleRestartTimer);
}

void MainWindow::stopTimers()
{
    for (QTimer* t : {musicTimer_, titleRestartTimer_, spawnerTimer_, retreatTimer_, clockTimer_})
        t->stop();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!ended_) {
        logic_.unload();
        // The version dialog goes with the window.
        about_.reset();
    }
    ended_ = true;
    stopTimers();
    event->accept();
    emit closed();
}

void MainWindow::GameHost::repaint()
{
    window_.render();
    window_.QWidget::repaint();
}

void MainWindow::GameHost::endProgram()
{
    window_.ended_ = true;
    window_.stopTimers();
    emit window_.exitConfirmed();
}

}  // namespace pokopin::ui
