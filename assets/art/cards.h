// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The board, the side panel, the title card and the mode labels.
#pragma once

#include <QImage>

namespace artgen {

class Grass;

QImage boardPicture(const Grass& grass, int scale);
QImage titlePicture(int scale);
QImage panelPicture(int scale);

// Mode k's name in its colour on black, and the mask that cuts a slightly
// bolder silhouette of it out of the panel (black lettering on white).
struct LevelLabel {
    QImage image;
    QImage mask;
};
LevelLabel levelLabel(int mode, int scale);

// Panel boxes, top to bottom: caption and the rows the box covers.
struct PanelBox {
    const char* caption;
    int top;
    int bottom;
};
inline constexpr PanelBox kPanelBoxes[] = {
    {"GAME LEVEL", 155, 206}, {"COUNT", 221, 273}, {"HIT", 287, 339},
    {"MISS", 353, 406},       {"SCORE", 419, 471},
};

}  // namespace artgen
