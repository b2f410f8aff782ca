// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cards.h"

#include "board_layout.h"
#include "grass.h"
#include "mole.h"
#include "paint.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <numbers>

namespace artgen {

namespace {

struct Kana {
    const char* text;
    QColor colour;
};

// The title in hiragana, one colour per letter.
const std::array<Kana, 4> kTitleKana = {{
    {"ぽ", QColor(255, 78, 128)},
    {"こ", QColor(255, 150, 0)},
    {"ぴ", QColor(48, 192, 70)},
    {"ん", QColor(36, 146, 255)},
}};

// Bouncing row of sticker letters centred on centre.
void drawTitleKana(QPainter& p, const QPointF& centre, double size, double spacing, double rim,
                   double white)
{
    const QFont font = japaneseFont(size);
    const double tilt[4] = {-8, 5, -6, 8};
    const double bounce[4] = {2, -5, 3, -3};
    for (int i = 0; i < 4; ++i) {
        QPainterPath g = textPath(QString::fromUtf8(kTitleKana[i].text), font);
        const QRectF r = g.boundingRect();
        g.translate(-r.center());
        QTransform t;
        t.translate(centre.x() + (i - 1.5) * spacing, centre.y() + bounce[i] * size / 100);
        t.rotate(tilt[i]);
        StickerStyle s;
        s.body = kTitleKana[i].colour;
        s.rimWidth = rim;
        s.whiteWidth = white;
        s.embolden = size / 70;
        s.shadowOffset = QPointF(size / 35, size / 28);
        drawSticker(p, t.map(g), s);
    }
}

// The orange "Pokopin!" sticker, on the title card (weight 1) and, thinner,
// on the side panel's logo.
void drawRomanTitle(QPainter& p, const QPointF& centre, const QSizeF& box, int fontPx,
                    double weight)
{
    const QPainterPath roman =
        fitPath(textPath(QStringLiteral("Pokopin!"), latinFont(fontPx)), centre, box);
    StickerStyle rs;
    rs.body = QColor(238, 112, 22);
    rs.rim = QColor(110, 52, 10);
    rs.rimWidth = 6 * weight;
    rs.whiteWidth = 3.5 * weight;
    rs.embolden = 0.4 * weight;
    rs.shadowOffset = QPointF(2, 2.5) * weight;
    drawSticker(p, roman, rs);
}

void drawSparkle(QPainter& p, const QPointF& c, double r, const QColor& colour)
{
    QPainterPath s;
    s.moveTo(c.x(), c.y() - r);
    s.quadTo(c.x(), c.y(), c.x() + r, c.y());
    s.quadTo(c.x(), c.y(), c.x(), c.y() + r);
    s.quadTo(c.x(), c.y(), c.x() - r, c.y());
    s.quadTo(c.x(), c.y(), c.x(), c.y() - r);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(s);
}

// A squeaky toy hammer, head centred on the origin, handle pointing down.
void drawToyHammer(QPainter& p)
{
    // Handle.
    const QRectF handle(-4.5, 8, 9, 62);
    QLinearGradient hg(handle.topLeft(), handle.topRight());
    hg.setColorAt(0, QColor(255, 236, 120));
    hg.setColorAt(0.5, QColor(255, 206, 40));
    hg.setColorAt(1, QColor(214, 150, 10));
    p.setBrush(hg);
    p.setPen(roundPen(QColor(120, 70, 10), 1.6));
    p.drawRoundedRect(handle, 4.5, 4.5);

    // Bellows head.
    const QRectF head(-30, -15, 60, 30);
    QLinearGradient g(head.topLeft(), head.bottomLeft());
    g.setColorAt(0, QColor(255, 120, 120));
    g.setColorAt(0.35, QColor(240, 30, 40));
    g.setColorAt(1, QColor(150, 0, 10));
    p.setBrush(g);
    p.setPen(roundPen(QColor(100, 0, 0), 1.8));
    p.drawRoundedRect(head, 6, 6);
    p.setPen(roundPen(QColor(120, 0, 10, 160), 1.2));
    for (double x = -18; x <= 18; x += 6)
        p.drawLine(QPointF(x, -13.5), QPointF(x, 13.5));
    p.setPen(roundPen(QColor(255, 255, 255, 150), 2.5));
    p.drawLine(QPointF(-20, -9), QPointF(20, -9));

    // Caps.
    for (double x : {-32.0, 32.0}) {
        QRadialGradient c(QPointF(x - 2, -5), 18);
        c.setColorAt(0, QColor(255, 250, 200));
        c.setColorAt(1, QColor(255, 190, 20));
        p.setBrush(c);
        p.setPen(roundPen(QColor(130, 80, 0), 1.6));
        p.drawRoundedRect(QRectF(x - 5, -17, 10, 34), 4, 4);
    }
}

// Grass patch for the mole on the cards.
void drawLawnPatch(QPainter& p, const QPointF& c, double rx, double ry)
{
    QRadialGradient g(c + QPointF(-rx * 0.3, -ry * 0.4), rx);
    g.setColorAt(0, QColor(70, 240, 90));
    g.setColorAt(1, QColor(0, 200, 36));
    p.setBrush(g);
    p.setPen(roundPen(QColor(0, 120, 30), 1.5));
    p.drawEllipse(c, rx, ry);
}

QPainterPath roundedRect(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

}  // namespace

QImage boardPicture(const Grass& grass, int scale)
{
    QImage img(pokopin::art::kBoardRect.size() * scale, QImage::Format_RGB32);
    grass.paint(img, 0, 0);
    return img;
}

QImage titlePicture(int scale)
{
    QImage img = opaqueCanvas(500 * scale, 250 * scale, QColor(232, 134, 28));
    QPainter p;
    beginScaled(p, img, scale);

    // The card with a sunburst behind the title.
    const QRectF card(4, 4, 492, 242);
    const QPainterPath cardPath = roundedRect(card, 18);
    p.setClipPath(cardPath);
    p.fillRect(card, QColor(255, 214, 74));
    const QPointF sun(250, 100);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 228, 120));
    for (int i = 0; i < 24; i += 2) {
        QPainterPath ray;
        ray.moveTo(sun);
        ray.arcTo(QRectF(sun.x() - 400, sun.y() - 400, 800, 800), i * 15.0, 15.0);
        ray.closeSubpath();
        p.drawPath(ray);
    }
    QRadialGradient glow(sun, 300);
    glow.setColorAt(0, QColor(255, 250, 220, 200));
    glow.setColorAt(0.35, QColor(255, 240, 160, 60));
    glow.setColorAt(1, QColor(240, 150, 30, 110));
    p.fillRect(card, glow);
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(QColor(255, 255, 255, 210), 2.5));
    p.drawPath(roundedRect(card.adjusted(6, 6, -6, -6), 13));
    p.setPen(roundPen(QColor(176, 92, 10), 2));
    p.drawPath(cardPath);

    drawSparkle(p, QPointF(40, 40), 11, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(62, 26), 6, QColor(255, 255, 255, 200));
    drawSparkle(p, QPointF(458, 46), 10, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(440, 24), 5, QColor(255, 255, 255, 200));
    drawSparkle(p, QPointF(470, 92), 6, QColor(255, 140, 160, 220));
    drawSparkle(p, QPointF(28, 96), 6, QColor(110, 190, 255, 220));

    // A mole peeking out at the lower left.
    p.save();
    p.translate(18, 146);
    p.scale(0.95, 0.95);
    drawLawnPatch(p, QPointF(50, 78), 50, 22);
    drawHole(p, HoleState::Mole);
    p.restore();

    // And the hammer swinging at it from the right.
    p.save();
    p.translate(432, 150);
    p.rotate(-34);
    p.scale(0.8, 0.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(QColor(214, 120, 20, 220), 3.5));
    p.drawArc(QRectF(-80, -10, 160, 160), 58 * 16, 22 * 16);
    p.drawArc(QRectF(-96, -26, 192, 192), 62 * 16, 16 * 16);
    drawToyHammer(p);
    p.restore();

    drawTitleKana(p, QPointF(250, 84), 104, 100, 13, 8);

    drawRomanTitle(p, QPointF(250, 180), QSizeF(200, 40), 34, 1.0);

    // Small print.
    p.setFont(latinFont(10, false, false));
    p.setPen(QColor(110, 58, 12));
    p.drawText(QRectF(250, 222, 234, 16), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("© 2026 Pokopin developers"));
    p.end();
    return img;
}

QImage panelPicture(int scale)
{
    const QSize size = pokopin::art::kPanelRect.size() * scale;
    QImage img = opaqueCanvas(size.width(), size.height(), QColor(14, 96, 46));
    QPainter p;
    beginScaled(p, img, scale);
    const QRectF all(0, 0, 180, 480);

    QLinearGradient bg(all.topLeft(), all.bottomLeft());
    bg.setColorAt(0, QColor(30, 132, 62));
    bg.setColorAt(1, QColor(10, 84, 40));
    p.fillRect(all, bg);
    // Faint diagonal weave, a darker echo of the lawn.
    p.setPen(roundPen(QColor(0, 40, 10, 40), 1.2));
    for (int i = -480; i < 180; i += 6)
        p.drawLine(QPointF(i, 480), QPointF(i + 480, 0));
    // Shade where the panel meets the board.
    QLinearGradient edge(QPointF(0, 0), QPointF(6, 0));
    edge.setColorAt(0, QColor(0, 30, 10, 150));
    edge.setColorAt(1, QColor(0, 30, 10, 0));
    p.fillRect(QRectF(0, 0, 6, 480), edge);

    // Title card.
    const QRectF card(5, 5, 170, 139);
    const QPainterPath cardPath = roundedRect(card, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 30, 10, 90));
    p.drawPath(cardPath.translated(2, 3));
    QLinearGradient cg(card.topLeft(), card.bottomLeft());
    cg.setColorAt(0, QColor(255, 240, 150));
    cg.setColorAt(1, QColor(255, 200, 56));
    p.setBrush(cg);
    p.setPen(roundPen(QColor(196, 104, 10), 2));
    p.drawPath(cardPath);
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(QColor(255, 255, 255, 200), 1.5));
    p.drawPath(roundedRect(card.adjusted(4, 4, -4, -4), 9));

    drawTitleKana(p, QPointF(90, 44), 38, 37, 6, 3.6);
    drawRomanTitle(p, QPointF(90, 84), QSizeF(92, 18), 20, 0.58);

    p.save();
    p.translate(66, 97);
    p.scale(0.48, 0.48);
    drawHole(p, HoleState::Mole);
    p.restore();
    drawSparkle(p, QPointF(28, 110), 5, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(152, 112), 6, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(140, 124), 3.5, QColor(255, 130, 160, 220));

    // Counter boxes.
    const QFont captionFont = latinFont(13);
    for (const PanelBox& b : kPanelBoxes) {
        const QRectF box(5, b.top, 170, b.bottom - b.top + 1);
        const QPainterPath path = roundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 9);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 20, 10, 100));
        p.drawPath(path.translated(1.5, 2.5));
        QLinearGradient g(box.topLeft(), box.bottomLeft());
        g.setColorAt(0, QColor(62, 126, 236));
        g.setColorAt(0.5, QColor(34, 88, 206));
        g.setColorAt(1, QColor(20, 58, 170));
        p.setBrush(g);
        p.setPen(roundPen(QColor(8, 26, 90), 1));
        p.drawPath(path);
        // White bevel along the top and left, fading out before the right
        // end and the bottom, where the game's white numbers and the mode
        // label sit.
        {
            const QPointF bl = box.bottomLeft(), tr = box.topRight(), tl = box.topLeft();
            const QPointF d = tr - bl;
            const double len2 = QPointF::dotProduct(d, d);
            const QPointF foot = bl + d * (QPointF::dotProduct(tl - bl, d) / len2);
            QLinearGradient bevel(tl, foot);
            bevel.setColorAt(0.0, QColor(255, 255, 255, 240));
            bevel.setColorAt(0.7, QColor(255, 255, 255, 200));
            bevel.setColorAt(0.93, QColor(255, 255, 255, 0));
            bevel.setColorAt(1.0, QColor(255, 255, 255, 0));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QBrush(bevel), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(roundedRect(box.adjusted(3, 3, -3, -3), 7));
        }
        // Gloss on the upper part.
        p.save();
        p.setClipPath(roundedRect(box.adjusted(4, 4, -4, -4), 6));
        QLinearGradient gl(box.topLeft(), QPointF(box.left(), box.top() + box.height() * 0.45));
        gl.setColorAt(0, QColor(255, 255, 255, 70));
        gl.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(box.left(), box.top(), box.width(), box.height() * 0.45), gl);
        p.restore();

        // Caption on the left, clear of the numbers and the mode label on the right.
        const QString caption = QString::fromLatin1(b.caption);
        const QStringList lines = caption.split(u' ');
        p.setFont(captionFont);
        const double lineH = 15;
        double y = box.center().y() - lineH * lines.size() / 2.0;
        for (const QString& line : lines) {
            const QRectF r(14, y, 120, lineH);
            p.setPen(QColor(6, 24, 80, 200));
            p.drawText(r.translated(1, 1.2), Qt::AlignLeft | Qt::AlignVCenter, line);
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, line);
            y += lineH;
        }
    }
    p.end();
    return img;
}

LevelLabel levelLabel(int mode, int scale)
{
    static const char* const names[4] = {"かんたん", "ふつう", "むずい", "どむず"};
    static const QColor colours[4] = {QColor(255, 255, 0), QColor(255, 204, 0),
                                      QColor(204, 153, 51), QColor(255, 0, 0)};
    const QFont font = japaneseFont(100);
    // Every mode uses the size at which the longest name fills the label.
    const QRectF widest = textPath(QString::fromUtf8(names[0]), font).boundingRect();
    const double k = std::min(96.0 / widest.width(), 25.0 / widest.height());
    QPainterPath text = textPath(QString::fromUtf8(names[mode]), font);
    const QRectF r = text.boundingRect();
    QTransform t;
    t.translate(52.5, 16.5);
    t.scale(k, k);
    t.translate(-r.center().x(), -r.center().y());
    text = t.map(text);

    const double bold = 1.3;     // stroke that makes the regular face bold
    const double outline = 1.9;  // mask reaches this far beyond the letters
    const int w = 105 * scale, h = 35 * scale;

    QImage mask = opaqueCanvas(w, h, Qt::white);
    {
        QPainter p;
        beginScaled(p, mask, scale);
        p.setBrush(Qt::black);
        p.setPen(roundPen(Qt::black, bold + 2 * outline));
        p.drawPath(text);
    }
    // Hard-edged: a grey pixel would smear the panel under an AND.
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qGray(row[x]) < 250 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }

    QImage image = opaqueCanvas(w, h, Qt::black);
    {
        QPainter p;
        beginScaled(p, image, scale);
        p.setBrush(colours[mode]);
        p.setPen(roundPen(colours[mode], bold));
        p.drawPath(text);
    }
    // Under a white mask pixel the XOR must leave the panel as it was.
    for (int y = 0; y < h; ++y) {
        auto* img = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qRed(m[x]) != 0)
                img[x] = qRgb(0, 0, 0);
    }
    return {image, mask};
}

}  // namespace artgen
