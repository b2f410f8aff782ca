#include "frm_title.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace pokopin::app {

frmTitle::frmTitle(std::function<void()> onTick, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      onTick_(std::move(onTick)),
      picture_(QStringLiteral(":/art/title.png"))
{
    setObjectName(QStringLiteral("frmTitle"));
    setFixedSize(500, 250);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(192, 255, 192));
    setPalette(palette);
    setAutoFillBackground(true);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1);
    connect(timer1_, &QTimer::timeout, this, &frmTitle::Timer1_Timer);
    timer1_->start();
}

void frmTitle::showCentred()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

void frmTitle::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, picture_);
    painted_ = true;
}

void frmTitle::Timer1_Timer()
{
    // The card must be on screen before the main window's loading takes over
    // the thread.
    if (painted_ && onTick_)
        onTick_();
}

}  // namespace pokopin::app
