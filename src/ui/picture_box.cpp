#include "picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace pokopin::ui {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage* picture)
{
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    if (!picture_)
        return;
    QPainter p(this);
    p.drawImage(event->rect(), *picture_, event->rect());
}

HoleBox::HoleBox(int index, QWidget* parent) : QWidget(parent), index_(index)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HoleBox::setPicture(const QPixmap* picture)
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
    p.drawPixmap(0, 0, *picture_);
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
