// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

#include "picture_store.h"
#include "pokopin_art.h"

namespace pokopin::ui {

Picture::Picture(QImage normal, std::function<QImage()> makeFine)
    : normal_(std::move(normal)), makeFine_(std::move(makeFine))
{}

Picture Picture::load(const QString& path)
{
    return Picture(art::loadForDrawing(path),
                   [fine = art::hiDpi(path)] { return art::loadForDrawing(fine); });
}

const QImage& Picture::fine() const
{
    if (!fineMade_) {
        fineMade_ = true;
        if (makeFine_)
            fine_ = makeFine_();
        fine_.setDevicePixelRatio(2);
    }
    return fine_;
}

QImage& Picture::fine()
{
    std::as_const(*this).fine();
    return fine_;
}

void drawPicture(QPainter& painter, const QRect& area, const Picture& picture)
{
    // Device pixels per layout pixel: the screen's scale, or that of the
    // picture a grab or render paints into.
    const qreal ratio = painter.deviceTransform().m11();
    if (ratio <= 1 || picture.fine().isNull()) {
        painter.drawImage(area, picture.normal(), area);
        return;
    }
    // At 2 the fine picture meets the device pixel for pixel. At other
    // ratios it is resized; filtering keeps its thin lines from breaking up.
    if (ratio != 2)
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(area), picture.fine(),
                      QRectF(QPointF(area.topLeft()) * 2, QSizeF(area.size()) * 2));
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const Picture* picture)
{
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    if (!picture_)
        return;
    QPainter p(this);
    drawPicture(p, event->rect(), *picture_);
}

HoleBox::HoleBox(int index, QWidget* parent) : QWidget(parent), index_(index)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HoleBox::setPicture(const Picture* picture)
{
    if (picture == picture_)
        return;
    picture_ = picture;
    update();
}

void HoleBox::paintEvent(QPaintEvent*)
{
    if (!picture_)
        return;
    QPainter p(this);
    drawPicture(p, rect(), *picture_);
}

void HoleBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
}

void HoleBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked(index_);
}

void HoleBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
}

}  // namespace pokopin::ui
