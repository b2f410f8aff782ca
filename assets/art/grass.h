// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The lawn shared by the board and the hole pictures.
#pragma once

#include <QImage>

#include "board_layout.h"

namespace artgen {

// The grass repeats every hole pitch, so a hole picture cut from it at any of
// the nine hole positions matches the board under it pixel for pixel.
class Grass {
public:
    static constexpr int kPeriodX = pokopin::art::kHolePitchX;
    static constexpr int kPeriodY = pokopin::art::kHolePitchY;
    static constexpr int kRed = 0, kGreen = 230, kBlue = 32;

    explicit Grass(int scale);

    // Board pixel at this scale.
    QRgb at(int x, int y) const;
    // Fills img so that its pixel (x, y) shows board pixel (x + dx, y + dy).
    void paint(QImage& img, int dx, int dy) const;

private:
    QImage tile_;
};

}  // namespace artgen
