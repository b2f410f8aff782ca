#include "mode_panel.h"

#include <QPainter>

namespace pokopin::ui {

namespace {

QImage smoothlyScaled(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_RGB32)
        .scaled(kModeLabelRect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

ModeLabel scaledModeLabel(const QImage& mask, const QImage& image)
{
    // Smooth scaling keeps the lettering's curves. AND and XOR, though, need
    // a mask of pure black and white and an image that is black wherever the
    // mask lets the panel through; blended greys there would fringe the
    // outline with stray colours. So the mask is snapped to black and white
    // and the image blacked out outside it; inside the outline the image
    // keeps its soft edges.
    ModeLabel out{smoothlyScaled(mask), smoothlyScaled(image)};
    for (int y = 0; y < out.mask.height(); ++y) {
        auto* m = reinterpret_cast<QRgb*>(out.mask.scanLine(y));
        auto* i = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < out.mask.width(); ++x) {
            const bool panelShows = qGray(m[x]) >= 128;
            m[x] = panelShows ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            if (panelShows)
                i[x] = qRgb(0, 0, 0);
        }
    }
    return out;
}

void paintModeLabel(QImage& panel, const QImage& pristine, const QImage& mask,
                    const QImage& image)
{
    const ModeLabel label = scaledModeLabel(mask, image);
    QPainter p(&panel);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(kModeLabelClearRect.topLeft(), pristine, kModeLabelClearRect);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(kModeLabelRect.topLeft(), label.mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(kModeLabelRect.topLeft(), label.image);
}

}  // namespace pokopin::ui
