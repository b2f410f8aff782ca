// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the pictures are kept for drawing. A PNG would have to be decoded and
// converted each time the game starts; for the pictures the windows show at
// their layout size the build also keeps the converted pixels themselves
// (the resource compressor shrinks them in the program file), which are read
// without decoding.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pokopin::art {

// The picture in the form the game draws: premultiplied ARGB when it has an
// alpha channel, else RGB32.
QImage forDrawing(const QImage& image);

// The stored form of forDrawing(image): a 16-byte header (the tag "PKPX",
// width, height and QImage format, each 32 bits in the machine's order) and
// the rows, 4 bytes a pixel, with no padding.
QByteArray storePixels(const QImage& image);
// The picture stored in `stored`; null when it is not a stored picture. The
// image shares the bytes rather than copying them (a write to it copies).
QImage readPixels(QByteArray stored);

// The picture at a resource path, ready to draw: from its stored pixels
// ("NAME.px" beside "NAME.png") where the build made them, else decoded.
QImage loadForDrawing(const QString& path);

}  // namespace pokopin::art
