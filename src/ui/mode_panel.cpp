#include "mode_panel.h"

#include <QPainter>

namespace pokopin::ui {

QImage scaledModeLabel(const QImage& picture)
{
    // Nearest pixels, not smoothed ones: AND and XOR of blended greys would
    // fringe the outline with stray colours.
    return picture.convertToFormat(QImage::Format_RGB32)
        .scaled(kModeLabelRect.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void paintModeLabel(QImage& panel, const QImage& pristine, const QImage& mask,
                    const QImage& image)
{
    QPainter p(&panel);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(kModeLabelClearRect.topLeft(), pristine, kModeLabelClearRect);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(kModeLabelRect.topLeft(), scaledModeLabel(mask));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(kModeLabelRect.topLeft(), scaledModeLabel(image));
}

}  // namespace pokopin::ui
