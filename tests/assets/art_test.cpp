// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Checks the pictures as the game sees them: loaded from the resources that
// linking pokopin_art brings along.
#include "pokopin_art.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr QPoint kHoles[9] = {{32, 40},   {176, 40}, {320, 40},  {32, 174}, {176, 174},
                              {320, 174}, {32, 308}, {176, 308}, {320, 308}};
const QRgb kModeColours[4] = {qRgb(255, 255, 0), qRgb(255, 204, 0), qRgb(204, 153, 51),
                              qRgb(255, 0, 0)};
const QRect kModeLabel(85, 178, 84, 28);

// Raw pixels: Qt marks a file named "@2x" as twice as dense, which would
// make a painter on it scale everything by two.
QImage load(const QString& path)
{
    QImage img(path);
    if (img.isNull())
        return img;
    img.setDevicePixelRatio(1);
    return img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32
                                                     : QImage::Format_RGB32);
}

QString at(int scale, const QString& path)
{
    return scale == 1 ? path : pokopin::art::hiDpi(path);
}

QString describe(QRgb c)
{
    return QStringLiteral("(%1,%2,%3,%4)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c)).arg(qAlpha(c));
}

double luminance(QRgb c)
{
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

double contrastWithWhite(QRgb c)
{
    return 1.05 / (luminance(c) + 0.05);
}

// The mode label painted into the panel the way the game does it: the
// mask cuts its silhouette with AND, the image fills it in with XOR, both
// shrunk to four fifths.
QImage paintLabel(QImage panel, const QImage& image, const QImage& mask, int scale)
{
    QPainter p(&panel);
    const QRect r(kModeLabel.topLeft() * scale, kModeLabel.size() * scale);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(r, mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(r, image);
    p.end();
    return panel;
}

}  // namespace

class ArtTest : public QObject {
    Q_OBJECT

private slots:
    void picturesHaveTheirSizes_data();
    void picturesHaveTheirSizes();
    void holeGrassMatchesBoardAtEveryHole_data();
    void holeGrassMatchesBoardAtEveryHole();
    void holesShowDifferentPictures();
    void boardIsGrassOfTheMainColour_data();
    void boardIsGrassOfTheMainColour();
    void levelMaskCoversItsImage_data();
    void levelMaskCoversItsImage();
    void levelLabelPaintsCleanlyIntoPanel_data();
    void levelLabelPaintsCleanlyIntoPanel();
    void panelLeavesRoomForNumbersAndLabel_data();
    void panelLeavesRoomForNumbersAndLabel();
};

void ArtTest::picturesHaveTheirSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("clear");  // has a transparent background

    namespace art = pokopin::art;
    struct Entry {
        QString path;
        int w, h;
        bool clear;
    };
    std::vector<Entry> entries = {{art::title(), 500, 250, false},
                                  {art::board(), 460, 480, false},
                                  {art::panel(), 180, 480, false}};
    for (int k = 0; k < 4; ++k)
        entries.push_back({art::hole(k), 100, 100, false});
    for (int m = 0; m < 4; ++m) {
        entries.push_back({art::modeLabelImage(m), 105, 35, false});
        entries.push_back({art::modeLabelMask(m), 105, 35, false});
    }
    for (int size : {32, 64, 128})
        entries.push_back({art::icon(size), size, size, true});
    for (const Entry& e : entries) {
        QTest::newRow(qPrintable(e.path)) << e.path << QSize(e.w, e.h) << e.clear;
        const QString big = art::hiDpi(e.path);
        QTest::newRow(qPrintable(big)) << big << QSize(2 * e.w, 2 * e.h) << e.clear;
    }
    // The desktop icon set comes at the theme's sizes only.
    for (int size : pokopin::art::kAppIconSizes) {
        const QString path = pokopin::art::appIcon(size);
        QTest::newRow(qPrintable(path)) << path << QSize(size, size) << true;
    }
}

void ArtTest::picturesHaveTheirSizes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, clear);
    const QImage img = load(path);
    QVERIFY2(!img.isNull(), qPrintable(path + " is missing"));
    QCOMPARE(img.size(), size);
    if (clear) {
        // Clear corners, solid middle.
        QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(img.pixel(size.width() - 1, 0)), 0);
        QCOMPARE(qAlpha(img.pixel(size.width() / 2, size.height() / 2)), 255);
    } else {
        QVERIFY2(!img.hasAlphaChannel(), qPrintable(path + " should be opaque"));
    }
}

void ArtTest::holeGrassMatchesBoardAtEveryHole_data()
{
    QTest::addColumn<int>("hole");
    QTest::addColumn<int>("scale");
    for (int scale : {1, 2})
        for (int k = 0; k < 4; ++k)
            QTest::addRow("hole%d@%dx", k, scale) << k << scale;
}

void ArtTest::holeGrassMatchesBoardAtEveryHole()
{
    QFETCH(int, hole);
    QFETCH(int, scale);
    const QImage board = load(at(scale, pokopin::art::board()));
    const QImage pic = load(at(scale, pokopin::art::hole(hole)));
    QVERIFY(!board.isNull() && !pic.isNull());
    const int n = pic.width();
    const int ring = 2 * scale;  // the edge band that must blend in
    for (const QPoint& pos : kHoles) {
        const QPoint o = pos * scale;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const bool edge = x < ring || y < ring || x >= n - ring || y >= n - ring;
                if (!edge)
                    continue;
                const QRgb want = board.pixel(o.x() + x, o.y() + y);
                const QRgb got = pic.pixel(x, y);
                if (want != got)
                    QFAIL(qPrintable(QStringLiteral("hole at (%1,%2), pixel (%3,%4): %5, board %6")
                                         .arg(pos.x())
                                         .arg(pos.y())
                                         .arg(x)
                                         .arg(y)
                                         .arg(describe(got), describe(want))));
            }
        }
    }
}

void ArtTest::holesShowDifferentPictures()
{
    // Each state must be told apart at a glance: enough of the middle differs.
    QImage pics[4];
    for (int k = 0; k < 4; ++k)
        pics[k] = load(pokopin::art::hole(k));
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            int differ = 0;
            for (int y = 10; y < 90; ++y)
                for (int x = 10; x < 90; ++x)
                    differ += pics[a].pixel(x, y) != pics[b].pixel(x, y);
            QVERIFY2(differ > 800,
                     qPrintable(QStringLiteral("hole%1 and hole%2 differ in %3 pixels")
                                    .arg(a)
                                    .arg(b)
                                    .arg(differ)));
        }
    }
}

void ArtTest::boardIsGrassOfTheMainColour_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << 1;
    QTest::newRow("2x") << 2;
}

void ArtTest::boardIsGrassOfTheMainColour()
{
    QFETCH(int, scale);
    const QImage board = load(at(scale, pokopin::art::board()));
    std::map<QRgb, int> counts;
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < board.height(); ++y) {
        for (int x = 0; x < board.width(); ++x) {
            const QRgb c = board.pixel(x, y);
            ++counts[c];
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
        }
    }
    const double n = double(board.width()) * board.height();
    const auto top = std::max_element(counts.begin(), counts.end(),
                                      [](auto& l, auto& rr) { return l.second < rr.second; });
    QCOMPARE(describe(top->first), describe(qRgb(0, 230, 32)));
    QVERIFY2(top->second > n / 3, "the main colour should dominate");
    QVERIFY2(std::abs(r / n - 0) < 10 && std::abs(g / n - 230) < 10 && std::abs(b / n - 32) < 10,
             qPrintable(QStringLiteral("mean colour %1,%2,%3").arg(r / n).arg(g / n).arg(b / n)));
    // A texture, not a flat fill.
    QVERIFY(counts.size() > 20);
}

void ArtTest::levelMaskCoversItsImage_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("scale");
    for (int scale : {1, 2})
        for (int m = 0; m < 4; ++m)
            QTest::addRow("mode%d@%dx", m, scale) << m << scale;
}

void ArtTest::levelMaskCoversItsImage()
{
    QFETCH(int, mode);
    QFETCH(int, scale);
    const QImage image = load(at(scale, pokopin::art::modeLabelImage(mode)));
    const QImage mask = load(at(scale, pokopin::art::modeLabelMask(mode)));
    QVERIFY(!image.isNull() && !mask.isNull());
    const int w = image.width(), h = image.height();
    std::map<QRgb, int> lit;
    int cut = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb m = mask.pixel(x, y) & 0xFFFFFF;
            const QRgb c = image.pixel(x, y) & 0xFFFFFF;
            QVERIFY2(m == 0 || m == 0xFFFFFF,
                     qPrintable(QStringLiteral("grey mask pixel at %1,%2").arg(x).arg(y)));
            cut += m == 0;
            if (c == 0)
                continue;
            ++lit[c];
            // Lit pixels lie inside the silhouette, with a margin all round for
            // the outline.
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = std::clamp(x + dx, 0, w - 1), ny = std::clamp(y + dy, 0, h - 1);
                    if ((mask.pixel(nx, ny) & 0xFFFFFF) != 0)
                        QFAIL(qPrintable(
                            QStringLiteral("lit pixel %1,%2 at the mask's edge").arg(x).arg(y)));
                }
        }
    }
    QVERIFY(!lit.empty());
    const auto top = std::max_element(lit.begin(), lit.end(),
                                      [](auto& l, auto& r) { return l.second < r.second; });
    QCOMPARE(describe(top->first | 0xFF000000), describe(kModeColours[mode]));
    QVERIFY2(cut > w * h / 8 && cut < w * h * 3 / 4, "the silhouette should be lettering-sized");
}

void ArtTest::levelLabelPaintsCleanlyIntoPanel_data()
{
    levelMaskCoversItsImage_data();
}

void ArtTest::levelLabelPaintsCleanlyIntoPanel()
{
    QFETCH(int, mode);
    QFETCH(int, scale);
    const QImage panel = load(at(scale, pokopin::art::panel()));
    const QImage image = load(at(scale, pokopin::art::modeLabelImage(mode)));
    const QImage mask = load(at(scale, pokopin::art::modeLabelMask(mode)));
    const QImage out = paintLabel(panel, image, mask, scale);
    const QRect r(kModeLabel.topLeft() * scale, kModeLabel.size() * scale);
    const QImage smallMask = mask.scaled(r.size());  // same pixel choice as drawImage

    int letter = 0, outline = 0;
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const QRgb before = panel.pixel(x, y);
            const QRgb after = out.pixel(x, y);
            const bool inLabel = r.contains(x, y);
            const bool kept = !inLabel || (smallMask.pixel(x - r.x(), y - r.y()) & 0xFFFFFF) != 0;
            if (kept) {
                if (before != after)
                    QFAIL(qPrintable(QStringLiteral("panel pixel %1,%2 changed outside the "
                                                    "lettering: %3 -> %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(describe(before), describe(after))));
                continue;
            }
            letter += after == kModeColours[mode];
            outline += (after & 0xFFFFFF) == 0;
        }
    }
    QVERIFY2(letter > 80 * scale * scale, qPrintable(QString::number(letter)));
    QVERIFY2(outline > 80 * scale * scale, qPrintable(QString::number(outline)));
}

void ArtTest::panelLeavesRoomForNumbersAndLabel_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QRect>("content");  // where the game draws over the box
    // Numbers are white, about 29 px tall, starting at x = 144 (145 for COUNT);
    // their glyphs cover roughly the middle 22 rows.
    QTest::newRow("GAME LEVEL") << "GAME LEVEL" << 155 << 206 << kModeLabel;
    QTest::newRow("COUNT") << "COUNT" << 221 << 273 << QRect(145, 243 + 4, 28, 22);
    QTest::newRow("HIT") << "HIT" << 287 << 339 << QRect(144, 312 + 4, 28, 22);
    QTest::newRow("MISS") << "MISS" << 353 << 406 << QRect(144, 376 + 4, 28, 22);
    QTest::newRow("SCORE") << "SCORE" << 419 << 471 << QRect(144, 440 + 4, 28, 22);
}

void ArtTest::panelLeavesRoomForNumbersAndLabel()
{
    QFETCH(QString, caption);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(QRect, content);
    const QImage panel = load(pokopin::art::panel());

    // The box: blue at its left and right ends, background just outside.
    const int mid = (top + bottom) / 2;
    for (int x : {12, 167}) {
        const QRgb c = panel.pixel(x, mid + 8);
        QVERIFY2(qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 40, qPrintable(describe(c)));
    }
    for (int y : {top - 3, bottom + 4}) {
        const QRgb c = panel.pixel(90, y);
        QVERIFY2(!(qBlue(c) > qRed(c) + 60 && qBlue(c) > qGreen(c) + 40),
                 qPrintable(QStringLiteral("row %1 is still blue").arg(y)));
    }

    // Where the game draws, no caption ink, and dark enough for white digits.
    const QRect area = content.intersected(QRect(0, 0, 172, 480));
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const double contrast = contrastWithWhite(panel.pixel(x, y));
            if (contrast < 3.5)
                QFAIL(qPrintable(QStringLiteral("%1: pixel %2,%3 %4 has contrast %5 with white")
                                     .arg(caption)
                                     .arg(x)
                                     .arg(y)
                                     .arg(describe(panel.pixel(x, y)))
                                     .arg(contrast)));
        }

    // The caption itself: white lettering in the left part of the box.
    int ink = 0;
    for (int y = top + 4; y <= bottom - 4; ++y)
        for (int x = 10; x < 80; ++x) {
            const QRgb c = panel.pixel(x, y);
            ink += qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230;
        }
    QVERIFY2(ink > 40, qPrintable(caption + ": no caption found"));
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ArtTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "art_test.moc"
