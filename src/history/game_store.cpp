// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game_store.h"

#include <algorithm>

namespace pokopin::history {

double hitRate(const PlayedGame& g)
{
    const double whacks = double(g.hit) + double(g.miss);
    return whacks > 0 ? g.hit / whacks : -1.0;
}

void GameStore::clear()
{
    all_.clear();
    for (auto& list : byMode_)
        list.clear();
    for (auto& list : scores_)
        list.clear();
    summaries_ = {};
}

void GameStore::append(std::vector<PlayedGame>&& games)
{
    const std::size_t first = all_.size();
    if (first == 0)
        all_ = std::move(games);  // the first read of a big log: no copy
    else
        all_.insert(all_.end(), games.begin(), games.end());
    for (std::size_t i = first; i < all_.size(); ++i) {
        const PlayedGame& g = all_[i];
        if (g.mode < 0 || g.mode >= kModeCount)
            continue;  // the reader never gives one; kept out all the same
        auto& list = byMode_[std::size_t(g.mode)];
        Summary& s = summaries_[std::size_t(g.mode)];
        if (s.bestGame < 0 || g.score > s.bestScore) {
            s.bestScore = g.score;
            s.bestGame = std::int64_t(list.size());
        }
        s.bestHitRate = std::max(s.bestHitRate, hitRate(g));
        s.scoreSum += g.score;
        ++s.games;
        list.push_back(std::uint32_t(i));
        scores_[std::size_t(g.mode)].push_back(g.score);
    }
}

ChartPoints chartPoints(const GameStore& store, int mode, int maxPoints)
{
    ChartPoints c;
    const std::size_t n = store.count(mode);
    if (n == 0)
        return c;
    const std::size_t limit = std::size_t(std::max(maxPoints, 1));
    const std::size_t per = (n + limit - 1) / limit;
    c.perPoint = int(per);
    const std::size_t points = (n + per - 1) / per;
    c.x.reserve(points);
    c.low.reserve(points);
    c.high.reserve(points);
    c.average.reserve(points);

    const std::vector<std::int64_t>& scores = store.scores(mode);
    long double window = 0;  // the last kAverageSpan scores
    double low = 0;
    double high = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double score = double(scores[i]);
        window += scores[i];
        if (i >= std::size_t(kAverageSpan))
            window -= scores[i - kAverageSpan];
        const std::size_t inPoint = i % per;
        low = inPoint == 0 ? score : std::min(low, score);
        high = inPoint == 0 ? score : std::max(high, score);
        if (inPoint == per - 1 || i == n - 1) {
            const std::size_t start = i - inPoint;
            c.x.push_back(double(start + i) / 2 + 1);
            c.low.push_back(low);
            c.high.push_back(high);
            c.average.push_back(double(window / std::min<std::size_t>(i + 1, kAverageSpan)));
        }
    }
    const Summary& s = store.summary(mode);
    c.bestX = double(s.bestGame + 1);
    c.bestScore = double(s.bestScore);
    return c;
}

}  // namespace pokopin::history
