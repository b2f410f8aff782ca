// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The score history window on the offscreen platform, opened as the game
// opens it (its module loaded on first use), over a real log with games in
// two modes and one damaged entry: the tab it opens on, the rows, the
// summary, the empty mode, sorting, and a game appended while it is open.

#include <QtTest>

#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <fstream>

#include "game_table_model.h"
#include "modes.h"
#include "score_entry.h"
#include "score_history_entry.h"
#include "score_log.h"
#include "temp_dir.h"

using pokopin::game::ScoreRecord;
using pokopin::history::GameTableModel;
using pokopin::history::ScoreHistory;

namespace {

ScoreRecord game(int mode, int day, int hit, int miss, std::int64_t score)
{
    ScoreRecord r;
    r.when = {2024, 6, day, 1 + day % 7, 10, 30, day};
    r.modeName = std::string(pokopin::game::kModes[std::size_t(mode)].name);
    r.elapsedSeconds = 25;
    r.moleCount = 100;
    r.hitCount = hit;
    r.missCount = miss;
    r.score = score;
    return r;
}

QString cell(const QTableView* t, int row, int column)
{
    return t->model()->index(row, column).data().toString();
}

// Whether a library whose file name contains `name` is mapped into this
// process.
bool loaded(const char* name)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find(name) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheModeItWasOpenedFor();
};

void HistoryWindowTest::showsTheModeItWasOpenedFor()
{
    pokopin::testing::TempDir dir;
    const std::string path = (dir.path() / "Score.txt").string();
    {
        // むずい (2): five games, the best the third; かんたん (0): two.
        QByteArray log;
        log += pokopin::records::scoreEntryBytes(game(2, 1, 40, 10, 812));
        log += pokopin::records::scoreEntryBytes(game(0, 2, 20, 0, 150));
        log += pokopin::records::scoreEntryBytes(game(2, 3, 45, 5, 1402));
        log += "Pokopin Version 1.42 Score Record\r\nhand-made\r\n";  // damaged
        log += pokopin::records::scoreEntryBytes(game(2, 4, 0, 0, 0));
        log += pokopin::records::scoreEntryBytes(game(2, 5, 30, 30, -24));
        log += pokopin::records::scoreEntryBytes(game(0, 6, 25, 1, 300));
        log += pokopin::records::scoreEntryBytes(game(2, 7, 44, 6, 1402));
        std::ofstream(path, std::ios::binary).write(log.constData(), log.size());
    }

    // Nothing of the history is loaded before it is opened.
    ScoreHistory history(QString::fromStdString(path), nullptr,
                         {QStringLiteral(HISTORY_MODULE_DIR)});
    history.logAppended();
    QVERIFY(!history.window());
    QVERIFY(!loaded("libpokopin_history.so"));
    QVERIFY(!loaded("libQt6Charts"));

    QVERIFY2(history.showForMode(2), qPrintable(history.error()));
    QWidget& window = *history.window();
    QVERIFY(loaded("libQt6Charts"));
    QSignalSpy read(&window, SIGNAL(logRead()));
    QVERIFY(read.wait(5000));
    auto* tabs = window.findChild<QTabBar*>(QStringLiteral("modeTabs"));
    auto* table = window.findChild<QTableView*>(QStringLiteral("gameTable"));
    auto* pages = window.findChild<QStackedWidget*>();
    auto* chart = window.findChild<QWidget*>(QStringLiteral("scoreChart"));
    QVERIFY(tabs && table && pages && chart);
    QVERIFY(window.isVisible());
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(tabs->tabText(2), QStringLiteral("むずい（5）"));
    QCOMPARE(tabs->tabText(3), QStringLiteral("どむず（0）"));

    // Newest first; the date, figures and hit rate of each row.
    QCOMPARE(table->model()->rowCount(), 5);
    QCOMPARE(cell(table, 0, GameTableModel::Number), QStringLiteral("5"));
    QCOMPARE(cell(table, 0, GameTableModel::When), QStringLiteral("2024/06/07 (日) 10:30:07"));
    QCOMPARE(cell(table, 0, GameTableModel::HitRate), QStringLiteral("88.0%"));
    QCOMPARE(cell(table, 1, GameTableModel::Score), QStringLiteral("-24"));
    QCOMPARE(cell(table, 2, GameTableModel::HitRate), QStringLiteral("—"));  // no whacks
    QCOMPARE(cell(table, 4, GameTableModel::Score), QStringLiteral("812"));
    QCOMPARE(cell(table, 4, GameTableModel::Miss), QStringLiteral("10"));

    // The summary: the first game to reach the best score is the best game.
    auto card = [&](int i) {
        return window.findChildren<QLabel*>(QStringLiteral("cardValue")).at(i)->text();
    };
    QCOMPARE(card(0), QStringLiteral("5"));
    QCOMPARE(card(1), QStringLiteral("1402"));
    QCOMPARE(card(2), QStringLiteral("718.4"));  // (812 + 1402 + 0 - 24 + 1402) / 5
    QCOMPARE(card(3), QStringLiteral("90.0%"));  // 45 / (45 + 5)
    QCOMPARE(card(4), QStringLiteral("2024/6/3 (水)"));
    QCOMPARE(chart->property("pointCount").toInt(), 5);
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("status"))
                ->text()
                .contains(QStringLiteral("読めなかった記録：1 件")));

    // Sorted by score, lowest first; equal scores in the order played.
    table->sortByColumn(GameTableModel::Score, Qt::AscendingOrder);
    QCOMPARE(cell(table, 0, GameTableModel::Score), QStringLiteral("-24"));
    QCOMPARE(cell(table, 3, GameTableModel::Number), QStringLiteral("2"));
    QCOMPARE(cell(table, 4, GameTableModel::Number), QStringLiteral("5"));

    // Another mode's tab, then one with no games at all.
    tabs->setCurrentIndex(0);
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(card(1), QStringLiteral("300"));
    QCOMPARE(pages->currentIndex(), 1);
    tabs->setCurrentIndex(3);
    QCOMPARE(table->model()->rowCount(), 0);
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("message"))
                ->text()
                .contains(QStringLiteral("「どむず」の記録はまだありません")));

    // A game recorded while the window is open shows up in place, sorted.
    tabs->setCurrentIndex(2);
    pokopin::records::ScoreLogFile writer;
    QVERIFY(writer.append(path, game(2, 8, 50, 0, 2000)).ok);
    history.logAppended();
    QVERIFY(read.wait(5000));
    QCOMPARE(table->model()->rowCount(), 6);
    QCOMPARE(cell(table, 5, GameTableModel::Score), QStringLiteral("2000"));
    QCOMPARE(cell(table, 5, GameTableModel::Number), QStringLiteral("6"));
    QCOMPARE(card(1), QStringLiteral("2000"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("むずい（6）"));

    // A second opening only raises the window, on the mode asked for, and
    // catches up with the log: nothing new in it.
    QVERIFY(history.showForMode(0));
    QCOMPARE(history.window(), &window);
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(read.wait(5000));
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(tabs->tabText(2), QStringLiteral("むずい（6）"));
}

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
