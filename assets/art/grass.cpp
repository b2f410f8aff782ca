// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "grass.h"

#include "paint.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

// Stripes per period along both axes; 25 puts them about 4 px apart.
constexpr int kStripes = 25;

void drawBlade(QPainter& p, const QPointF& at, double len, double lean, const QColor& c)
{
    QPainterPath b;
    b.moveTo(at + QPointF(-0.6, 0));
    b.quadTo(at + QPointF(lean * 0.4 - 0.2, -len * 0.6), at + QPointF(lean, -len));
    b.quadTo(at + QPointF(lean * 0.4 + 0.3, -len * 0.5), at + QPointF(0.7, 0));
    b.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(b);
}

}  // namespace

Grass::Grass(int scale)
{
    const int w = kPeriodX * scale;
    const int h = kPeriodY * scale;
    const QColor base(kRed, kGreen, kBlue);
    const QColor furrow(0, 206, 30);
    tile_ = QImage(w, h, QImage::Format_RGB32);

    // Fine diagonal furrows: a thin darker line with soft edges.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(tile_.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double u = kStripes * ((x + 0.5) / w + (y + 0.5) / h);
            const double f = u - std::floor(u);        // 0..1 across one stripe
            const double d = std::abs(f - 0.5) * 2.0;  // 1 at the furrow, 0 between
            const double t = std::clamp((d - 0.62) / 0.3, 0.0, 1.0);
            row[x] = mix(base, furrow, t * t * (3 - 2 * t)).rgb();
        }
    }

    // Sparse blades of grass, each drawn at its neighbouring periods too so
    // that the tile wraps without a seam.
    QPainter p;
    beginScaled(p, tile_, scale);
    Rng rng(0x6E61747572ULL);
    const int blades = 46;
    for (int i = 0; i < blades; ++i) {
        const QPointF at(rng.range(0, kPeriodX), rng.range(0, kPeriodY));
        const bool dark = rng.uniform() < 0.6;
        const QColor c = dark ? QColor(0, 178, 34, 170) : QColor(120, 250, 120, 150);
        const double len = rng.range(2.5, 4.5);
        const int count = 2 + static_cast<int>(rng.uniform() * 2);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const QPointF o(dx * kPeriodX, dy * kPeriodY);
                for (int k = 0; k < count; ++k)
                    drawBlade(p, at + o + QPointF(k * 1.4 - count * 0.7, 0),
                              len * (k == 1 ? 1.0 : 0.75), (k - (count - 1) / 2.0) * 1.6, c);
            }
        }
    }
    p.end();
}

QRgb Grass::at(int x, int y) const
{
    const int w = tile_.width();
    const int h = tile_.height();
    return tile_.pixel(((x % w) + w) % w, ((y % h) + h) % h);
}

void Grass::paint(QImage& img, int dx, int dy) const
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, at(x + dx, y + dy));
}

}  // namespace artgen
