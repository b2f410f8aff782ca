// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The hole and its mole, in the 100 x 100 layout of a hole picture.
#pragma once

#include <QImage>
#include <QPainter>

namespace artgen {

class Grass;

// The mole's colours, shared by the hole pictures and the program icons.
inline const QColor kOutline(66, 38, 20);
inline const QColor kFurLight(196, 136, 84);
inline const QColor kFur(150, 96, 54);
inline const QColor kSkin(236, 192, 152);

enum class HoleState { Empty, Mole, Whacked, Miss };

// Everything of a hole picture except the grass: soft shadow, dirt mound,
// the hole, whoever stands in it, and the miss mark.
void drawHole(QPainter& p, HoleState state);

// A hole picture standing at board position (x, y) in 1x pixels.
QImage holePicture(HoleState state, const Grass& grass, int scale, int x, int y);

// The program icon: a grinning mole with sunglasses in its hole, on a clear
// background.
QImage iconPicture(int size);

}  // namespace artgen
