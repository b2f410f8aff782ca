// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "game_table_model.h"

#include <QColor>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace pokopin::history {
namespace {

// Sortable as one number: 2000-05-03 14:05:09 gives 20000503140509.
std::int64_t whenKey(const PlayedGame& g)
{
    return ((((std::int64_t(g.year) * 100 + g.month) * 100 + g.day) * 100 + g.hour) * 100
            + g.minute)
               * 100
           + g.second;
}

QString whenText(const PlayedGame& g)
{
    static const QString weekdays = QStringLiteral("日月火水木金土");
    const QChar weekday = g.weekday >= 1 && g.weekday <= 7 ? weekdays[g.weekday - 1] : QChar('?');
    return QStringLiteral("%1/%2/%3 (%4) %5:%6:%7")
        .arg(g.year, 4, 10, QChar('0'))
        .arg(g.month, 2, 10, QChar('0'))
        .arg(g.day, 2, 10, QChar('0'))
        .arg(weekday)
        .arg(g.hour, 2, 10, QChar('0'))
        .arg(g.minute, 2, 10, QChar('0'))
        .arg(g.second, 2, 10, QChar('0'));
}

// Calls `use` with the column's sort key of a game: an integer, or the hit
// rate. Position in the order played breaks ties.
template <typename Use>
auto withKey(int column, Use use)
{
    switch (column) {
        case GameTableModel::When:
            return use([](const PlayedGame& g) { return whenKey(g); });
        case GameTableModel::PlayTime:
            return use([](const PlayedGame& g) { return std::int64_t(g.playTime); });
        case GameTableModel::Count:
            return use([](const PlayedGame& g) { return std::int64_t(g.count); });
        case GameTableModel::Hit:
            return use([](const PlayedGame& g) { return std::int64_t(g.hit); });
        case GameTableModel::Miss:
            return use([](const PlayedGame& g) { return std::int64_t(g.miss); });
        case GameTableModel::Score:
            return use([](const PlayedGame& g) { return g.score; });
        case GameTableModel::HitRate:
            return use([](const PlayedGame& g) { return hitRate(g); });
        default:
            return use([](const PlayedGame&) { return std::int64_t(0); });
    }
}

}  // namespace

GameTableModel::GameTableModel(const GameStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store)
{}

void GameTableModel::reset(int mode)
{
    beginResetModel();
    mode_ = mode;
    sortRows();
    shown_ = std::min(order_.size(), kPage);
    endResetModel();
}

bool GameTableModel::shownBefore(std::uint32_t a, std::uint32_t b) const
{
    return withKey(column_, [&](auto key) {
        const auto ka = key(store_.game(mode_, a));
        const auto kb = key(store_.game(mode_, b));
        const bool less = ka < kb || (!(kb < ka) && a < b);
        const bool greater = kb < ka || (!(ka < kb) && b < a);
        return sortOrder_ == Qt::AscendingOrder ? less : greater;
    });
}

void GameTableModel::sortRows()
{
    const std::size_t n = store_.count(mode_);
    order_.resize(n);
    if (column_ == Number) {
        // The usual order needs no sorting at all.
        for (std::size_t r = 0; r < n; ++r)
            order_[r] = std::uint32_t(sortOrder_ == Qt::AscendingOrder ? r : n - 1 - r);
        return;
    }
    // Keys gathered next to their positions sort far faster than looking
    // each game up on every comparison; when every key fits in 32 bits, key
    // and position pack into one number, faster still. Sorted ascending by
    // key then position; the descending order is that read backwards.
    const bool down = sortOrder_ == Qt::DescendingOrder;
    auto place = [&](std::size_t r, std::uint32_t pos) { order_[down ? n - 1 - r : r] = pos; };
    withKey(column_, [&](auto key) {
        using Key = decltype(key(store_.game(mode_, 0)));
        if constexpr (std::is_integral_v<Key>) {
            bool narrow = true;
            std::vector<std::uint64_t> packed(n);
            for (std::size_t i = 0; i < n && narrow; ++i) {
                const std::int64_t k = key(store_.game(mode_, i));
                narrow = k >= INT32_MIN && k <= INT32_MAX;
                packed[i] = (std::uint64_t(k - std::int64_t(INT32_MIN)) << 32) | i;
            }
            if (narrow) {
                std::sort(packed.begin(), packed.end());
                for (std::size_t r = 0; r < n; ++r)
                    place(r, std::uint32_t(packed[r]));
                return 0;
            }
        }
        std::vector<std::pair<Key, std::uint32_t>> keyed(n);
        for (std::size_t i = 0; i < n; ++i)
            keyed[i] = {key(store_.game(mode_, i)), std::uint32_t(i)};
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t r = 0; r < n; ++r)
            place(r, keyed[r].second);
        return 0;
    });
}

void GameTableModel::gamesAdded(std::size_t first)
{
    const std::size_t n = store_.count(mode_);
    // A big batch comes only with a fresh read; sorting once is cheaper.
    if (n - first > 1000 || first > order_.size()) {
        reset(mode_);
        return;
    }
    for (std::size_t i = first; i < n; ++i) {
        const auto pos = std::uint32_t(i);
        const auto at = std::upper_bound(
            order_.begin(), order_.end(), pos,
            [this](std::uint32_t a, std::uint32_t b) { return shownBefore(a, b); });
        const auto row = std::size_t(at - order_.begin());
        // A row past those given to the view waits for its page.
        const bool visible = row < shown_ || shown_ == order_.size();
        if (visible)
            beginInsertRows({}, int(row), int(row));
        order_.insert(at, pos);
        if (visible) {
            ++shown_;
            endInsertRows();
        }
    }
}

bool GameTableModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && shown_ < order_.size();
}

void GameTableModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const std::size_t more = std::min(kPage, order_.size() - shown_);
    beginInsertRows({}, int(shown_), int(shown_ + more - 1));
    shown_ += more;
    endInsertRows();
}

int GameTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_);
}

int GameTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GameTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t pos = order_[std::size_t(index.row())];
    const PlayedGame& g = store_.game(mode_, pos);
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case Number:
                    return QString::number(pos + 1);
                case When:
                    return whenText(g);
                case PlayTime:
                    return QString::number(g.playTime);
                case Count:
                    return QString::number(g.count);
                case Hit:
                    return QString::number(g.hit);
                case Miss:
                    return QString::number(g.miss);
                case Score:
                    return QString::number(g.score);
                case HitRate: {
                    const double rate = hitRate(g);
                    return rate < 0 ? QStringLiteral("—")
                                    : QString::number(rate * 100, 'f', 1) + '%';
                }
                default:
                    return {};
            }
        case Qt::TextAlignmentRole:
            return index.column() == When ? int(Qt::AlignCenter)
                                          : int(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (std::int64_t(pos) == store_.summary(mode_).bestGame)
                return QColor(255, 236, 160);
            return {};
        case Qt::ForegroundRole:
            if (index.column() == Score && g.score < 0)
                return QColor(176, 40, 24);
            return {};
        default:
            return {};
    }
}

QVariant GameTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        switch (section) {
            case Number:
                return QStringLiteral("No.");
            case When:
                return QStringLiteral("日時");
            case PlayTime:
                return QStringLiteral("PlayTime");
            case Count:
                return QStringLiteral("COUNT");
            case Hit:
                return QStringLiteral("HIT");
            case Miss:
                return QStringLiteral("MISS");
            case Score:
                return QStringLiteral("SCORE");
            case HitRate:
                return QStringLiteral("命中率");
            default:
                return {};
        }
    }
    if (role == Qt::ToolTipRole) {
        switch (section) {
            case Number:
                return QStringLiteral("このモードで何ゲーム目か");
            case PlayTime:
                return QStringLiteral("プレイした秒数");
            case Count:
                return QStringLiteral("出てきたモグラの数");
            case HitRate:
                return QStringLiteral("HIT ÷ (HIT + MISS)");
            default:
                return {};
        }
    }
    return {};
}

void GameTableModel::sort(int column, Qt::SortOrder order)
{
    // The rows stay sorted as games come in: asking again changes nothing
    // (and a view may ask twice for one click).
    if (column < 0 || column >= ColumnCount || (column == column_ && order == sortOrder_))
        return;
    column_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The view's current and selected rows follow their games.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> games;
    games.reserve(std::size_t(before.size()));
    for (const QModelIndex& i : before)
        games.push_back(order_[std::size_t(i.row())]);
    sortRows();
    if (!before.isEmpty()) {
        std::vector<int> rowOf(order_.size());
        for (std::size_t r = 0; r < order_.size(); ++r)
            rowOf[order_[r]] = int(r);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype k = 0; k < before.size(); ++k) {
            const int row = rowOf[games[std::size_t(k)]];
            after.append(std::size_t(row) < shown_ ? index(row, before[k].column())
                                                   : QModelIndex());
        }
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace pokopin::history
