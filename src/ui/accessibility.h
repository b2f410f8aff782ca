// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a screen reader finds in the main window. The board and the side
// panel are pictures with labels laid over them, and most of those labels
// are a white text over its shadow, or one piece of a reading ("TIME", "25",
// ":", ".sec"). The accessibility tree shows one node per reading instead,
// each named from the same view the window is drawn from.

#include <QAccessible>
#include <QList>
#include <QString>

#include <array>

#include "window_view.h"

class QWidget;

namespace pokopin::ui {

// The names of the readings of a window view.
struct AccessibleNames {
    std::array<QString, game::kHoles> holes;  // 「穴 1: 空」 .. 「穴 9: もぐら」
    QString moleCount;                        // "COUNT 3"
    QString hitCount;                         // "HIT 2"
    QString missCount;                        // "MISS 0"
    QString score;                            // "SCORE 12"
    QString clock;                            // "TIME 23 sec"
    QString mode;                             // "GAME LEVEL かんたん"
};
AccessibleNames accessibleNames(const game::WindowView& view);

// Gives the widgets marked below, and the holes, their accessible
// interfaces. Once per process; later calls do nothing. Cheap: the
// interfaces are made only when an assistive tool asks for them.
void installAccessibleInterfaces();

// Shows `box` to assistive tools as a `role` called `name` whose children
// are `children` (widgets inside it with names unique there, nested or
// not), in this order, and nothing else: the shadows and caption pieces
// among its children are left out. Before anything else names the box: an
// active tool takes its interface the moment it hears of it.
void showAccessibleChildren(QWidget* box, QAccessible::Role role, const QString& name,
                            const QList<QWidget*>& children);

// A name change is an event that a screen reader may speak: sent only when
// the name really changes.
void setAccessibleNameOf(QWidget* widget, const QString& name);

// Tells assistive tools again what the widgets are called, for a screen
// reader to read them out (the end of a game reads out the final figures).
void announceNames(const QList<QWidget*>& widgets);

}  // namespace pokopin::ui
