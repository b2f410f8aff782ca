// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app_icon.h"

#include "mole.h"
#include "paint.h"

#include <QPainterPath>

#include <cmath>

namespace artgen {

namespace {

const QColor kHole(26, 14, 6);
const QColor kDirt(176, 120, 70);
const QColor kNose(226, 92, 120);
const QColor kGrass(70, 150, 50);
const QColor kGrassDark(40, 96, 30);

// 16 to 24 px: no gradients and no thin lines, which would only blur into
// mud; the sunglasses become one dark band, the grin a white crescent where
// there is room for it. Drawn on a grid of `grid` units, one unit a pixel at
// the sizes the grid is meant for (16 for 16 px, 24 for 22 and 24 px).
QImage smallIcon(int size)
{
    const double grid = size < 20 ? 16 : 24;
    const double u = grid / 16;  // the 16-unit design in this grid's units
    QImage img = clearCanvas(size, size);
    QPainter p;
    beginScaled(p, img, size / grid);
    const double line = 1.0;
    // Fills end on pixel edges, one-pixel lines run through pixel centres.
    auto edge = [](double v) { return std::round(v); };
    auto centre = [](double v) { return std::floor(v) + 0.5; };

    // The dirt ring and the hole.
    p.setPen(Qt::NoPen);
    p.setBrush(kDirt);
    p.drawEllipse(QRectF(0.5 * u, 11.5 * u, 15 * u, 4.5 * u));
    p.setBrush(kHole);
    p.drawEllipse(QRectF(2 * u, 12 * u, 12 * u, 3 * u));

    // The body, cut off at the hole's far edge.
    const double left = centre(3 * u), right = edge(13 * u) - 0.5, top = centre(1 * u);
    QPainterPath body;
    body.moveTo(left, 13.5 * u);
    body.lineTo(left, 7 * u);
    body.cubicTo(left, 3 * u, 5 * u, top, 8 * u, top);
    body.cubicTo(11 * u, top, right, 3 * u, right, 7 * u);
    body.lineTo(right, 13.5 * u);
    body.closeSubpath();
    p.setBrush(kFur);
    p.setPen(roundPen(kOutline, line));
    p.drawPath(body);

    // Muzzle, nose and grin.
    p.setBrush(kSkin);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(4.5 * u, 8 * u, 7 * u, 4.5 * u));
    if (grid > 16) {
        QPainterPath grin;
        grin.moveTo(5.5 * u, 10 * u);
        grin.quadTo(8 * u, 11 * u, 10.5 * u, 10 * u);
        grin.quadTo(10 * u, 12.5 * u, 8 * u, 12.5 * u);
        grin.quadTo(6 * u, 12.5 * u, 5.5 * u, 10 * u);
        p.setBrush(Qt::white);
        p.setPen(roundPen(QColor(90, 20, 24), line * 0.75));
        p.drawPath(grin);
    } else {
        // An open mouth two pixels high: a row of teeth over a dark row.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 20, 24));
        p.drawRect(QRectF(6, 10, 4, 2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 10, 4, 1));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kNose);
    p.drawEllipse(QRectF(6.8 * u, 8 * u, 2.4 * u, 1.8 * u));

    // Sunglasses: one band with a notch over the nose.
    QPainterPath band;
    band.addRoundedRect(QRectF(left - 0.5, edge(4.5 * u), right - left + 1, edge(3 * u)), 1.2 * u,
                        1.2 * u);
    QPainterPath notch;
    notch.addEllipse(QRectF(7.2 * u, 6.6 * u, 1.6 * u, 1.6 * u));
    p.setBrush(QColor(12, 12, 20));
    p.drawPath(band.subtracted(notch));
    // One glint per lens, a whole pixel, where a pixel is to be had.
    if (grid > 16) {
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawRect(QRectF(4.5 * u, 5.2 * u, 1, 1));
        p.drawRect(QRectF(9.8 * u, 5.2 * u, 1, 1));
    }
    p.end();
    return img;
}

// What 64 px and more have room for, laid over the 32-unit mole.
void drawLargeDetail(QPainter& p, int size)
{
    const double hair = 32.0 / size;  // one pixel in the 32-unit space
    const double fine = qMax(0.28, 1.5 * hair);

    // Grass tufts on either side of the dirt ring.
    Rng rng(0x5EED1C0);
    for (double side : {-1.0, 1.0}) {
        for (int blade = 0; blade < 5; ++blade) {
            const double x = 16 + side * (13.2 + rng.range(0, 2.6));
            const double lean = side * rng.range(0.4, 1.6);
            const double height = rng.range(3.2, 5.6);
            QPainterPath b;
            b.moveTo(x - 0.55, 28.8);
            b.quadTo(x + lean * 0.4, 28.8 - height * 0.6, x + lean, 28.8 - height);
            b.quadTo(x + lean * 0.2 + 0.2, 28.8 - height * 0.5, x + 0.55, 28.8);
            b.closeSubpath();
            p.setBrush(blade % 2 ? kGrass : kGrassDark);
            p.setPen(roundPen(kGrassDark, fine * 0.6));
            p.drawPath(b);
        }
    }

    // Fur strokes on the crown and a soft light on the forehead.
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(withAlpha(kOutline, 150), fine));
    p.drawArc(QRectF(11.5, 3.0, 4, 3), 40 * 16, 100 * 16);
    p.drawArc(QRectF(15.5, 2.6, 4, 3), 40 * 16, 100 * 16);
    p.drawArc(QRectF(13.6, 4.4, 4, 3), 40 * 16, 100 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kFurLight, 110));
    p.drawEllipse(QRectF(9.0, 3.6, 5.0, 2.8));

    // Whiskers from the muzzle.
    p.setPen(roundPen(QColor(60, 36, 20, 200), fine));
    for (double side : {-1.0, 1.0}) {
        for (double dy : {-0.9, 0.3, 1.5}) {
            const QPointF from(16 + side * 6.2, 18.2 + dy * 0.6);
            p.drawLine(from, QPointF(16 + side * 10.6, 17.4 + dy * 1.3));
        }
    }

    // Two paws gripping the front lip, with claws.
    for (double side : {-1.0, 1.0}) {
        const QPointF c(16 + side * 8.6, 27.0);
        p.setBrush(kSkin);
        p.setPen(roundPen(kOutline, fine * 1.4));
        p.drawEllipse(c, 2.6, 1.5);
        p.setPen(roundPen(QColor(250, 246, 236), fine * 1.2));
        for (double dx : {-1.2, 0.0, 1.2})
            p.drawLine(c + QPointF(dx, 0.6), c + QPointF(dx * 1.1, 1.6));
    }
}

}  // namespace

QImage appIcon(int size)
{
    if (size < 32)
        return smallIcon(size);
    QImage img = iconPicture(size);
    if (size >= 64) {
        QPainter p;
        beginScaled(p, img, size / 32.0);
        drawLargeDetail(p, size);
        p.end();
    }
    return img;
}

}  // namespace artgen
