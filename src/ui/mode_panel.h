// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Painting of the difficulty label into the side panel's "GAME LEVEL" box.

#include <QImage>
#include <QRect>

namespace pokopin::ui {

// The box area restored from the clean panel before every paint; larger than
// the label itself so that nothing of an earlier label survives.
inline constexpr QRect kModeLabelClearRect{85, 178, 105, 35};
// Where the label goes: its pictures are drawn at four fifths of their size.
inline constexpr QRect kModeLabelRect{85, 178, 84, 28};

struct ModeLabel {
    QImage mask;
    QImage image;
};

// A mask and image pair shrunk to kModeLabelRect's size times `scale`, both
// through the same scaling so that the outline stays aligned with the letters.
ModeLabel scaledModeLabel(const QImage& mask, const QImage& image, int scale = 1);

// Restores kModeLabelClearRect of `panel` from `pristine`, then cuts the mask
// into the panel (AND) and puts the lettering into the cut-out (XOR).
// `panel` must be Format_RGB32, the size of `pristine`. A panel with device
// pixel ratio 2 takes the twice-size label pictures, at twice the rectangles.
void paintModeLabel(QImage& panel, const QImage& pristine, const QImage& mask, const QImage& image);

}  // namespace pokopin::ui
