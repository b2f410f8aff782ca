// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "title_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "pokopin_art.h"
#include "thin_frame.h"

namespace pokopin::app {

TitleWindow::TitleWindow(std::function<void()> onTick, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      onTick_(std::move(onTick)),
      picture_(ui::Picture::load(art::title()))
{
    setObjectName(QStringLiteral("TitleWindow"));
    // A picture only: assistive tools get its title as its name.
    setAccessibleName(QStringLiteral("Pokopin！"));
    setFixedSize(500, 250);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(192, 255, 192));
    setPalette(palette);
    setAutoFillBackground(true);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("handOverTimer"));
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, &TitleWindow::tick);
    timer_->start();
}

void TitleWindow::showCentred()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

void TitleWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    ui::drawPicture(p, rect(), picture_);
    drawThinFrame(p, rect());
    painted_ = true;
}

void TitleWindow::tick()
{
    // The card must be on screen before the main window's loading takes over
    // the thread.
    if (painted_ && onTick_)
        onTick_();
}

}  // namespace pokopin::app
