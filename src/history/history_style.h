// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The score history's colours and type: the board's grass green and the
// title card's warm yellow, toned down for a window that is read at leisure.

#include <QColor>
#include <QFont>

namespace pokopin::history::style {

inline const QColor kPaper(252, 250, 242);  // window and chart background
inline const QColor kPlot(244, 251, 240);   // behind the curves: a hint of the board
inline const QColor kGrid(214, 228, 208);
inline const QColor kInk(52, 44, 24);           // text
inline const QColor kMutedInk(120, 104, 70);    // captions
inline const QColor kGrass(0, 230, 32);         // the board's green
inline const QColor kScore(0, 150, 36);         // the score line: the board's green, deeper
inline const QColor kBandFill(0, 230, 32, 64);  // the spread of grouped games
inline const QColor kBandEdge(0, 170, 30, 150);
inline const QColor kAverage(226, 120, 0);  // warm orange
inline const QColor kBest(222, 62, 36);
inline const QColor kCard(255, 243, 196);  // the title card's warm yellow
inline const QColor kCardEdge(232, 200, 110);
inline const QColor kTab(30, 150, 50);  // the chosen mode's tab

// The game's proportional Japanese Gothic face at `scale` times the
// desktop's usual size, so that the window follows the player's settings.
QFont uiFont(double scale = 1.0, bool bold = false);

}  // namespace pokopin::history::style
