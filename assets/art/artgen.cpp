// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws every picture of the game into a folder:
//   pokopin_artgen <picture folder> [<preview folder>]
// Each picture comes at its layout size and twice that ("@2x"), both drawn
// from the same vector description. The preview folder receives a mock-up
// of the main window for judging the pictures together.
#include "app_icon.h"
#include "board_layout.h"
#include "cards.h"
#include "grass.h"
#include "mole.h"
#include "paint.h"

#include <QDir>
#include <QGuiApplication>

#include <array>
#include <cstdio>

using namespace artgen;
using pokopin::art::holePosition;
using pokopin::art::kClientHeight;
using pokopin::art::kClientWidth;
using pokopin::art::kPanelRect;

namespace {

bool save(const QImage& img, const QDir& dir, const QString& name, int scale)
{
    const QString file =
        dir.filePath(scale == 1 ? name + ".png" : name + QStringLiteral("@%1x.png").arg(scale));
    const QImage out = img.hasAlphaChannel() ? img.convertToFormat(QImage::Format_ARGB32)
                                             : img.convertToFormat(QImage::Format_RGB32);
    if (!out.save(file, "PNG")) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

// The main window as the game puts it together, with the first mode's label
// cut into the panel the way the game does it.
QImage mockup(const QImage& board, const std::array<QImage, 4>& holes, const QImage& panel,
              const LevelLabel& label, int scale)
{
    QImage out(kClientWidth * scale, kClientHeight * scale, QImage::Format_RGB32);
    QPainter p(&out);
    p.drawImage(0, 0, board);
    const int layout[9] = {0, 1, 0, 2, 3, 1, 1, 0, 2};
    for (int i = 0; i < 9; ++i)
        p.drawImage(holePosition(i) * scale, holes[layout[i]]);
    p.drawImage(kPanelRect.topLeft() * scale, panel);
    const QRect labelRect((kPanelRect.topLeft() + QPoint(85, 178)) * scale, QSize(84, 28) * scale);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(labelRect, label.mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(labelRect, label.image);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);

    auto shadowed = [&p](const QPointF& at, const QString& text, double px, const QColor& shadow,
                         const QPointF& offset) {
        QFont f = japaneseFont(px);
        f.setBold(true);
        p.setFont(f);
        p.setPen(shadow);
        p.drawText(at + offset, text);
        p.setPen(Qt::white);
        p.drawText(at, text);
    };
    shadowed(QPointF(227, 439 + 29), QStringLiteral("TIME"), 35, Qt::black, QPointF(3, 1));
    shadowed(QPointF(327, 439 + 29), QStringLiteral(":"), 35, Qt::black, QPointF(3, 1));
    shadowed(QPointF(347, 439 + 29), QStringLiteral("24"), 35, QColor(64, 64, 64), QPointF(3, 1));
    shadowed(QPointF(388, 439 + 29), QStringLiteral(".sec"), 35, Qt::black, QPointF(3, 1));
    shadowed(QPointF(32, 449 + 16), QStringLiteral("SCORE RECORD"), 19, Qt::black, QPointF(2, 1));
    QFont digits = japaneseFont(29);
    digits.setBold(true);
    p.setFont(digits);
    p.setPen(Qt::white);
    const int ys[4] = {243, 312, 376, 440};
    const char* values[4] = {"12", "9", "3", "24"};
    for (int i = 0; i < 4; ++i)
        p.drawText(QPointF(kPanelRect.x() + (i == 0 ? 145 : 144), ys[i] + 24),
                   QString::fromLatin1(values[i]));
    p.end();
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pokopin_artgen <picture folder> [<preview folder>]\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "artgen: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    struct Scene {
        QImage board, panel;
        std::array<QImage, 4> holes;
        LevelLabel firstLabel;
    };
    std::array<Scene, 2> scenes;
    for (int scale : {1, 2}) {
        Scene& scene = scenes[scale - 1];
        const Grass grass(scale);
        scene.board = boardPicture(grass, scale);
        ok &= save(scene.board, dir, QStringLiteral("board"), scale);
        scene.panel = panelPicture(scale);
        ok &= save(scene.panel, dir, QStringLiteral("panel"), scale);
        ok &= save(titlePicture(scale), dir, QStringLiteral("title"), scale);

        const HoleState states[4] = {HoleState::Empty, HoleState::Mole, HoleState::Whacked,
                                     HoleState::Miss};
        for (int k = 0; k < 4; ++k) {
            scene.holes[k] =
                holePicture(states[k], grass, scale, holePosition(0).x(), holePosition(0).y());
            ok &= save(scene.holes[k], dir, QStringLiteral("hole%1").arg(k), scale);
        }
        for (int mode = 0; mode < 4; ++mode) {
            const LevelLabel label = levelLabel(mode, scale);
            ok &= save(label.image, dir, QStringLiteral("level%1").arg(2 * mode), scale);
            ok &= save(label.mask, dir, QStringLiteral("level%1").arg(2 * mode + 1), scale);
            if (mode == 0)
                scene.firstLabel = label;
        }
        ok &= save(iconPicture(32 * scale), dir, QStringLiteral("icon"), scale);
        ok &= save(iconPicture(64 * scale), dir, QStringLiteral("icon64"), scale);
        ok &= save(iconPicture(128 * scale), dir, QStringLiteral("icon128"), scale);
    }
    for (int size : kAppIconSizes)
        ok &= save(appIcon(size), dir, QStringLiteral("appicon%1").arg(size), 1);
    // Last, because rendering text into the mock-up leaves the font engine
    // in a state that shifts later outlines by a hair; the pictures must not
    // depend on whether a preview was asked for.
    if (argc > 2) {
        const QDir previewDir(QString::fromLocal8Bit(argv[2]));
        for (int scale : {1, 2}) {
            const Scene& scene = scenes[scale - 1];
            ok &= save(mockup(scene.board, scene.holes, scene.panel, scene.firstLabel, scale),
                       previewDir, QStringLiteral("preview"), scale);
        }
    }
    return ok ? 0 : 1;
}
