// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mode_panel.h"

#include <QPainter>

namespace pokopin::ui {

namespace {

QImage smoothlyScaled(const QImage& picture, int scale)
{
    QImage out =
        picture.convertToFormat(QImage::Format_RGB32)
            .scaled(kModeLabelRect.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    out.setDevicePixelRatio(1);  // placed by device pixels
    return out;
}

QRect times(const QRect& r, int scale)
{
    return {r.topLeft() * scale, r.size() * scale};
}

}  // namespace

ModeLabel scaledModeLabel(const QImage& mask, const QImage& image, int scale)
{
    // Smooth scaling keeps the lettering's curves. AND and XOR, though, need
    // a mask of pure black and white and an image that is black wherever the
    // mask lets the panel through; blended greys there would fringe the
    // outline with stray colours. So the mask is snapped to black and white
    // and the image blacked out outside it; inside the outline the image
    // keeps its soft edges.
    ModeLabel out{smoothlyScaled(mask, scale), smoothlyScaled(image, scale)};
    for (int y = 0; y < out.mask.height(); ++y) {
        auto* m = reinterpret_cast<QRgb*>(out.mask.scanLine(y));
        auto* i = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < out.mask.width(); ++x) {
            const bool panelShows = qGray(m[x]) >= 128;
            m[x] = panelShows ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            if (panelShows)
                i[x] = qRgb(0, 0, 0);
        }
    }
    return out;
}

void paintModeLabel(QImage& panel, const QImage& pristine, const QImage& mask, const QImage& image)
{
    const int scale = qRound(panel.devicePixelRatio());
    const ModeLabel label = scaledModeLabel(mask, image, scale);
    // Painted in device pixels, so the raster operations meet the panel's
    // pixels one to one at either scale.
    const qreal ratio = panel.devicePixelRatio();
    panel.setDevicePixelRatio(1);
    {
        QPainter p(&panel);
        const QRect clear = times(kModeLabelClearRect, scale);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(clear, pristine, clear);
        const QPoint at = kModeLabelRect.topLeft() * scale;
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(at, label.mask);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(at, label.image);
    }
    panel.setDevicePixelRatio(ratio);
}

}  // namespace pokopin::ui
