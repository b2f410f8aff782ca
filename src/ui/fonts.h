// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

namespace pokopin::ui {

// The game's proportional Japanese Gothic face, sized in pixels so that the
// text fills its place whatever the screen's DPI.
QFont gothicFont(int pixelSize, bool bold);

}  // namespace pokopin::ui
