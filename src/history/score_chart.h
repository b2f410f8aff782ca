// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QChartView>
#include <QTimer>

#include "game_store.h"

class QAreaSeries;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace pokopin::history {

// One mode's scores in the order played, the running average of the last
// games and the best game. However long the log, no more points are drawn
// than the plot is wide in thirds of a pixel: see chartPoints().
class ScoreChart : public QChartView {
    Q_OBJECT
    Q_PROPERTY(qsizetype pointCount READ pointCount)
    Q_PROPERTY(int gamesPerPoint READ gamesPerPoint)
public:
    ScoreChart(const GameStore& store, QWidget* parent = nullptr);

    // Draws `mode`'s games as the store has them now.
    void draw(int mode);

    // Points drawn and games per point, as last drawn.
    qsizetype pointCount() const;
    int gamesPerPoint() const { return perPoint_; }

private:
    int pointBudget() const;
    void redraw();

    const GameStore& store_;
    int mode_ = 0;
    int budget_ = 0;
    int perPoint_ = 1;
    QTimer resized_;
    QLineSeries* scores_;
    QLineSeries* upper_;
    QLineSeries* lower_;
    QAreaSeries* band_;
    QLineSeries* average_;
    QScatterSeries* best_;
    QValueAxis* xAxis_;
    QValueAxis* yAxis_;
};

}  // namespace pokopin::history
