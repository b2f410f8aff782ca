// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "game_store.h"

namespace pokopin::history {

// One mode's games as table rows. The rows are an order over the store's
// games, kept sorted as games come in; nothing is copied per row. The view
// is given the rows a page at a time as it scrolls (fetchMore), so that a
// mode of a million games costs the view no more than one of a thousand.
class GameTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Number, When, PlayTime, Count, Hit, Miss, Score, HitRate, ColumnCount };

    explicit GameTableModel(const GameStore& store, QObject* parent = nullptr);

    // Shows `mode`'s games, all of them anew (after a switch or a fresh read).
    void reset(int mode);
    // The mode's games from `first` on have just been added to the store.
    void gamesAdded(std::size_t first);

    // All the mode's games, whether the view has their rows yet or not.
    std::size_t gameCount() const { return order_.size(); }

    // The mode's game shown in `row`, by its place in the order played.
    std::size_t gameAt(int row) const { return order_[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Rows given to the view at a time.
    static constexpr std::size_t kPage = 2000;

private:
    bool shownBefore(std::uint32_t a, std::uint32_t b) const;
    void sortRows();

    const GameStore& store_;
    int mode_ = 0;
    int column_ = Number;
    Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
    std::vector<std::uint32_t> order_;  // every game of the mode, in row order
    std::size_t shown_ = 0;             // rows the view has been given
};

}  // namespace pokopin::history
