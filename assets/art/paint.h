// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Small drawing helpers shared by every picture of the generator.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdint>

namespace artgen {

// Deterministic generator for scattered details (pebbles, grass blades):
// the pictures must come out byte-identical on every build.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t nextBits();
    double uniform();  // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint64_t state_;
};

QImage opaqueCanvas(int w, int h, const QColor& fill);
QImage clearCanvas(int w, int h);

// Antialiased painter whose user space is the picture's 1x layout, so every
// picture is drawn from the same numbers at any resolution.
void beginScaled(QPainter& p, QImage& img, double scale);

// Japanese lettering; stops the generator if the face is missing, because a
// silent fallback would ship boxes instead of kana.
QFont japaneseFont(double pixelSize);
QFont latinFont(double pixelSize, bool italic = false, bool bold = true);

// Outline of a text run with its horizontal centre and baseline at origin.
QPainterPath textPath(const QString& text, const QFont& font);
// Scales and moves a path so that its bounding box is centred on centre and
// fits inside box (keeping proportions).
QPainterPath fitPath(const QPainterPath& path, const QPointF& centre, const QSizeF& box);

QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(const QColor& c, int alpha);
// A pen with round caps and joins, as every outline of the pictures uses.
QPen roundPen(const QColor& c, double w);

// Layered sticker lettering: soft shadow, dark rim, white rim, gradient
// body and a glossy upper highlight.
struct StickerStyle {
    QColor body;
    QColor rim = QColor(86, 44, 18);
    double rimWidth = 10;
    double whiteWidth = 6;
    double embolden = 1.5;
    QPointF shadowOffset = QPointF(3, 4);
    int shadowAlpha = 80;
    bool gloss = true;
};
void drawSticker(QPainter& p, const QPainterPath& glyphs, const StickerStyle& style);

// Teardrop pointing up, its round end centred on c.
QPainterPath dropPath(const QPointF& c, double radius, double angleDeg);

}  // namespace artgen
