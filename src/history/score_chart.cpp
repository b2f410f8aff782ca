// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "score_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "history_style.h"

namespace pokopin::history {
namespace {

void showInLegend(QChart* chart, QAbstractSeries* series, bool shown)
{
    for (QLegendMarker* m : chart->legend()->markers(series))
        m->setVisible(shown);
}

// 1, 2 or 5 times a power of ten, at least `rough`.
double roundStep(double rough)
{
    if (!(rough > 1))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= rough)
            return m * power;
    }
    return 10 * power;
}

// The axis lays out a label for every tick at once: change the range and
// the interval in the order that never asks for more ticks than before or
// after (a wide range with a fine interval would mean thousands of labels).
void setAxis(QValueAxis* axis, double min, double max, double interval)
{
    if (interval >= axis->tickInterval()) {
        axis->setTickInterval(interval);
        axis->setRange(min, max);
    } else {
        axis->setRange(min, max);
        axis->setTickInterval(interval);
    }
}

QList<QPointF> points(const std::vector<double>& x, const std::vector<double>& y)
{
    QList<QPointF> out;
    out.reserve(qsizetype(x.size()));
    for (std::size_t i = 0; i < x.size(); ++i)
        out.append(QPointF(x[i], y[i]));
    return out;
}

// Handed to the view as it is built: a view built without a chart makes one
// of its own, and lets it go unowned when it is given another.
QChart* newChart()
{
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(style::kPaper);
    chart->setPlotAreaBackgroundBrush(style::kPlot);
    chart->setPlotAreaBackgroundVisible(true);
    chart->setMargins(QMargins(6, 4, 12, 4));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setLabelColor(style::kInk);
    chart->legend()->setFont(style::uiFont(0.95));
    return chart;
}

}  // namespace

ScoreChart::ScoreChart(const GameStore& store, QWidget* parent)
    : QChartView(newChart(), parent),
      store_(store),
      scores_(new QLineSeries),
      // The band's edges belong to no chart; the view keeps them.
      upper_(new QLineSeries(this)),
      lower_(new QLineSeries(this)),
      band_(new QAreaSeries(upper_, lower_)),
      average_(new QLineSeries),
      best_(new QScatterSeries),
      xAxis_(new QValueAxis),
      yAxis_(new QValueAxis)
{
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setBackgroundBrush(style::kPaper);

    QChart* chart = this->chart();

    band_->setName(QStringLiteral("スコアの幅"));
    band_->setColor(style::kBandFill);
    band_->setBorderColor(style::kBandEdge);
    scores_->setName(QStringLiteral("スコア"));
    scores_->setPen(QPen(style::kScore, 2.0));
    average_->setName(QStringLiteral("直近%1ゲームの平均").arg(kAverageSpan));
    average_->setPen(QPen(style::kAverage, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    best_->setName(QStringLiteral("最高スコア"));
    best_->setMarkerShape(QScatterSeries::MarkerShapeStar);
    best_->setMarkerSize(18);
    best_->setColor(style::kBest);
    best_->setBorderColor(style::kBest.darker(140));
    best_->setPointLabelsVisible(true);
    best_->setPointLabelsClipping(false);
    best_->setPointLabelsColor(style::kBest.darker(150));
    best_->setPointLabelsFont(style::uiFont(0.95, true));

    for (QAbstractSeries* s :
         {static_cast<QAbstractSeries*>(band_), static_cast<QAbstractSeries*>(scores_),
          static_cast<QAbstractSeries*>(average_), static_cast<QAbstractSeries*>(best_)})
        chart->addSeries(s);

    for (QValueAxis* axis : {xAxis_, yAxis_}) {
        axis->setLabelsFont(style::uiFont(0.9));
        axis->setLabelsColor(style::kInk);
        axis->setTitleFont(style::uiFont(0.9));
        axis->setTitleBrush(style::kMutedInk);
        axis->setGridLineColor(style::kGrid);
        axis->setMinorGridLineVisible(false);
        axis->setLinePenColor(style::kGrid.darker(120));
        axis->setLabelFormat(QStringLiteral("%d"));
        axis->setTickInterval(1e18);  // no ticks until the first drawing
        axis->setTickAnchor(0);
        axis->setTickType(QValueAxis::TicksDynamic);
    }
    xAxis_->setTitleText(QStringLiteral("ゲーム（古い順）"));
    yAxis_->setTitleText(QStringLiteral("スコア"));
    chart->addAxis(xAxis_, Qt::AlignBottom);
    chart->addAxis(yAxis_, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(xAxis_);
        s->attachAxis(yAxis_);
    }

    // A wider plot affords more points: redraw once the resizing is over,
    // and only when the budget moved by a good step, so that relabelled
    // axes cannot set off a loop.
    resized_.setSingleShot(true);
    resized_.setInterval(0);
    connect(&resized_, &QTimer::timeout, this, [this] {
        const int b = pointBudget();
        if (b > budget_ * 5 / 4 || b < budget_ * 4 / 5)
            redraw();
    });
    connect(chart, &QChart::plotAreaChanged, &resized_, qOverload<>(&QTimer::start));
}

int ScoreChart::pointBudget() const
{
    return std::max(60, int(chart()->plotArea().width() / 3));
}

qsizetype ScoreChart::pointCount() const
{
    return perPoint_ > 1 ? upper_->count() : scores_->count();
}

void ScoreChart::draw(int mode)
{
    mode_ = mode;
    redraw();
}

void ScoreChart::redraw()
{
    budget_ = pointBudget();
    const ChartPoints c = chartPoints(store_, mode_, budget_);
    perPoint_ = c.perPoint;
    const bool grouped = c.perPoint > 1;

    if (grouped) {
        scores_->clear();
        upper_->replace(points(c.x, c.high));
        lower_->replace(points(c.x, c.low));
        band_->setName(QStringLiteral("スコアの幅（%1ゲームずつ）").arg(c.perPoint));
    } else {
        upper_->clear();
        lower_->clear();
        scores_->replace(points(c.x, c.high));
        // Each game as a dot while they are few enough to tell apart.
        scores_->setPointsVisible(c.x.size() <= 80);
        scores_->setMarkerSize(5);
    }
    band_->setVisible(grouped);
    scores_->setVisible(!grouped);
    showInLegend(chart(), band_, grouped);
    showInLegend(chart(), scores_, !grouped);

    average_->replace(points(c.x, c.average));
    const bool any = !c.x.empty();
    best_->clear();
    if (any) {
        best_->append(c.bestX, c.bestScore);
        best_->setPointLabelsFormat(QStringLiteral("最高 %1").arg(qint64(c.bestScore)));
    }

    // Ticks on round numbers, as many as read comfortably.
    const double games = double(store_.count(mode_));
    const double margin = std::max(0.5, games * 0.01);
    setAxis(xAxis_, 1 - margin, std::max(games, 2.0) + margin, roundStep(games / 6));
    double low = 0;
    double high = 1;
    if (any) {
        low = std::min(0.0, *std::min_element(c.low.begin(), c.low.end()));
        high = std::max(1.0, *std::max_element(c.high.begin(), c.high.end()));
    }
    // Room above the best game for its star and label, and a little below
    // the worst when it is under zero.
    const double step = roundStep((high - low) * 1.15 / 5);
    setAxis(yAxis_, low < 0 ? low - (high - low) * 0.04 : 0, std::ceil(high * 1.12 / step) * step,
            step);
}

}  // namespace pokopin::history
