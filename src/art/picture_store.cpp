// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_store.h"

#include <QResource>

#include <cstdint>
#include <cstring>
#include <utility>

namespace pokopin::art {
namespace {

constexpr char kTag[4] = {'P', 'K', 'P', 'X'};
constexpr qsizetype kHeaderBytes = 16;
constexpr std::uint32_t kMaxSide = 1 << 15;

struct Header {
    char tag[4];
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t format;
};
static_assert(sizeof(Header) == kHeaderBytes);

bool storable(QImage::Format format)
{
    return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32;
}

}  // namespace

QImage forDrawing(const QImage& image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

QByteArray storePixels(const QImage& image)
{
    const QImage pixels = forDrawing(image);
    const qsizetype row = qsizetype(pixels.width()) * 4;
    QByteArray out(kHeaderBytes + row * pixels.height(), Qt::Uninitialized);
    Header h{};
    std::memcpy(h.tag, kTag, sizeof kTag);
    h.width = static_cast<std::uint32_t>(pixels.width());
    h.height = static_cast<std::uint32_t>(pixels.height());
    h.format = static_cast<std::uint32_t>(pixels.format());
    std::memcpy(out.data(), &h, sizeof h);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(out.data() + kHeaderBytes + row * y, pixels.constScanLine(y),
                    static_cast<std::size_t>(row));
    return out;
}

QImage readPixels(QByteArray stored)
{
    if (stored.size() < kHeaderBytes)
        return {};
    Header h;
    std::memcpy(&h, stored.constData(), sizeof h);
    const auto format = static_cast<QImage::Format>(h.format);
    const qsizetype row = qsizetype(h.width) * 4;
    if (std::memcmp(h.tag, kTag, sizeof kTag) != 0 || !storable(format) || h.width == 0
        || h.height == 0 || h.width > kMaxSide || h.height > kMaxSide
        || stored.size() != kHeaderBytes + row * h.height)
        return {};
    const auto* pixels = reinterpret_cast<const uchar*>(stored.constData() + kHeaderBytes);
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    // Rows of 32-bit pixels must start on a 4-byte boundary.
    if (reinterpret_cast<std::uintptr_t>(pixels) % 4 != 0)
        return QImage(pixels, width, height, row, format).copy();
    // The image holds on to the bytes: they go with the last image sharing them.
    auto* kept = new QByteArray(std::move(stored));
    return QImage(
        pixels, width, height, row, format,
        [](void* bytes) { delete static_cast<QByteArray*>(bytes); }, kept);
}

QImage loadForDrawing(const QString& path)
{
    if (path.endsWith(QLatin1String(".png"))) {
        const QResource stored(path.first(path.size() - 4) + QLatin1String(".px"));
        if (stored.isValid()) {
            QImage image = readPixels(stored.uncompressedData());
            if (!image.isNull())
                return image;
        }
    }
    return forDrawing(QImage(path));
}

}  // namespace pokopin::art
