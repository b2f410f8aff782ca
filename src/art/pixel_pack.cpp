// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Stores pictures as the pixels the game draws, so that showing them needs
// no decoding at start-up:
//
//   pokopin_pixelpack OUT_DIR PICTURE.png...
//
// writes OUT_DIR/NAME.px for each PICTURE (see picture_store.h).

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cstdio>

#include "picture_store.h"

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pokopin_pixelpack OUT_DIR PICTURE.png...\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QImage image(path);
        if (image.isNull()) {
            std::fprintf(stderr, "pokopin_pixelpack: cannot read %s\n", argv[i]);
            return 1;
        }
        const QByteArray stored = pokopin::art::storePixels(image);
        // The game must draw exactly what the PNG holds.
        if (pokopin::art::readPixels(stored) != pokopin::art::forDrawing(image)) {
            std::fprintf(stderr, "pokopin_pixelpack: %s does not read back the same\n", argv[i]);
            return 1;
        }
        QFile out(outDir + u'/' + QFileInfo(path).completeBaseName() + QStringLiteral(".px"));
        if (!out.open(QIODevice::WriteOnly) || out.write(stored) < 0 || !out.flush()) {
            std::fprintf(stderr, "pokopin_pixelpack: cannot write %s\n",
                         qPrintable(out.fileName()));
            return 1;
        }
    }
    return 0;
}
