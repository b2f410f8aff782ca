// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mole.h"

#include "board_layout.h"
#include "grass.h"
#include "paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

namespace artgen {

namespace {

// Hole layout in the 100 x 100 picture.
constexpr double kHoleX = 50, kHoleY = 70;      // centre of the opening
constexpr double kHoleRx = 37, kHoleRy = 14;    // opening
constexpr double kMoundRx = 46, kMoundRy = 21;  // dirt ring around it
constexpr double kMoundY = 72;

const QColor kFurDark(98, 58, 30);
const QColor kSkinLight(255, 232, 204);

QRectF ellipseAt(double cx, double cy, double rx, double ry)
{
    return QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry);
}

QPainterPath ellipsePath(double cx, double cy, double rx, double ry)
{
    QPainterPath e;
    e.addEllipse(ellipseAt(cx, cy, rx, ry));
    return e;
}

QPainterPath moundPath()
{
    // A ring of points with a little wobble, joined by curves through the
    // midpoints so the edge stays smooth.
    constexpr int n = 60;
    std::array<QPointF, n> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * std::numbers::pi * i / n;
        const double w = 1 + 0.020 * std::sin(3 * a + 0.5) + 0.018 * std::sin(5 * a + 2.0)
                         + 0.012 * std::sin(9 * a + 1.0) + 0.006 * std::sin(14 * a + 4.0);
        pts[i] = QPointF(kHoleX + kMoundRx * w * std::cos(a), kMoundY + kMoundRy * w * std::sin(a));
    }
    QPainterPath path;
    path.moveTo((pts[n - 1] + pts[0]) / 2);
    for (int i = 0; i < n; ++i)
        path.quadTo(pts[i], (pts[i] + pts[(i + 1) % n]) / 2);
    path.closeSubpath();
    return path;
}

void drawMound(QPainter& p)
{
    // Soft contact shadow on the grass.
    // It stays clear of the picture's edge, where the grass must match the board.
    const QPointF shadowAt(kHoleX, kMoundY + 2);
    const double shadowRx = kMoundRx + 1.5, shadowRy = kMoundRy + 2.5;
    QRadialGradient sh(shadowAt, shadowRx);
    sh.setColorAt(0.0, QColor(0, 40, 0, 90));
    sh.setColorAt(0.75, QColor(0, 40, 0, 45));
    sh.setColorAt(1.0, QColor(0, 40, 0, 0));
    p.save();
    p.translate(shadowAt);
    p.scale(1.0, shadowRy / shadowRx);
    p.translate(-shadowAt);
    p.setPen(Qt::NoPen);
    p.setBrush(sh);
    p.drawEllipse(shadowAt, shadowRx, shadowRx);
    p.restore();

    // The heap of dug-up earth, lit from the upper left, with a lumpy edge.
    const QPainterPath mound = moundPath();
    QRadialGradient dirt(QPointF(kHoleX - 12, kMoundY - 14), kMoundRx * 1.3);
    dirt.setColorAt(0.0, QColor(212, 156, 100));
    dirt.setColorAt(0.55, QColor(170, 112, 62));
    dirt.setColorAt(1.0, QColor(110, 68, 34));
    p.setBrush(dirt);
    p.setPen(roundPen(QColor(84, 50, 24, 220), 1.1));
    p.drawPath(mound);

    p.save();
    p.setClipPath(mound);
    // The outer slope turns away from the light.
    QRadialGradient slope(QPointF(kHoleX, kHoleY), kMoundRx);
    slope.setColorAt(0.0, QColor(60, 30, 10, 0));
    slope.setColorAt(0.8, QColor(60, 30, 10, 0));
    slope.setColorAt(1.0, QColor(60, 30, 10, 70));
    p.translate(kHoleX, kHoleY);
    p.scale(1.0, kMoundRy / kMoundRx * 1.15);
    p.translate(-kHoleX, -kHoleY);
    p.setPen(Qt::NoPen);
    p.setBrush(slope);
    p.drawEllipse(QPointF(kHoleX, kHoleY), kMoundRx * 1.1, kMoundRx * 1.1);
    p.restore();

    // Crumbs and pebbles.
    p.save();
    p.setClipPath(mound);
    Rng rng(0x646972ULL);
    for (int i = 0; i < 40; ++i) {
        const double a = rng.range(0, 2 * std::numbers::pi);
        const double r = rng.range(0.55, 0.97);
        const QPointF c(kHoleX + std::cos(a) * kMoundRx * r, kMoundY + std::sin(a) * kMoundRy * r);
        const double s = rng.range(0.7, 1.9);
        const bool light = rng.uniform() < 0.5;
        p.setPen(Qt::NoPen);
        if (light) {
            p.setBrush(QColor(90, 54, 26, 120));
            p.drawEllipse(c + QPointF(0.3, 0.5), s * 1.3, s);
            p.setBrush(QColor(234, 190, 134, 220));
        } else {
            p.setBrush(QColor(96, 58, 28, 170));
        }
        p.drawEllipse(c, s * 1.3, s);
    }
    p.restore();
}

// Grass growing in front of the heap's lower edge ties it to the lawn.
void drawTufts(QPainter& p)
{
    struct Tuft {
        double x, y, size;
    };
    const Tuft tufts[] = {
        {9, 80, 1.0}, {91, 82, 0.9}, {48, 95.5, 0.8}, {22, 92, 0.7}, {77, 93, 0.75}};
    for (const Tuft& t : tufts) {
        const double leans[3] = {-2.2, 0.3, 2.4};
        const double lens[3] = {4.2, 6.0, 4.6};
        for (int i = 0; i < 3; ++i) {
            const QPointF base(t.x + (i - 1) * 1.6 * t.size, t.y);
            const QPointF tip = base + QPointF(leans[i] * t.size, -lens[i] * t.size);
            QPainterPath b;
            b.moveTo(base + QPointF(-1.1 * t.size, 0));
            b.quadTo(base + QPointF(leans[i] * 0.3 * t.size, -lens[i] * 0.6 * t.size), tip);
            b.quadTo(base + QPointF(leans[i] * 0.4 * t.size + 0.6, -lens[i] * 0.5 * t.size),
                     base + QPointF(1.1 * t.size, 0));
            b.closeSubpath();
            QLinearGradient g(base, tip);
            g.setColorAt(0, QColor(0, 170, 30));
            g.setColorAt(1, QColor(110, 250, 100));
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawPath(b);
        }
    }
}

void drawOpening(QPainter& p)
{
    const QPainterPath hole = ellipsePath(kHoleX, kHoleY, kHoleRx, kHoleRy);
    // The far wall catches some light; the depth goes dark.
    QLinearGradient g(QPointF(0, kHoleY - kHoleRy), QPointF(0, kHoleY + kHoleRy));
    g.setColorAt(0.0, QColor(92, 56, 30));
    g.setColorAt(0.35, QColor(40, 22, 12));
    g.setColorAt(1.0, QColor(14, 7, 4));
    p.setBrush(g);
    p.setPen(roundPen(QColor(60, 34, 16), 1.2));
    p.drawPath(hole);
    // Lit front lip.
    p.save();
    p.setClipPath(ellipsePath(kHoleX, kHoleY + 2.0, kHoleRx + 1.5, kHoleRy + 2.5).subtracted(hole));
    p.setPen(Qt::NoPen);
    QLinearGradient lip(QPointF(0, kHoleY), QPointF(0, kHoleY + kHoleRy + 4));
    lip.setColorAt(0.0, QColor(240, 196, 140, 0));
    lip.setColorAt(1.0, QColor(240, 196, 140, 200));
    p.setBrush(lip);
    p.drawRect(QRectF(0, kHoleY, 100, 30));
    p.restore();
}

// The region where a mole standing in the hole is seen: above the middle
// of the opening it covers the back rim, below that only the opening.
QPainterPath moleClip()
{
    QPainterPath above;
    above.addRect(QRectF(-50, -50, 200, kHoleY + 50));
    return above.united(ellipsePath(kHoleX, kHoleY, kHoleRx, kHoleRy));
}

QPainterPath moleBody()
{
    QPainterPath b;
    b.moveTo(21, 92);
    b.lineTo(21, 44);
    b.cubicTo(21, 22, 34, 11, 50, 11);
    b.cubicTo(66, 11, 79, 22, 79, 44);
    b.lineTo(79, 92);
    b.closeSubpath();
    return b;
}

void drawBody(QPainter& p)
{
    const QPainterPath body = moleBody();
    QRadialGradient fur(QPointF(40, 26), 58);
    fur.setColorAt(0.0, kFurLight);
    fur.setColorAt(0.45, kFur);
    fur.setColorAt(1.0, kFurDark);
    p.setBrush(fur);
    p.setPen(roundPen(kOutline, 1.6));
    p.drawPath(body);

    // Rim light on the right flank.
    p.save();
    p.setClipPath(body);
    p.setPen(roundPen(QColor(255, 220, 170, 70), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath rim;
    rim.moveTo(66, 16);
    rim.cubicTo(74, 22, 77, 32, 77, 46);
    p.drawPath(rim);
    // Pale belly.
    QRadialGradient belly(QPointF(50, 72), 20);
    belly.setColorAt(0, QColor(226, 178, 128, 200));
    belly.setColorAt(1, QColor(226, 178, 128, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(belly);
    p.drawEllipse(QPointF(50, 73), 20, 14);
    p.restore();

    // Tuft of hair on top.
    p.setPen(roundPen(kOutline, 1.4));
    p.setBrush(Qt::NoBrush);
    QPainterPath hair;
    hair.moveTo(47, 11.5);
    hair.quadTo(45, 8, 43, 7);
    hair.moveTo(50, 11);
    hair.quadTo(50.5, 7, 49.5, 4.5);
    hair.moveTo(53, 11.5);
    hair.quadTo(55, 8.5, 57.5, 7.5);
    p.drawPath(hair);
}

void drawMuzzle(QPainter& p, bool whiskers)
{
    QRadialGradient m(QPointF(48, 46), 18);
    m.setColorAt(0, kSkinLight);
    m.setColorAt(1, kSkin);
    p.setBrush(m);
    p.setPen(roundPen(QColor(150, 98, 62, 160), 0.9));
    p.drawEllipse(QPointF(50, 51), 16, 11.5);

    if (whiskers) {
        p.setPen(roundPen(QColor(80, 48, 26, 190), 0.8));
        p.drawLine(QPointF(36, 49), QPointF(23, 45.5));
        p.drawLine(QPointF(36, 51.5), QPointF(22.5, 52));
        p.drawLine(QPointF(64, 49), QPointF(77, 45.5));
        p.drawLine(QPointF(64, 51.5), QPointF(77.5, 52));
    }
}

void drawNose(QPainter& p)
{
    QRadialGradient n(QPointF(48.5, 42.5), 7);
    n.setColorAt(0, QColor(255, 160, 180));
    n.setColorAt(1, QColor(214, 78, 108));
    p.setBrush(n);
    p.setPen(roundPen(QColor(126, 40, 60), 0.9));
    p.drawEllipse(QPointF(50, 44), 6.5, 4.7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QPointF(47.8, 42.4), 2.0, 1.2);
    // Line from nose to mouth.
    p.setPen(roundPen(QColor(120, 60, 40), 0.9));
    p.drawLine(QPointF(50, 48.7), QPointF(50, 51.5));
}

void drawCheeks(QPainter& p)
{
    p.setPen(Qt::NoPen);
    for (double x : {30.5, 69.5}) {
        QRadialGradient c(QPointF(x, 46), 6);
        c.setColorAt(0, QColor(255, 110, 130, 150));
        c.setColorAt(1, QColor(255, 110, 130, 0));
        p.setBrush(c);
        p.drawEllipse(QPointF(x, 46), 6.5, 4);
    }
}

void drawOpenEye(QPainter& p, double x, double y)
{
    p.setPen(Qt::NoPen);
    QRadialGradient e(QPointF(x - 1, y - 1.5), 5.5);
    e.setColorAt(0, QColor(70, 46, 36));
    e.setColorAt(1, QColor(18, 10, 8));
    p.setBrush(e);
    p.drawEllipse(QPointF(x, y), 4.0, 5.2);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(x - 1.3, y - 2.0), 1.7, 1.7);
    p.drawEllipse(QPointF(x + 1.2, y + 1.7), 0.65, 0.65);
}

// The open mouth of either face: dark red inside, a darker rim.
void drawMouthShape(QPainter& p, const QPainterPath& mouth)
{
    p.setBrush(QColor(150, 34, 44));
    p.setPen(roundPen(QColor(96, 24, 28), 1.0));
    p.drawPath(mouth);
}

void drawSmile(QPainter& p)
{
    QPainterPath mouth;
    mouth.moveTo(42.5, 52.5);
    mouth.quadTo(50, 55, 57.5, 52.5);
    mouth.quadTo(56.5, 61.5, 50, 61.5);
    mouth.quadTo(43.5, 61.5, 42.5, 52.5);
    mouth.closeSubpath();
    drawMouthShape(p, mouth);
    p.save();
    p.setClipPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 118, 128));
    p.drawEllipse(QPointF(50, 61), 5, 3.3);
    p.restore();
}

void drawPaws(QPainter& p, double dy, bool clenched)
{
    for (double x : {30.0, 70.0}) {
        const QPointF c(x, 83 + dy);
        QRadialGradient g(c + QPointF(-2, -3), 10);
        g.setColorAt(0, kSkinLight);
        g.setColorAt(1, kSkin);
        p.setBrush(g);
        p.setPen(roundPen(QColor(140, 88, 54), 1.1));
        p.drawEllipse(c, 9.5, 6);
        // Toes and claws.
        p.setPen(roundPen(QColor(160, 104, 70), 0.8));
        p.drawLine(c + QPointF(-3.2, -1), c + QPointF(-3.6, 3.5));
        p.drawLine(c + QPointF(0, -1.2), c + QPointF(0, 4));
        p.drawLine(c + QPointF(3.2, -1), c + QPointF(3.6, 3.5));
        if (!clenched) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 250, 240));
            for (double tx : {-5.0, -1.7, 1.7, 5.0})
                p.drawEllipse(c + QPointF(tx, 4.8), 1.2, 1.6);
        }
    }
}

void drawMole(QPainter& p)
{
    p.save();
    p.setClipPath(moleClip());
    drawBody(p);
    drawMuzzle(p, true);
    drawCheeks(p);
    drawOpenEye(p, 38, 34);
    drawOpenEye(p, 62, 34);
    drawSmile(p);
    drawNose(p);
    // The mole fades into the dark of the hole.
    p.setClipPath(ellipsePath(kHoleX, kHoleY, kHoleRx, kHoleRy), Qt::IntersectClip);
    QLinearGradient dark(QPointF(0, kHoleY - 6), QPointF(0, kHoleY + kHoleRy));
    dark.setColorAt(0, QColor(10, 5, 2, 0));
    dark.setColorAt(1, QColor(10, 5, 2, 210));
    p.fillRect(QRectF(0, kHoleY - 6, 100, 30), dark);
    p.restore();
    drawPaws(p, 0, false);
}

void drawSqueezedEye(QPainter& p, double x, double y, bool left)
{
    const double s = left ? 1 : -1;
    QPainterPath e;
    e.moveTo(x - 3.8 * s, y - 4);
    e.lineTo(x + 3.6 * s, y);
    e.lineTo(x - 3.8 * s, y + 4);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(QColor(24, 14, 10), 2.2));
    p.drawPath(e);
}

void drawTears(QPainter& p, double x, double y, bool left)
{
    const double s = left ? -1 : 1;
    QPainterPath t;
    t.moveTo(x, y);
    t.cubicTo(x + 5 * s, y + 2, x + 6 * s, y + 10, x + 5 * s, y + 20);
    t.quadTo(x + 4.5 * s, y + 24.5, x + 1.5 * s, y + 24);
    t.quadTo(x - 1 * s, y + 23, x + 0.8 * s, y + 18);
    t.cubicTo(x + 2.0 * s, y + 11, x + 1 * s, y + 6, x - 1 * s, y + 2);
    t.closeSubpath();
    QLinearGradient g(QPointF(x, y), QPointF(x, y + 24));
    g.setColorAt(0, QColor(170, 225, 255, 230));
    g.setColorAt(1, QColor(80, 170, 255, 240));
    p.setBrush(g);
    p.setPen(roundPen(QColor(40, 110, 200), 0.9));
    p.drawPath(t);
    p.setPen(roundPen(QColor(255, 255, 255, 210), 1.0));
    p.drawLine(QPointF(x + 3.2 * s, y + 8), QPointF(x + 3.4 * s, y + 14));
}

void drawSweat(QPainter& p, const QPointF& c, double r, double angle)
{
    const QPainterPath d = dropPath(c, r, angle);
    QLinearGradient g(c + QPointF(0, -2 * r), c + QPointF(0, r));
    g.setColorAt(0, QColor(200, 240, 255));
    g.setColorAt(1, QColor(100, 190, 255));
    p.setBrush(g);
    p.setPen(roundPen(QColor(40, 120, 210), 1.0));
    p.drawPath(d);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.2), r * 0.28, r * 0.4);
}

void drawStar(QPainter& p, const QPointF& c, double r, double angle)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = (angle - 90 + i * 36) * std::numbers::pi / 180;
        const double rr = i % 2 ? r * 0.48 : r;
        const QPointF pt = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
    g.setColorAt(0, QColor(255, 252, 190));
    g.setColorAt(1, QColor(255, 200, 20));
    p.setBrush(g);
    p.setPen(roundPen(QColor(190, 110, 0), 0.9));
    p.drawPath(star);
}

void drawBandage(QPainter& p)
{
    const QPointF c(59, 19);
    for (double a : {35.0, -55.0}) {
        p.save();
        p.translate(c);
        p.rotate(a);
        const QRectF strip(-13, -4, 26, 8);
        QLinearGradient g(strip.topLeft(), strip.bottomLeft());
        g.setColorAt(0, QColor(255, 246, 232));
        g.setColorAt(1, QColor(232, 208, 180));
        p.setBrush(g);
        p.setPen(roundPen(QColor(160, 120, 90), 0.9));
        p.drawRoundedRect(strip, 3.2, 3.2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(190, 150, 120, 150));
        for (double dx : {-10.0, -7.5, 7.5, 10.0})
            for (double dy : {-1.5, 1.5})
                p.drawEllipse(QPointF(dx, dy), 0.5, 0.5);
        p.restore();
    }
    // The gauze pad where the strips cross.
    p.setBrush(QColor(250, 226, 220));
    p.setPen(roundPen(QColor(200, 150, 140), 0.7));
    p.drawRoundedRect(QRectF(c.x() - 4.2, c.y() - 4.2, 8.4, 8.4), 1.6, 1.6);
}

void drawWhacked(QPainter& p)
{
    p.save();
    p.setClipPath(moleClip());
    // Knocked a little way down into the hole.
    p.translate(0, 6);
    drawBody(p);
    drawMuzzle(p, true);
    drawCheeks(p);
    // Worried brows.
    p.setPen(roundPen(kOutline, 1.5));
    p.drawLine(QPointF(31, 28.5), QPointF(41, 25.5));
    p.drawLine(QPointF(69, 28.5), QPointF(59, 25.5));
    drawSqueezedEye(p, 38, 34, true);
    drawSqueezedEye(p, 62, 34, false);
    // Wailing mouth, corners down.
    QPainterPath mouth;
    mouth.moveTo(43, 59);
    mouth.quadTo(44, 52.5, 50, 52.5);
    mouth.quadTo(56, 52.5, 57, 59);
    mouth.quadTo(50, 56.5, 43, 59);
    mouth.closeSubpath();
    drawMouthShape(p, mouth);
    drawNose(p);
    drawTears(p, 33.5, 36, true);
    drawTears(p, 66.5, 36, false);
    drawBandage(p);
    p.setClipPath(ellipsePath(kHoleX, kHoleY - 6, kHoleRx, kHoleRy), Qt::IntersectClip);
    QLinearGradient dark(QPointF(0, kHoleY - 12), QPointF(0, kHoleY - 6 + kHoleRy));
    dark.setColorAt(0, QColor(10, 5, 2, 0));
    dark.setColorAt(1, QColor(10, 5, 2, 210));
    p.fillRect(QRectF(0, kHoleY - 12, 100, 30), dark);
    p.restore();
    drawPaws(p, 1, true);

    drawSweat(p, QPointF(16, 25), 3.2, -30);
    drawSweat(p, QPointF(86, 30), 3.6, 28);
    drawSweat(p, QPointF(84, 14), 2.4, 40);
    // Seeing stars.
    drawStar(p, QPointF(30, 9), 4.2, -12);
    drawStar(p, QPointF(74, 8), 3.0, 20);
}

void drawMissMark(QPainter& p)
{
    QPainterPath t = textPath(QStringLiteral("Miss!"), latinFont(40, true));
    t = fitPath(t, QPointF(0, 0), QSizeF(74, 36));
    QTransform r;
    r.translate(50, 58);
    r.rotate(-10);
    t = r.map(t);
    StickerStyle s;
    s.body = QColor(238, 20, 20);
    s.rim = QColor(110, 0, 0);
    s.rimWidth = 6;
    s.whiteWidth = 3.6;
    s.embolden = 0.4;
    s.shadowOffset = QPointF(1.5, 2);
    s.shadowAlpha = 110;
    drawSticker(p, t, s);
}

}  // namespace

void drawHole(QPainter& p, HoleState state)
{
    drawMound(p);
    drawOpening(p);
    drawTufts(p);
    switch (state) {
        case HoleState::Empty:
            break;
        case HoleState::Mole:
            drawMole(p);
            break;
        case HoleState::Whacked:
            drawWhacked(p);
            break;
        case HoleState::Miss:
            drawMissMark(p);
            break;
    }
}

QImage holePicture(HoleState state, const Grass& grass, int scale, int x, int y)
{
    const int side = pokopin::art::kHoleSize * scale;
    QImage img(side, side, QImage::Format_RGB32);
    grass.paint(img, x * scale, y * scale);
    QPainter p;
    beginScaled(p, img, scale);
    drawHole(p, state);
    p.end();
    return img;
}

QImage iconPicture(int size)
{
    QImage img = clearCanvas(size, size);
    QPainter p;
    beginScaled(p, img, size / 32.0);
    // Lines stay at least one pixel wide at the smallest size.
    const double line = size <= 32 ? 1.0 : 0.8;

    // The heap and the hole.
    QRadialGradient dirt(QPointF(12, 24), 16);
    dirt.setColorAt(0, QColor(214, 160, 100));
    dirt.setColorAt(1, QColor(130, 80, 40));
    p.setBrush(dirt);
    p.setPen(roundPen(QColor(76, 44, 20), line));
    p.drawEllipse(QPointF(16, 27), 15.5, 4.6);
    p.setBrush(QColor(26, 14, 6));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 26.6), 12.6, 3.1);

    QPainterPath clip;
    clip.addRect(QRectF(0, 0, 32, 26.6));
    clip = clip.united(ellipsePath(16, 26.6, 12.6, 3.1));
    p.save();
    p.setClipPath(clip);
    QPainterPath body;
    body.moveTo(5.5, 34);
    body.lineTo(5.5, 14);
    body.cubicTo(5.5, 6, 10, 2, 16, 2);
    body.cubicTo(22, 2, 26.5, 6, 26.5, 14);
    body.lineTo(26.5, 34);
    body.closeSubpath();
    QRadialGradient fur(QPointF(12, 8), 24);
    fur.setColorAt(0, kFurLight);
    fur.setColorAt(0.5, kFur);
    fur.setColorAt(1, kFurDark);
    p.setBrush(fur);
    p.setPen(roundPen(kOutline, line));
    p.drawPath(body);

    // Muzzle with a wide grin.
    p.setBrush(kSkin);
    p.setPen(roundPen(QColor(130, 84, 50), line * 0.7));
    p.drawEllipse(QPointF(16, 19.5), 8.5, 5.5);
    QPainterPath grin;
    grin.moveTo(10.5, 18.5);
    grin.quadTo(16, 20.5, 21.5, 18.5);
    grin.quadTo(20.5, 24.5, 16, 24.5);
    grin.quadTo(11.5, 24.5, 10.5, 18.5);
    grin.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(roundPen(QColor(90, 20, 24), line));
    p.drawPath(grin);
    p.setPen(roundPen(QColor(150, 120, 110), line * 0.6));
    p.drawLine(QPointF(11.5, 21.3), QPointF(20.5, 21.3));
    // Nose.
    p.setBrush(QColor(226, 92, 120));
    p.setPen(roundPen(QColor(120, 36, 56), line * 0.7));
    p.drawEllipse(QPointF(16, 16.3), 2.6, 1.9);

    // Sunglasses.
    QPainterPath lens;
    lens.moveTo(6.5, 10);
    lens.lineTo(14.5, 10);
    lens.quadTo(14.8, 15, 10.5, 15);
    lens.quadTo(6.5, 15, 6.5, 10);
    lens.closeSubpath();
    QTransform mirror;
    mirror.translate(32, 0);
    mirror.scale(-1, 1);
    const QPainterPath glasses = lens.united(mirror.map(lens));
    QLinearGradient glass(QPointF(0, 10), QPointF(0, 15));
    glass.setColorAt(0, QColor(70, 70, 90));
    glass.setColorAt(1, QColor(10, 10, 16));
    p.setBrush(glass);
    p.setPen(roundPen(QColor(0, 0, 0), line));
    p.drawPath(glasses);
    p.setPen(roundPen(QColor(0, 0, 0), line * 1.2));
    p.drawLine(QPointF(14.5, 10.4), QPointF(17.5, 10.4));
    p.drawLine(QPointF(6.5, 10.4), QPointF(4.5, 9.6));
    p.drawLine(QPointF(25.5, 10.4), QPointF(27.5, 9.6));
    p.setPen(roundPen(QColor(255, 255, 255, 220), line * 0.9));
    p.drawLine(QPointF(8.3, 12.8), QPointF(10.0, 11.1));
    p.drawLine(QPointF(19.8, 12.8), QPointF(21.5, 11.1));
    p.restore();

    // Front lip of the hole over the body.
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(QColor(236, 190, 130), line));
    p.drawArc(ellipseAt(16, 26.6, 12.6, 3.1), 205 * 16, 130 * 16);
    p.end();
    return img;
}

}  // namespace artgen
