// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QThread>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "game_store.h"

class QLabel;
class QProgressBar;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace pokopin::history {

class GameTableModel;
class LogLoader;
struct LogBatch;
class ScoreChart;

// The score history: one mode's games as a chart, a summary and a table,
// read from the score log. A window of its own beside the game, not modal.
//
// Nothing is read before the window is first shown. The log is then read on
// a thread of its own, the whole of it once and afterwards only what was
// appended, so the window can stay open from game to game.
//
// The game reaches it through ScoreHistory (score_history_entry.h), which
// loads it from its module and calls the invokable members by name.
class ScoreHistoryWindow : public QWidget {
    Q_OBJECT
public:
    ScoreHistoryWindow(const QString& logPath, QWidget* parent = nullptr);
    ~ScoreHistoryWindow() override;

    // Shows the window (or raises it when open) with `mode`'s tab chosen,
    // and catches up with the log.
    Q_INVOKABLE void showForMode(int mode);

    // The game has appended to the log: reads what was added. Does nothing
    // until the window has been shown once.
    Q_INVOKABLE void logAppended();

    int currentMode() const;

signals:
    // A read of the log has been taken in; the window shows what it found.
    void logRead();

private:
    void buildContent();
    void read();
    void takeIn(const std::shared_ptr<LogBatch>& batch);
    void showMode(int mode);
    void showTable(int mode);
    void showSummary();
    void showStatus();
    QString logName() const;
    void showTabCounts();
    QWidget* makeCard(const QString& caption, QLabel*& value);

    std::string path_;
    GameStore store_;
    QTabBar* tabs_;
    QStackedWidget* pages_;
    QLabel* message_;
    // Built after the window first shows.
    GameTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    ScoreChart* chart_ = nullptr;
    QLabel* status_;
    QProgressBar* progress_;
    QLabel* games_ = nullptr;
    QLabel* bestScore_ = nullptr;
    QLabel* average_ = nullptr;
    QLabel* bestRate_ = nullptr;
    QLabel* bestDay_ = nullptr;

    QTimer contentTimer_;
    QTimer chartTimer_;
    QThread thread_;
    LogLoader* loader_ = nullptr;
    bool reading_ = false;
    bool readAgain_ = false;
    bool everRead_ = false;
    std::shared_ptr<LogBatch> last_;  // the last read, for its status; its games are moved out
};

}  // namespace pokopin::history
