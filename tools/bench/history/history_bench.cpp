// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Measurements of the score history, each beside a baseline taken in the
// same run. Driven by tools/bench/history_bench.py; one measurement per
// process, so that peak memory belongs to that measurement alone.
//
//   history_bench generate LOG GAMES     write a log of GAMES plausible games
//   history_bench read LOG               the reader alone, against plain read()
//   history_bench open LOG MODE          the window: first frame, stalls, memory
//   history_bench chart LOG              Qt Charts drawing every game or grouped
//   history_bench shot LOG OUT.png MODE  a picture of the window
//   history_bench shot-loading LOG OUT.png MODE   the same, halfway through reading

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QPixmap>
#include <QProgressBar>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game_store.h"
#include "game_table_model.h"
#include "history_style.h"
#include "score_chart.h"
#include "score_entry.h"
#include "score_history.h"
#include "score_history_entry.h"

namespace {

using pokopin::history::GameStore;
using pokopin::history::ScoreHistory;

// Where the bench's own build put the history module.
ScoreHistory openHistory(const char* path, QWidget* parent)
{
    return {QString::fromLocal8Bit(path), parent, {QStringLiteral(HISTORY_MODULE_DIR)}};
}

// Calls a function on each logRead() of the window, whose class lives in
// the module and is known here by name only.
class ReadWatch : public QObject {
    Q_OBJECT
public:
    ReadWatch(QWidget* window, std::function<void()> then) : then_(std::move(then))
    {
        connect(window, SIGNAL(logRead()), this, SLOT(read()));
    }
private slots:
    void read() { then_(); }

private:
    std::function<void()> then_;
};

// From /proc/self/status, in MiB: "VmHWM" (peak) or "VmRSS" (now).
double memoryMiB(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(key.size())) / 1024.0;
    }
    return 0;
}

int weekday(int y, int m, int d)  // 1 = Sunday
{
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    y -= m < 3;
    return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7 + 1;
}

int daysIn(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// A player who gets better with practice, a few games a day, mostly in
// ふつう. Written by the game's own entry writer.
int generate(const char* path, long games)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return 1;
    std::mt19937_64 rng(20260501);
    std::uniform_real_distribution<double> unit(0, 1);
    int y = 2001, mo = 4, d = 1, h = 9, mi = 0, s = 0;
    static const int quota[] = {30, 50, 100, 105};
    for (long i = 0; i < games; ++i) {
        // The clock moves on by a few minutes, now and then by days.
        mi += 1 + int(rng() % 6);
        s = int(rng() % 60);
        if (unit(rng) < 0.08)
            h += 20;
        while (mi >= 60) {
            mi -= 60;
            ++h;
        }
        while (h >= 24) {
            h -= 24;
            if (++d > daysIn(y, mo)) {
                d = 1;
                if (++mo > 12) {
                    mo = 1;
                    ++y;
                }
            }
        }
        const double r = unit(rng);
        const int mode = r < 0.25 ? 0 : r < 0.65 ? 1 : r < 0.85 ? 2 : 3;
        const double practice = double(i) / double(std::max(games, 1L));
        const double skill = std::clamp(0.35 + 0.45 * practice + (unit(rng) - 0.5) * 0.3, 0.0, 1.0);
        pokopin::game::ScoreRecord rec;
        rec.when = {y, mo, d, weekday(y, mo, d), h, mi, s};
        rec.modeName = std::string(pokopin::game::kModes[std::size_t(mode)].name);
        rec.elapsedSeconds = unit(rng) < 0.05 ? 1 + int(rng() % 24) : 25;
        rec.moleCount = quota[mode] + int(rng() % 9);
        rec.hitCount = int(rec.moleCount * skill * (mode < 2 ? 0.9 : 0.6));
        rec.missCount = int(rng() % (4 + std::size_t((1 - skill) * 20)));
        // Combos pay the square of their level; misses cost.
        const double combo = 1 + skill * skill * 14;
        rec.score = std::int64_t(rec.hitCount * combo * combo / 3) - 12L * rec.missCount
                    - (unit(rng) < 0.02 ? 150 : 0);
        const QByteArray bytes = pokopin::records::scoreEntryBytes(rec);
        if (bytes.isEmpty()
            || std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out)
                   != std::size_t(bytes.size()))
            return 1;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

double seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

int readLog(const char* path)
{
    const double startMiB = memoryMiB("VmRSS");
    // Baseline: the same bytes through read() alone, after one pass to
    // bring the file into the page cache for both.
    std::vector<char> buffer(1 << 20);
    auto plainRead = [&] {
        const int fd = ::open(path, O_RDONLY);
        long long total = 0;
        ssize_t n;
        while ((n = ::read(fd, buffer.data(), buffer.size())) > 0)
            total += n;
        ::close(fd);
        return total;
    };
    plainRead();
    QElapsedTimer t;
    t.start();
    const long long bytes = plainRead();
    const double plainSeconds = seconds(t);

    pokopin::records::ScoreLogFollower follower(path);
    t.restart();
    const pokopin::records::LogRead r = follower.readNew();
    const double readerSeconds = seconds(t);
    const double mb = double(bytes) / 1e6;
    std::printf("read.bytes_mb %.1f\n", mb);
    std::printf("read.games %zu\n", r.games.size());
    std::printf("read.skipped %lld\n", static_cast<long long>(r.skipped));
    std::printf("read.seconds %.3f\n", readerSeconds);
    std::printf("read.mb_per_s %.0f\n", mb / readerSeconds);
    std::printf("read.baseline_plain_read_mb_per_s %.0f\n", mb / plainSeconds);
    std::printf("read.peak_rss_growth_mib %.1f\n", memoryMiB("VmHWM") - startMiB);
    return r.status == pokopin::records::LogStatus::Ok ? 0 : 1;
}

// Calls `then` once `widget` has finished its next paint, timing from `t`.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* widget, std::function<void()> then) : then_(std::move(then))
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && then_) {
            // Fires when the paint, and the frame it belongs to, is done.
            QTimer::singleShot(0, this, [this] {
                if (auto f = std::exchange(then_, nullptr))
                    f();
            });
        }
        return false;
    }
    void rearm(std::function<void()> then) { then_ = std::move(then); }

private:
    std::function<void()> then_;
};

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Counts the ticks of a 10 ms timer that come late: the longest gap shows
// how long the UI thread was held.
class TickWatch : public QObject {
public:
    TickWatch()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const double gap = double(now - last_) / 1e6;
            last_ = now;
            worst_ = std::max(worst_, gap);
            // The UI thread's own processor time between ticks: what a gap
            // would be on a machine with nothing else to run.
            const double cpu = threadCpuMs();
            worstCpu_ = std::max(worstCpu_, cpu - lastCpu_);
            if (trace_ && gap > 30)
                std::fprintf(stderr, "tick at %.0f ms: %.0f ms after the last, %.1f ms busy\n",
                             double(now) / 1e6, gap, cpu - lastCpu_);
            lastCpu_ = cpu;
            late_ += gap > 50 ? 1 : 0;
            ++ticks_;
        });
    }
    void start()
    {
        lastCpu_ = threadCpuMs();
        worstCpu_ = 0;
        worst_ = 0;
        late_ = 0;
        ticks_ = 0;
        clock_.start();
        last_ = 0;
        timer_.start(10);
    }
    void stop() { timer_.stop(); }
    double worst() const { return worst_; }
    double worstCpu() const { return worstCpu_; }
    int late() const { return late_; }
    int ticks() const { return ticks_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    const bool trace_ = qEnvironmentVariableIsSet("HISTORY_BENCH_TRACE");
    double lastCpu_ = 0;
    double worstCpu_ = 0;
    double worst_ = 0;
    int late_ = 0;
    int ticks_ = 0;
};

void spin(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

int openWindow(const char* path, int mode)
{
    int argc = 1;
    char name[] = "history_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    // The idle game's stand-in: a 640x480 window with a label in the
    // game's face (the game has it loaded before any menu opens), settled.
    QWidget game;
    game.setFixedSize(640, 480);
    QLabel label(QStringLiteral("ＳＣＯＲＥ 0 かんたん"), &game);
    label.setFont(pokopin::history::style::uiFont());
    QLabel bold(QStringLiteral("SCORE RECORD"), &game);
    bold.setFont(pokopin::history::style::uiFont(1, true));
    bold.move(0, 40);
    QLabel menu(QStringLiteral("ゲーム(&G) 設定(&O) スコア(&S) ヘルプ(&H)"),
                &game);  // menus: the desktop's font
    menu.move(0, 80);
    game.show();
    spin(500);
    const double idleMiB = memoryMiB("VmHWM");

    // Baseline for the first frame and for stalls: a plain window of the
    // same size, and the timer over an idle second.
    TickWatch ticks;
    ticks.start();
    spin(1000);
    ticks.stop();
    const double idleWorst = ticks.worst();
    QElapsedTimer t;
    double plainFrame = -1;
    double plainWorst = 0;
    {
        QWidget plain(&game, Qt::Window);
        plain.resize(820, 700);
        PaintWatch watch(&plain, [&] { plainFrame = seconds(t) * 1000; });
        ticks.start();
        t.start();
        plain.show();
        while (plainFrame < 0)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        spin(100);
        ticks.stop();
        plainWorst = ticks.worst();
    }

    double firstFrame = -1;
    double readIn = -1;
    double dataFrame = -1;
    ticks.start();
    t.start();
    ScoreHistory history = openHistory(path, &game);
    history.showForMode(mode);
    QWidget& window = *history.window();
    PaintWatch frame(&window, [&] { firstFrame = seconds(t) * 1000; });
    std::unique_ptr<PaintWatch> chartFrame;
    ReadWatch watch(&window, [&] {
        if (readIn < 0) {
            readIn = seconds(t) * 1000;
            // The chart exists once there is something to draw.
            auto* chart = window.findChild<QAbstractScrollArea*>(QStringLiteral("scoreChart"));
            chartFrame = std::make_unique<PaintWatch>(chart->viewport(),
                                                      [&] { dataFrame = seconds(t) * 1000; });
        }
    });
    while (dataFrame < 0 || firstFrame < 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    spin(300);
    ticks.stop();
    const double peakMiB = memoryMiB("VmHWM");

    auto* table = window.findChild<QTableView*>();
    auto* tabs = window.findChild<QTabBar*>();
    const QString tab = tabs->tabText(mode);  // "ふつう（400285）"
    const long rows = tab.mid(tab.indexOf(QChar(0xff08)) + 1).chopped(1).toLong();
    t.start();
    table->sortByColumn(pokopin::history::GameTableModel::Score, Qt::AscendingOrder);
    const double sortMs = seconds(t) * 1000;
    table->sortByColumn(pokopin::history::GameTableModel::Number, Qt::DescendingOrder);
    t.start();
    tabs->setCurrentIndex((mode + 1) % pokopin::history::kModeCount);
    const double switchMs = seconds(t) * 1000;

    std::printf("open.games_in_mode %ld\n", rows);
    std::printf("open.first_frame_ms %.1f\n", firstFrame);
    std::printf("open.baseline_plain_window_first_frame_ms %.1f\n", plainFrame);
    std::printf("open.log_read_ms %.1f\n", readIn);
    std::printf("open.first_frame_with_data_ms %.1f\n", dataFrame);
    std::printf("open.ui_longest_gap_ms %.1f\n", ticks.worst());
    std::printf("open.ui_late_ticks_over_50ms %d\n", ticks.late());
    std::printf("open.ui_longest_turn_cpu_ms %.1f\n", ticks.worstCpu());
    std::printf("open.ui_ticks %d\n", ticks.ticks());
    std::printf("open.baseline_idle_longest_gap_ms %.1f\n", idleWorst);
    std::printf("open.baseline_plain_window_longest_gap_ms %.1f\n", plainWorst);
    std::printf("open.idle_peak_rss_mib %.1f\n", idleMiB);
    std::printf("open.peak_rss_mib %.1f\n", peakMiB);
    std::printf("open.peak_rss_growth_mib %.1f\n", peakMiB - idleMiB);
    std::printf("open.sort_by_score_ms %.1f\n", sortMs);
    std::printf("open.switch_mode_ms %.1f\n", switchMs);
    return 0;
}

// Qt Charts drawing one mode's games: every game as a point, against the
// grouped points the window draws. Each is put in and rendered three times;
// the best time counts.
int chartCost(const char* path)
{
    int argc = 1;
    char name[] = "history_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    pokopin::records::ScoreLogFollower follower(path);
    GameStore store;
    store.append(follower.readNew().games);
    int mode = 0;
    for (int k = 1; k < pokopin::history::kModeCount; ++k)
        mode = store.count(k) > store.count(mode) ? k : mode;
    const std::size_t n = store.count(mode);

    auto best = [](auto run) {
        double b = 1e18;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            run();
            b = std::min(b, seconds(t) * 1000);
        }
        return b;
    };

    QChartView raw;
    raw.resize(800, 400);
    auto* series = new QLineSeries;
    raw.chart()->addSeries(series);
    raw.chart()->createDefaultAxes();
    QList<QPointF> all;
    all.reserve(qsizetype(n));
    for (std::size_t i = 0; i < n; ++i)
        all.append(QPointF(double(i + 1), double(store.game(mode, i).score)));
    raw.show();
    const double rawMs = best([&] {
        series->replace(all);
        raw.chart()->axes(Qt::Horizontal).first()->setRange(1, double(n));
        raw.chart()->axes(Qt::Vertical).first()->setRange(-500, 5000);
        raw.grab();
    });

    pokopin::history::ScoreChart grouped(store);
    grouped.resize(800, 400);
    grouped.show();
    const double groupedMs = best([&] {
        grouped.draw(mode);
        grouped.grab();
    });
    std::printf("chart.games %zu\n", n);
    std::printf("chart.every_game_ms %.1f\n", rawMs);
    std::printf("chart.grouped_ms %.1f\n", groupedMs);
    std::printf("chart.grouped_points %lld\n", static_cast<long long>(grouped.pointCount()));
    std::printf("chart.grouped_games_per_point %d\n", grouped.gamesPerPoint());
    return 0;
}

// A picture of the window once the log is in, or (`loading`) while a big
// log is still being read, with its progress bar.
int shot(const char* path, const char* out, int mode, bool loading)
{
    int argc = 1;
    char name[] = "history_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    ScoreHistory history = openHistory(path, nullptr);
    if (!history.showForMode(mode))
        return 1;
    QWidget* window = history.window();
    bool read = false;
    ReadWatch watch(window, [&] { read = true; });
    auto* progress = window->findChild<QProgressBar*>(QStringLiteral("progress"));
    auto halfway = [&] { return progress->isVisible() && progress->value() >= 400; };
    while (loading ? !halfway() : !read)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!loading)
        spin(300);
    return window->grab().save(QString::fromLocal8Bit(out)) ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "generate" && argc == 4)
        return generate(argv[2], std::atol(argv[3]));
    if (what == "read" && argc == 3)
        return readLog(argv[2]);
    if (what == "open" && argc == 4)
        return openWindow(argv[2], std::atoi(argv[3]));
    if (what == "chart" && argc == 3)
        return chartCost(argv[2]);
    if (what == "shot" && argc == 5)
        return shot(argv[2], argv[3], std::atoi(argv[4]), false);
    if (what == "shot-loading" && argc == 5)
        return shot(argv[2], argv[3], std::atoi(argv[4]), true);
    std::fprintf(stderr,
                 "usage: history_bench generate LOG GAMES | read LOG | open LOG MODE | chart LOG"
                 " | shot LOG OUT.png MODE | shot-loading LOG OUT.png MODE\n");
    return 2;
}

#include "history_bench.moc"
