// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the chart draws, against a plain recount of the same games: grouping
// into at most the points the plot affords, each group's lowest and highest
// score, the running average and the best game.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "game_store.h"

namespace {

using pokopin::history::chartPoints;
using pokopin::history::GameStore;
using pokopin::history::kAverageSpan;
using pokopin::history::PlayedGame;

TEST(ChartPoints, MatchARecountOfTheGames)
{
    struct Case {
        int games;
        int maxPoints;
        int perPoint;
    };
    const Case cases[] = {{0, 60, 1},   {1, 60, 1},   {9, 60, 1},     {60, 60, 1},    {61, 60, 2},
                          {120, 60, 2}, {121, 60, 3}, {1000, 7, 143}, {997, 100, 10}, {5, 1, 5}};
    std::mt19937 rng(11);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.games << " games in " << c.maxPoints << " points");
        // Two modes interleaved: mode 1's games must not leak into mode 3's chart.
        GameStore store;
        std::vector<PlayedGame> games;
        std::vector<double> scores;
        for (int i = 0; i < c.games; ++i) {
            PlayedGame other;
            other.mode = 1;
            other.score = 1'000'000;
            games.push_back(other);
            PlayedGame g;
            g.mode = 3;
            g.score = std::int64_t(rng() % 3000) - 500;
            scores.push_back(double(g.score));
            games.push_back(g);
        }
        store.append(std::move(games));

        const auto p = chartPoints(store, 3, c.maxPoints);
        const std::size_t per = std::size_t(c.perPoint);
        const std::size_t n = scores.size();
        ASSERT_EQ(p.perPoint, c.perPoint);
        ASSERT_EQ(p.x.size(), (n + per - 1) / per);
        ASSERT_LE(p.x.size(), std::size_t(c.maxPoints));
        for (std::size_t k = 0; k < p.x.size(); ++k) {
            const std::size_t first = k * per;
            const std::size_t last = std::min(n, first + per) - 1;
            EXPECT_DOUBLE_EQ(p.x[k], (double(first) + double(last)) / 2 + 1);
            EXPECT_EQ(p.low[k], *std::min_element(&scores[first], &scores[last] + 1));
            EXPECT_EQ(p.high[k], *std::max_element(&scores[first], &scores[last] + 1));
            const std::size_t from =
                last + 1 >= std::size_t(kAverageSpan) ? last + 1 - kAverageSpan : 0;
            double sum = 0;
            for (std::size_t i = from; i <= last; ++i)
                sum += scores[i];
            EXPECT_NEAR(p.average[k], sum / double(last + 1 - from), 1e-9);
        }
        if (n > 0) {
            const auto best =
                std::max_element(scores.begin(), scores.end());  // the first of equals
            EXPECT_EQ(p.bestX, double(best - scores.begin() + 1));
            EXPECT_EQ(p.bestScore, *best);
        }
    }
}

}  // namespace
