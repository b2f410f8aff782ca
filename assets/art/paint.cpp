// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "paint.h"

#include <QFontInfo>
#include <QLinearGradient>
#include <QTransform>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace artgen {

std::uint64_t Rng::nextBits()
{
    // splitmix64
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double Rng::uniform()
{
    return static_cast<double>(nextBits() >> 11) * (1.0 / 9007199254740992.0);
}

QImage opaqueCanvas(int w, int h, const QColor& fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

QImage clearCanvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void beginScaled(QPainter& p, QImage& img, double scale)
{
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.scale(scale, scale);
}

static QFont checkedFont(const QString& family, double pixelSize, bool bold, bool italic)
{
    QFont f;
    f.setFamilies({family});
    f.setPixelSize(std::max(1, static_cast<int>(pixelSize + 0.5)));
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    const QFontInfo info(f);
    if (info.family() != family) {
        std::fprintf(stderr, "artgen: font \"%s\" is not installed (got \"%s\")\n",
                     qPrintable(family), qPrintable(info.family()));
        std::exit(2);
    }
    return f;
}

QFont japaneseFont(double pixelSize)
{
    // The face has no bold cut; strokes thicken the outlines instead.
    return checkedFont(QStringLiteral("IPAPGothic"), pixelSize, false, false);
}

QFont latinFont(double pixelSize, bool italic, bool bold)
{
    return checkedFont(QStringLiteral("DejaVu Sans"), pixelSize, bold, italic);
}

QPainterPath textPath(const QString& text, const QFont& font)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF r = path.boundingRect();
    path.translate(-r.center().x(), 0);
    return path;
}

QPainterPath fitPath(const QPainterPath& path, const QPointF& centre, const QSizeF& box)
{
    const QRectF r = path.boundingRect();
    const double k = std::min(box.width() / r.width(), box.height() / r.height());
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.scale(k, k);
    t.translate(-r.center().x(), -r.center().y());
    return t.map(path);
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(const QColor& c, int alpha)
{
    QColor r = c;
    r.setAlpha(alpha);
    return r;
}

QPen roundPen(const QColor& c, double w)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawSticker(QPainter& p, const QPainterPath& glyphs, const StickerStyle& s)
{
    p.save();
    const double outer = s.rimWidth + 2 * s.embolden;
    if (s.shadowAlpha > 0) {
        // Two passes give the shadow a soft edge without a blur filter.
        QPainterPath shadow = glyphs.translated(s.shadowOffset);
        p.setBrush(withAlpha(s.rim, s.shadowAlpha / 2));
        p.setPen(roundPen(withAlpha(s.rim, s.shadowAlpha / 2), outer + 3));
        p.drawPath(shadow);
        p.setPen(roundPen(withAlpha(s.rim, s.shadowAlpha), outer));
        p.drawPath(shadow);
    }
    p.setBrush(s.rim);
    p.setPen(roundPen(s.rim, outer));
    p.drawPath(glyphs);
    p.setBrush(Qt::white);
    p.setPen(roundPen(Qt::white, s.whiteWidth + 2 * s.embolden));
    p.drawPath(glyphs);

    const QRectF r = glyphs.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, mix(s.body, Qt::white, 0.45));
    g.setColorAt(0.45, s.body);
    g.setColorAt(1.0, mix(s.body, Qt::black, 0.25));
    p.setBrush(g);
    p.setPen(QPen(QBrush(g), 2 * s.embolden, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(glyphs);

    if (s.gloss) {
        // A soft band of light over the upper part of each glyph.
        QPainterPath body = glyphs;
        QPainterPathStroker st;
        st.setWidth(2 * s.embolden);
        st.setJoinStyle(Qt::RoundJoin);
        body = body.united(st.createStroke(glyphs));
        QPainterPath upper;
        upper.addRect(QRectF(r.left() - 10, r.top() - 10, r.width() + 20, r.height() * 0.42 + 10));
        p.setClipPath(body.intersected(upper));
        QLinearGradient gl(r.topLeft(), QPointF(r.left(), r.top() + r.height() * 0.45));
        gl.setColorAt(0, QColor(255, 255, 255, 120));
        gl.setColorAt(1, QColor(255, 255, 255, 30));
        p.fillRect(r.adjusted(-10, -10, 10, 10), gl);
        p.setClipping(false);
    }
    p.restore();
}

QPainterPath dropPath(const QPointF& c, double radius, double angleDeg)
{
    QPainterPath d;
    d.moveTo(0, -2.4 * radius);
    d.cubicTo(radius * 0.5, -1.3 * radius, radius, -0.6 * radius, radius, 0);
    d.arcTo(QRectF(-radius, -radius, 2 * radius, 2 * radius), 0, -180);
    d.cubicTo(-radius, -0.6 * radius, -radius * 0.5, -1.3 * radius, 0, -2.4 * radius);
    d.closeSubpath();
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(angleDeg);
    return t.map(d);
}

}  // namespace artgen
