// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The edge of the game's borderless windows: a one-pixel dark grey line just
// inside the window's rectangle, so that a window with a fixed layout and no
// frame of the window manager's still stands out from a light desktop.

#include <QColor>
#include <QPainter>
#include <QRect>

namespace pokopin::app {

inline constexpr QColor kThinFrameColour{96, 96, 96};

inline void drawThinFrame(QPainter& painter, const QRect& r)
{
    // Four filled strips rather than a stroked rectangle: a stroke centred on
    // the edge would lose half its width outside the window at finer scales.
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), kThinFrameColour);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), kThinFrameColour);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), kThinFrameColour);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), kThinFrameColour);
}

}  // namespace pokopin::app
