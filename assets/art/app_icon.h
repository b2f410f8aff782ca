// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The desktop icon of the game, drawn for each of the theme's sizes.
#pragma once

#include <QImage>

#include "pokopin_art.h"

namespace artgen {

using pokopin::art::kAppIconSizes;

// The grinning mole in its hole, square and on a clear background. Each size
// is drawn for itself: at 16-24 px a flat, bold version without gradients or
// hairlines; from 32 px the mole of the version dialog; from 64 px the
// same with whiskers, paws on the rim, fur strokes and grass around the hole.
QImage appIcon(int size);

}  // namespace artgen
