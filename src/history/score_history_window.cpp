// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score_history_window.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "game_table_model.h"
#include "history_style.h"
#include "log_loader.h"
#include "score_chart.h"

namespace pokopin::history {
namespace {

QString dash()
{
    return QStringLiteral("—");
}

QString modeName(int mode)
{
    const auto name = game::kModes[std::size_t(mode)].name;
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QString css(const QColor& c)
{
    return c.name(QColor::HexArgb);
}

QString windowStyle()
{
    return QStringLiteral(
               "QFrame#card { background: %1; border: 1px solid %2; border-radius: 8px; }"
               "QLabel#cardCaption { color: %3; }"
               "QLabel#cardValue { color: %4; }"
               "QLabel#message { color: %3; }"
               "QLabel#status { color: %3; }"
               "QTabBar::tab { background: %5; color: %4; padding: 5px 16px; margin-right: 3px;"
               "  border: 1px solid %6; border-bottom: none;"
               "  border-top-left-radius: 6px; border-top-right-radius: 6px; }"
               "QTabBar::tab:selected { background: %7; color: white; border-color: %7; }"
               "QTabBar::tab:!selected:hover { background: %8; }"
               "QTableView { background: white; alternate-background-color: %9;"
               "  gridline-color: %10; selection-background-color: %8; selection-color: %4;"
               "  border: 1px solid %10; }"
               "QHeaderView::section { background: %1; color: %4; padding: 3px 6px;"
               "  border: none; border-right: 1px solid %2; border-bottom: 1px solid %2; }"
               "QProgressBar { border: 1px solid %2; border-radius: 4px; background: white;"
               "  text-align: center; color: %4; }"
               "QProgressBar::chunk { background: %11; border-radius: 3px; }")
        .arg(css(style::kCard), css(style::kCardEdge), css(style::kMutedInk), css(style::kInk),
             css(QColor(232, 245, 226)), css(QColor(190, 218, 182)), css(style::kTab),
             css(QColor(196, 236, 196)), css(QColor(252, 248, 232)), css(QColor(236, 228, 204)),
             css(style::kScore.lighter(130)));
}

}  // namespace

ScoreHistoryWindow::ScoreHistoryWindow(const QString& logPath, QWidget* parent)
    : QWidget(parent, Qt::Window),
      path_(logPath.toStdString()),
      tabs_(new QTabBar),
      pages_(new QStackedWidget),
      message_(new QLabel),
      status_(new QLabel),
      progress_(new QProgressBar)
{
    setObjectName(QStringLiteral("ScoreHistoryWindow"));
    setWindowTitle(QStringLiteral("成績グラフ - Pokopin！"));
    setFont(style::uiFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, style::kPaper);
    pal.setColor(QPalette::WindowText, style::kInk);
    setPalette(pal);
    setAutoFillBackground(true);
    setStyleSheet(windowStyle());
    resize(840, 760);

    tabs_->setObjectName(QStringLiteral("modeTabs"));
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setFont(style::uiFont(1.1, true));
    for (int k = 0; k < kModeCount; ++k)
        tabs_->addTab(modeName(k));

    auto* cards = new QHBoxLayout;
    cards->setSpacing(8);
    cards->addWidget(makeCard(QStringLiteral("ゲーム数"), games_));
    cards->addWidget(makeCard(QStringLiteral("最高スコア"), bestScore_));
    cards->addWidget(makeCard(QStringLiteral("平均スコア"), average_));
    cards->addWidget(makeCard(QStringLiteral("最高命中率"), bestRate_));
    cards->addWidget(makeCard(QStringLiteral("最高スコアの日"), bestDay_));
    bestRate_->setToolTip(QStringLiteral("HIT ÷ (HIT + MISS) の、いちばん高かったゲーム"));

    message_->setObjectName(QStringLiteral("message"));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setFont(style::uiFont(1.25));
    pages_->addWidget(message_);

    const QFontMetrics fm(font());
    status_->setObjectName(QStringLiteral("status"));
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 1000);
    progress_->setFixedWidth(fm.horizontalAdvance(QStringLiteral("M")) * 16);
    progress_->setFormat(QStringLiteral("%p%"));
    progress_->hide();
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(status_, 1);
    statusRow->addWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 10);
    layout->setSpacing(10);
    layout->addWidget(tabs_);
    layout->addLayout(cards);
    layout->addWidget(pages_, 1);
    layout->addLayout(statusRow);

    message_->setText(QStringLiteral("読み込み中…"));
    showSummary();

    // The window's work comes in turns of the event loop, none long enough
    // to hold up the game: the frame around the figures first, the chart
    // and the table next, and the chart's curves after the rows. The short
    // wait lets the first frame out, and the game's timers in, before the
    // chart and the table are built.
    contentTimer_.setSingleShot(true);
    contentTimer_.setInterval(15);
    connect(&contentTimer_, &QTimer::timeout, this, &ScoreHistoryWindow::buildContent);
    chartTimer_.setSingleShot(true);
    chartTimer_.setInterval(0);
    connect(&chartTimer_, &QTimer::timeout, this, [this] {
        chart_->draw(currentMode());
        if (readAgain_) {
            readAgain_ = false;
            read();
        }
        emit logRead();
    });

    connect(tabs_, &QTabBar::currentChanged, this, [this](int mode) {
        if (everRead_)
            showMode(mode);
    });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto* closeToo = new QShortcut(QKeySequence::Close, this);
    connect(closeToo, &QShortcut::activated, this, &QWidget::close);
}

void ScoreHistoryWindow::buildContent()
{
    if (chart_)
        return;
    model_ = new GameTableModel(store_, this);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("gameTable"));
    table_->setModel(model_);
    table_->setAlternatingRowColors(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setCornerButtonEnabled(false);
    // Rows of one height need no measuring, however many there are.
    const QFontMetrics fm(font());
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fm.height() + 8);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    const int pad = 24;
    const int number = fm.horizontalAdvance(QStringLiteral("0000000")) + pad;
    header->resizeSection(GameTableModel::Number, number);
    header->resizeSection(GameTableModel::When,
                          fm.horizontalAdvance(QStringLiteral("0000/00/00 (水) 00:00:00")) + pad);
    for (int c : {GameTableModel::PlayTime, GameTableModel::Count, GameTableModel::Hit,
                  GameTableModel::Miss, GameTableModel::Score})
        header->resizeSection(
            c, std::max(number, fm.horizontalAdvance(QStringLiteral("PlayTime")) + pad));
    header->setSortIndicator(GameTableModel::Number, Qt::DescendingOrder);
    table_->setSortingEnabled(true);

    chart_ = new ScoreChart(store_);
    chart_->setObjectName(QStringLiteral("scoreChart"));
    chart_->setMinimumHeight(220);
    auto* split = new QSplitter(Qt::Vertical);
    split->setChildrenCollapsible(false);
    split->addWidget(chart_);
    split->addWidget(table_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({420, 300});
    pages_->addWidget(split);
    split->ensurePolished();
}

ScoreHistoryWindow::~ScoreHistoryWindow()
{
    if (loader_) {
        loader_->cancel();
        thread_.quit();
        thread_.wait();
    }
}

QWidget* ScoreHistoryWindow::makeCard(const QString& caption, QLabel*& value)
{
    auto* card = new QFrame;
    card->setObjectName(QStringLiteral("card"));
    auto* title = new QLabel(caption);
    title->setObjectName(QStringLiteral("cardCaption"));
    title->setFont(style::uiFont(0.9));
    value = new QLabel;
    value->setObjectName(QStringLiteral("cardValue"));
    value->setFont(style::uiFont(1.45, true));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* box = new QVBoxLayout(card);
    box->setContentsMargins(12, 6, 12, 8);
    box->setSpacing(2);
    box->addWidget(title);
    box->addWidget(value);
    return card;
}

int ScoreHistoryWindow::currentMode() const
{
    return std::max(tabs_->currentIndex(), 0);
}

void ScoreHistoryWindow::showForMode(int mode)
{
    if (mode >= 0 && mode < kModeCount)
        tabs_->setCurrentIndex(mode);
    show();
    raise();
    activateWindow();
    if (!chart_)
        contentTimer_.start();
    read();
}

void ScoreHistoryWindow::logAppended()
{
    if (loader_)
        read();
}

void ScoreHistoryWindow::read()
{
    if (!loader_) {
        status_->setText(QStringLiteral("%1 を読み込んでいます…").arg(logName()));
        loader_ = new LogLoader(path_);
        loader_->moveToThread(&thread_);
        connect(&thread_, &QThread::finished, loader_, &QObject::deleteLater);
        connect(loader_, &LogLoader::progressed, this, [this](qint64 done, qint64 total) {
            progress_->setValue(total > 0 ? int(done * 1000 / total) : 0);
            progress_->show();
        });
        connect(loader_, &LogLoader::finished, this, &ScoreHistoryWindow::takeIn);
        thread_.setObjectName(QStringLiteral("score history reader"));
        thread_.start(QThread::LowPriority);
    }
    if (reading_) {
        readAgain_ = true;  // once the read under way is in
        return;
    }
    reading_ = true;
    QMetaObject::invokeMethod(loader_, &LogLoader::read, Qt::QueuedConnection);
}

void ScoreHistoryWindow::takeIn(const std::shared_ptr<LogBatch>& batch)
{
    reading_ = false;
    progress_->hide();
    const int mode = currentMode();
    const bool fresh = batch->fresh != nullptr;
    const std::size_t shownBefore = fresh ? 0 : store_.count(mode);
    if (fresh)
        store_ = std::move(*batch->fresh);
    else
        store_.append(std::move(batch->read.games));
    last_ = batch;

    buildContent();
    if (!everRead_ || fresh || shownBefore == 0) {
        everRead_ = true;
        showTable(mode);
    } else if (store_.count(mode) != shownBefore) {
        model_->gamesAdded(shownBefore);
        showSummary();
    }
    showTabCounts();
    showStatus();
    chartTimer_.start();
}

void ScoreHistoryWindow::showMode(int mode)
{
    showTable(mode);
    chart_->draw(mode);
}

void ScoreHistoryWindow::showTable(int mode)
{
    model_->reset(mode);
    showSummary();
    if (store_.count(mode) == 0) {
        message_->setText(QStringLiteral("「%1」の記録はまだありません。\n"
                                         "このモードで遊ぶと、ここにグラフと表が出ます。")
                              .arg(modeName(mode)));
        pages_->setCurrentIndex(0);
    } else {
        pages_->setCurrentIndex(1);
    }
}

void ScoreHistoryWindow::showSummary()
{
    const int mode = currentMode();
    const Summary& s = store_.summary(mode);
    const bool any = everRead_ && s.games > 0;
    games_->setText(any ? QString::number(s.games) : dash());
    bestScore_->setText(any ? QString::number(s.bestScore) : dash());
    average_->setText(any ? QString::number(s.averageScore(), 'f', 1) : dash());
    bestRate_->setText(any && s.bestHitRate >= 0
                           ? QString::number(s.bestHitRate * 100, 'f', 1) + QLatin1Char('%')
                           : dash());
    if (any) {
        const PlayedGame& g = store_.game(mode, std::size_t(s.bestGame));
        static const QString weekdays = QStringLiteral("日月火水木金土");
        bestDay_->setText(
            QStringLiteral("%1/%2/%3 (%4)")
                .arg(g.year)
                .arg(g.month)
                .arg(g.day)
                .arg(g.weekday >= 1 && g.weekday <= 7 ? weekdays[g.weekday - 1] : QChar('?')));
    } else {
        bestDay_->setText(dash());
    }
}

void ScoreHistoryWindow::showTabCounts()
{
    for (int k = 0; k < kModeCount; ++k)
        tabs_->setTabText(k, QStringLiteral("%1（%2）").arg(modeName(k)).arg(store_.count(k)));
}

QString ScoreHistoryWindow::logName() const
{
    return QFileInfo(QString::fromStdString(path_)).fileName();
}

void ScoreHistoryWindow::showStatus()
{
    const QString file = logName();
    QString text;
    switch (last_->read.status) {
        case records::LogStatus::Ok:
        case records::LogStatus::Cancelled:
            text = QStringLiteral("%1：%2 ゲームを読みました").arg(file).arg(store_.total());
            break;
        case records::LogStatus::Missing:
            text = QStringLiteral("%1 はまだありません").arg(file);
            break;
        case records::LogStatus::NotRegular:
            text = QStringLiteral("%1 はふつうのファイルではないため読めません").arg(file);
            break;
        case records::LogStatus::Unreadable:
            text = QStringLiteral("%1 を読めません（%2）")
                       .arg(file, QString::fromLocal8Bit(last_->read.reason.c_str()));
            break;
    }
    // An entry the log ends inside is unreadable for now; the next append
    // either completes it or shows it cut short.
    const std::int64_t unread = last_->read.skipped + (last_->read.entryOpen ? 1 : 0);
    text += QStringLiteral("　／　読めなかった記録：%1 件").arg(unread);
    status_->setText(text);
    status_->setToolTip(unread > 0 ? QStringLiteral("形のくずれた記録は飛ばして読んでいます。"
                                                    "%1 そのものは書き換えません。")
                                         .arg(file)
                                   : QString());
}

}  // namespace pokopin::history
