#include "frm_main.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "fonts.h"
#include "key_map.h"
#include "mode_panel.h"
#include "modes.h"
#include "picture_box.h"

namespace pokopin::ui {

namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;
constexpr QRect kBoardRect{0, 0, 460, 480};
constexpr QRect kPanelRect{460, 0, 180, 480};
constexpr int kHoleSize = 100;

// Text heights of the three label sizes.
constexpr int kCounterPx = 29;
constexpr int kCounterX = 144;
constexpr int kKosuuX = 145;
constexpr int kRecordPx = 19;
constexpr int kTimePx = 35;

QPoint holePosition(int index)
{
    return {32 + 144 * (index % 3), 40 + 134 * (index / 3)};
}

QImage loadImage(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

QLabel* makeLabel(QWidget* parent, const QString& name, QPoint pos, const QString& text,
                  const QColor& colour, int pixelSize)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(gothicFont(pixelSize, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(pos);
    label->adjustSize();
    return label;
}

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

void showItem(QAction* action, const game::MenuItem& item, bool titleEnabled)
{
    action->setVisible(item.visible);
    // Qt keeps the shortcut of an item under a disabled title alive; the
    // game's menus do not.
    action->setEnabled(item.enabled && titleEnabled);
    if (action->isCheckable())
        action->setChecked(item.checked);
}

void showTitle(QMenu* menu, const game::MenuItem& item)
{
    menu->menuAction()->setVisible(item.visible);
    menu->menuAction()->setEnabled(item.enabled);
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

frmMain::frmMain(game::Services services, std::string programFolder, AboutFactory makeAbout,
                 QWidget* parent)
    : QMainWindow(parent),
      outerHost_(services.host),
      outerPause_(services.pause),
      makeAbout_(std::move(makeAbout)),
      logic_(game::Services{services.sound, services.clock, services.random, *this,
                            services.files, services.scoreLog, services.shell,
                            services.dialogs, *this},
             std::move(programFolder))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pokopin！"));
    QIcon icon;
    for (const char* name : {":/art/icon.png", ":/art/icon64.png", ":/art/icon128.png"})
        icon.addFile(QString::fromLatin1(name));
    setWindowIcon(icon);
    // Minimise and close, but no maximise: the board has one size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    for (int k = 0; k < 4; ++k)
        picMogu_[static_cast<std::size_t>(k)] = QPixmap(QStringLiteral(":/art/hole%1.png").arg(k));
    for (int k = 0; k < 8; ++k)
        picLebel_[static_cast<std::size_t>(k)] = loadImage(QStringLiteral(":/art/level%1.png").arg(k));
    board_ = loadImage(QStringLiteral(":/art/board.png"));
    pristinePanel_ = loadImage(QStringLiteral(":/art/panel.png"));
    panel_ = pristinePanel_;

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    buildBoard(client);
    buildPanel(client);
    buildMenus();
    buildTimers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    qApp->installEventFilter(this);
    render();
}

frmMain::~frmMain() = default;

QWidget* frmMain::picHontai() const { return picHontai_; }
QWidget* frmMain::picMenu() const { return picMenu_; }

void frmMain::buildBoard(QWidget* client)
{
    picHontai_ = new PictureBox(client);
    picHontai_->setObjectName(QStringLiteral("picHontai"));
    picHontai_->setGeometry(kBoardRect);
    picHontai_->setPicture(&board_);
    // The window reads every key itself; the board only has to hold the focus.
    picHontai_->setFocusPolicy(Qt::StrongFocus);

    const QColor white(255, 255, 255);
    const QColor plain = palette().color(QPalette::ButtonText);
    // Created bottom first: a later sibling lies above an earlier one, and
    // the white text of each pair must lie over its shadow.
    struct Place {
        int index;
        QPoint pos;
        const char* text;
        QColor colour;
    };
    const Place timeLabels[] = {
        {1, {350, 440}, "20", QColor(64, 64, 64)}, {0, {347, 439}, "20", white},
        {3, {230, 440}, "TIME", plain},            {2, {227, 439}, "TIME", white},
        {5, {330, 440}, ":", plain},               {4, {327, 439}, ":", white},
        {6, {391, 440}, ".sec", QColor(0, 0, 0)},  {7, {388, 439}, ".sec", white},
    };
    for (const Place& s : timeLabels)
        lblTime_[static_cast<std::size_t>(s.index)] =
            makeLabel(picHontai_, QStringLiteral("lblTime(%1)").arg(s.index), s.pos,
                      QString::fromLatin1(s.text), s.colour, kTimePx);
    lblRec_[0] = makeLabel(picHontai_, QStringLiteral("lblRec(0)"), {34, 450},
                           QStringLiteral("SCORE RECORD"), plain, kRecordPx);
    lblRec_[1] = makeLabel(picHontai_, QStringLiteral("lblRec(1)"), {32, 449},
                           QStringLiteral("SCORE RECORD"), white, kRecordPx);

    for (int i = game::kHoles - 1; i >= 0; --i) {
        auto* hole = new HoleBox(i, picHontai_);
        hole->setObjectName(QStringLiteral("picMaru(%1)").arg(i));
        hole->setGeometry(QRect(holePosition(i), QSize(kHoleSize, kHoleSize)));
        connect(hole, &HoleBox::clicked, this, [this](int index) {
            handle([this, index] { logic_.picMaru_Click(static_cast<std::int16_t>(index)); });
        });
        picMaru_[static_cast<std::size_t>(i)] = hole;
    }
}

void frmMain::buildPanel(QWidget* client)
{
    picMenu_ = new PictureBox(client);
    picMenu_->setObjectName(QStringLiteral("picMenu"));
    picMenu_->setGeometry(kPanelRect);
    picMenu_->setPicture(&panel_);

    const QColor white(255, 255, 255);
    const QString zero = QStringLiteral("0");
    lblKosuu_ = makeLabel(picMenu_, QStringLiteral("lblKosuu"), {kKosuuX, 243}, zero, white,
                          kCounterPx);
    lblHit_ = makeLabel(picMenu_, QStringLiteral("lblHit"), {kCounterX, 312}, zero, white,
                        kCounterPx);
    lblMiss_ = makeLabel(picMenu_, QStringLiteral("lblMiss"), {kCounterX, 376}, zero, white,
                         kCounterPx);
    lblMainScore_ = makeLabel(picMenu_, QStringLiteral("lblMainScore"), {kCounterX, 440}, zero,
                              white, kCounterPx);
}

void frmMain::buildMenus()
{
    auto action = [this](QMenu* menu, const QString& name, const QString& text,
                         auto&& handler) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, handler] { handle(handler); });
        return a;
    };
    auto checkable = [](QAction* a) {
        // The logic owns the check mark: render() puts back whatever Qt's own
        // toggle did.
        a->setCheckable(true);
        return a;
    };

    mnuGame_ = menuBar()->addMenu(QStringLiteral("ゲーム(&G)"));
    mnuGame_->setObjectName(QStringLiteral("mnuGame"));
    mnuKaisi_ = action(mnuGame_, QStringLiteral("mnuKaisi"), QStringLiteral("スタート"),
                       [this] { logic_.mnuKaisi_Click(); });
    mnuChuudan_ = action(mnuGame_, QStringLiteral("mnuChuudan"), QStringLiteral("ストップ"),
                         [this] { logic_.mnuChuudan_Click(); });
    mnuGame_->addSeparator()->setObjectName(QStringLiteral("mnuBar"));
    mnuExit_ = action(mnuGame_, QStringLiteral("mnuExit"), QStringLiteral("終了"),
                      [this] { logic_.mnuExit_Click(); });
    mnuExit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuOption_ = menuBar()->addMenu(QStringLiteral("設定(&O)"));
    mnuOption_->setObjectName(QStringLiteral("mnuOption"));
    for (int k = 0; k < 4; ++k) {
        const auto& mode = game::kModes[static_cast<std::size_t>(k)];
        mnuOptionMode_[static_cast<std::size_t>(k)] = checkable(action(
            mnuOption_, QStringLiteral("mnuOptionMode(%1)").arg(k),
            QString::fromUtf8(mode.name.data(), static_cast<qsizetype>(mode.name.size())),
            [this, k] { logic_.mnuOptionMode_Click(static_cast<std::int16_t>(k)); }));
    }

    mnuScore_ = menuBar()->addMenu(QStringLiteral("スコア(&S)"));
    mnuScore_->setObjectName(QStringLiteral("mnuScore"));
    connect(mnuScore_, &QMenu::aboutToShow, this, [this] { handle([this] { logic_.mnuScore_Click(); }); });
    const QString saveCaptions[] = {QStringLiteral("記録する"), QStringLiteral("記録しない")};
    for (int k = 0; k < 2; ++k)
        mnuScoreSave_[static_cast<std::size_t>(k)] = checkable(action(
            mnuScore_, QStringLiteral("mnuScoreSave(%1)").arg(k), saveCaptions[k],
            [this, k] { logic_.mnuScoreSave_Click(static_cast<std::int16_t>(k)); }));
    mnuScoreText_ = action(mnuScore_, QStringLiteral("mnuScoreText"), QStringLiteral("SCORE"),
                           [this] { logic_.mnuScoreText_Click(); });
    mnuScoreText_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));

    mnuHelp_ = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuHelp_->setObjectName(QStringLiteral("mnuHelp"));
    connect(mnuHelp_, &QMenu::aboutToShow, this, [this] { handle([this] { logic_.mnuHelp_Click(); }); });
    mnuHelptxt_ = action(mnuHelp_, QStringLiteral("mnuHelptxt"), QStringLiteral("HELP"),
                         [this] { logic_.mnuHelptxt_Click(); });
    mnuHelptxt_->setShortcut(QKeySequence(Qt::Key_F1));
    mnuVer_ = mnuHelp_->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    mnuVer_->setObjectName(QStringLiteral("mnuVer"));
    connect(mnuVer_, &QAction::triggered, this, [this] { mnuVer_Click(); });
}

void frmMain::buildTimers()
{
    auto timer = [this](const QString& name, int interval, auto&& handler) {
        auto* t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(interval);
        // The spawner and retreat timers start one right after the other;
        // coarse timers could shift them against each other.
        t->setTimerType(Qt::PreciseTimer);
        connect(t, &QTimer::timeout, this, [this, handler] { handle(handler); });
        return t;
    };
    timMidi_ = timer(QStringLiteral("timMidi"), 1, [this] { logic_.timMidi_Timer(); });
    timTitleMidi_ = timer(QStringLiteral("timTitleMidi"), 54100, [this] { logic_.timTitleMidi_Timer(); });
    timStart_ = timer(QStringLiteral("timStart"), 200, [this] { logic_.timStart_Timer(); });
    timKesu_ = timer(QStringLiteral("timKesu"), 200, [this] { logic_.timKesu_Timer(); });
    timNokori_ = timer(QStringLiteral("timNokori"), 1000, [this] { logic_.timNokori_Timer(); });
}

template <class Handler>
void frmMain::handle(Handler&& handler)
{
    if (ended_)
        return;
    handler();
    if (!ended_)
        render();
}

void frmMain::Form_Load()
{
    handle([this] { logic_.Form_Load(); });
}

void frmMain::mnuVer_Click()
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

void frmMain::render()
{
    const game::Controls& c = logic_.controls();

    for (int i = 0; i < game::kHoles; ++i) {
        const auto k = static_cast<std::size_t>(c.picMaru[static_cast<std::size_t>(i)]);
        picMaru(i)->setPicture(&picMogu_.at(k));
    }

    setLabelText(lblTime_[0], c.lblTime);
    setLabelText(lblTime_[1], c.lblTime);
    for (QLabel* l : lblRec_)
        l->setVisible(c.lblRecVisible);
    setCounterText(lblKosuu_, kKosuuX, c.lblKosuu);
    setCounterText(lblHit_, kCounterX, c.lblHit);
    setCounterText(lblMiss_, kCounterX, c.lblMiss);
    setCounterText(lblMainScore_, kCounterX, c.lblMainScore);
    lblMainScore_->setVisible(c.lblMainScoreVisible);

    showItem(mnuKaisi_, c.mnuKaisi, true);
    showItem(mnuChuudan_, c.mnuChuudan, true);
    showItem(mnuExit_, c.mnuExit, true);
    showTitle(mnuOption_, c.mnuOption);
    for (std::size_t k = 0; k < mnuOptionMode_.size(); ++k)
        showItem(mnuOptionMode_[k], c.mnuOptionMode[k], c.mnuOption.enabled);
    showTitle(mnuScore_, c.mnuScore);
    for (std::size_t k = 0; k < mnuScoreSave_.size(); ++k)
        showItem(mnuScoreSave_[k], c.mnuScoreSave[k], c.mnuScore.enabled);
    showItem(mnuScoreText_, c.mnuScoreText, c.mnuScore.enabled);
    showTitle(mnuHelp_, c.mnuHelp);
    showItem(mnuHelptxt_, c.mnuHelptxt, c.mnuHelp.enabled);
    showItem(mnuVer_, c.mnuVer, c.mnuHelp.enabled);

    renderPanel();
    renderTimers();
}

void frmMain::renderPanel()
{
    const game::Controls& c = logic_.controls();
    if (c.panelPaints == panelPaints_)
        return;
    panelPaints_ = c.panelPaints;
    if (c.panelMask < 0 || c.panelMask >= 8 || c.panelImage < 0 || c.panelImage >= 8)
        return;
    paintModeLabel(panel_, pristinePanel_, picLebel_[static_cast<std::size_t>(c.panelMask)],
                   picLebel_[static_cast<std::size_t>(c.panelImage)]);
    picMenu_->update(kModeLabelClearRect);
}

void frmMain::renderTimers()
{
    const game::Controls& c = logic_.controls();
    // Game timers in the order a game starts them: spawner, clock, retreat.
    syncTimer(timStart_, c.timStart);
    syncTimer(timNokori_, c.timNokori);
    syncTimer(timKesu_, c.timKesu);
    // The 1 ms music tick has work only while a switch to the game tune is
    // pending; idle ticks would cost CPU for nothing.
    syncTimer(timMidi_, c.timMidi && logic_.state().gameMusicPending);
    syncTimer(timTitleMidi_, c.timTitleMidi);
}

void frmMain::stopTimers()
{
    for (QTimer* t : {timMidi_, timTitleMidi_, timStart_, timKesu_, timNokori_})
        t->stop();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    // A key event that the focused control ignores travels up to its parents;
    // only its first delivery counts. Keys that steer the menu bar are not
    // the game's.
    QWidget* firstReceiver = focusWidget() ? focusWidget() : this;
    if (widget != firstReceiver || qobject_cast<QMenuBar*>(widget))
        return false;

    const auto* key = static_cast<QKeyEvent*>(event);
    const KeyRoute route = routeKey(type, key->key(), key->modifiers(), key->isAutoRepeat());
    if (route.handler == KeyHandler::KeyDown)
        handle([this, code = route.code] { logic_.Form_KeyDown(code); });
    else if (route.handler == KeyHandler::KeyUp)
        handle([this, code = route.code] { logic_.Form_KeyUp(code); });
    return false;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!ended_)
        logic_.Form_Unload();
    ended_ = true;
    stopTimers();
    event->accept();
    emit closed();
}

void frmMain::repaintMain()
{
    render();
    repaint();
    outerHost_.repaintMain();
}

void frmMain::showMain()
{
    render();
    adjustSize();
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    show();
    outerHost_.showMain();
}

void frmMain::closeTitle()
{
    outerHost_.closeTitle();
}

void frmMain::focusBoard()
{
    picHontai_->setFocus();
    outerHost_.focusBoard();
}

void frmMain::closeAbout()
{
    about_.reset();
    outerHost_.closeAbout();
}

void frmMain::endProgram()
{
    ended_ = true;
    stopTimers();
    outerHost_.endProgram();
}

void frmMain::pause(int milliseconds)
{
    // The pause blocks all event handling: paint the emptied board first so
    // the player sees it during the wait.
    render();
    repaint();
    outerPause_.pause(milliseconds);
}

}  // namespace pokopin::ui
