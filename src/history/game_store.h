// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The games read from the score log, grouped by mode, with the figures the
// window shows kept up to date as games come in. No widgets here.

#include <array>
#include <cstdint>
#include <vector>

#include "modes.h"
#include "score_history.h"

namespace pokopin::history {

using records::PlayedGame;

inline constexpr int kModeCount = static_cast<int>(game::kModes.size());
// Games in the running average.
inline constexpr int kAverageSpan = 10;

double hitRate(const PlayedGame& g);  // HIT / (HIT + MISS); negative when both are 0

struct Summary {
    std::int64_t games = 0;
    long double scoreSum = 0;  // wide enough for any count of 64-bit scores
    std::int64_t bestScore = 0;
    std::int64_t bestGame = -1;  // the first game to reach bestScore, by its place in the mode
    double bestHitRate = -1;     // negative while no game had a hit or a miss

    double averageScore() const { return games > 0 ? double(scoreSum / games) : 0.0; }
};

class GameStore {
public:
    void clear();
    // Adds games in the order they were played.
    void append(std::vector<PlayedGame>&& games);

    // The mode's games in the order played.
    std::size_t count(int mode) const { return byMode_[std::size_t(mode)].size(); }
    const PlayedGame& game(int mode, std::size_t i) const
    {
        return all_[byMode_[std::size_t(mode)][i]];
    }
    const Summary& summary(int mode) const { return summaries_[std::size_t(mode)]; }
    // The mode's scores in the order played, side by side for the chart.
    const std::vector<std::int64_t>& scores(int mode) const { return scores_[std::size_t(mode)]; }
    std::size_t total() const { return all_.size(); }

private:
    std::vector<PlayedGame> all_;
    std::array<std::vector<std::uint32_t>, kModeCount> byMode_;
    std::array<std::vector<std::int64_t>, kModeCount> scores_;
    std::array<Summary, kModeCount> summaries_;
};

// What the chart draws for one mode, at most `maxPoints` points wide. Up to
// that many games each game is a point; beyond it consecutive games share a
// point, which then spans their lowest to highest score (so a record or a
// disaster never disappears into an average), and the running average is the
// one after the last game of the group.
struct ChartPoints {
    int perPoint = 1;         // games per point
    std::vector<double> x;    // game number (1 = the first game of the mode) at the point's middle
    std::vector<double> low;  // lowest score of the point's games
    std::vector<double> high;
    std::vector<double> average;  // average of the last kAverageSpan games
    double bestX = 0;
    double bestScore = 0;
};

ChartPoints chartPoints(const GameStore& store, int mode, int maxPoints);

}  // namespace pokopin::history
