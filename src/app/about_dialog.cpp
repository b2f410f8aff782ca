// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "fonts.h"
#include "labels.h"
#include "pokopin_art.h"
#include "pokopin_version.h"
#include "thin_frame.h"

namespace pokopin::app {

using ui::gothicFont;
using ui::makeLabel;

namespace {

constexpr int kLogoSize = 32;

// The logo as `ratio` device pixels per layout pixel need it: the plain icon
// at one, else the twice-size icon, shrunk to the exact device size in
// between so no pixel of it is dropped unfiltered.
QPixmap logoFor(qreal ratio)
{
    if (ratio <= 1)
        return QPixmap(art::icon(kLogoSize));
    QImage fine(art::hiDpi(art::icon(kLogoSize)));
    if (ratio < 2) {
        const int side = qRound(kLogoSize * ratio);
        fine = fine.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    fine.setDevicePixelRatio(ratio < 2 ? ratio : 2.0);
    return QPixmap::fromImage(fine);
}

}  // namespace

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AboutDialog"));
    // Frameless, so no title bar names it; it goes by its menu item's name.
    setAccessibleName(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    setFixedSize(271, 113);

    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("logo"));
    showLogo();
    logo_->setGeometry(17, 10, kLogoSize, kLogoSize);

    const QColor brown(192, 64, 0);
    titleLabel_ = makeLabel(this, QStringLiteral("titleLabel"), {59, 13},
                            QStringLiteral("Pokopin！"), gothicFont(24, false), brown);
    versionLabel_ = makeLabel(this, QStringLiteral("versionLabel"), {23, 61},
                              QStringLiteral("Version"), gothicFont(21, false), brown);
    copyrightLabel_ = makeLabel(this, QStringLiteral("copyrightLabel"), {23, 89},
                                QStringLiteral("© Pokopin developers"), gothicFont(13, false));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setGeometry(167, 74, 75, 26);
    okButton_->setDefault(true);
    okButton_->setFocus();
    connect(okButton_, &QPushButton::clicked, this, &AboutDialog::okClicked);

    load();
}

void AboutDialog::load()
{
    // Runs once per dialog: the hidden dialog keeps the finished text.
    versionLabel_->setText(versionLabel_->text() + QLatin1Char(' ') + QLatin1String(kVersionText));
    versionLabel_->adjustSize();
}

void AboutDialog::okClicked()
{
    accept();  // hides; the dialog lives on for the next opening
}

void AboutDialog::reject()
{
    okClicked();
}

void AboutDialog::showEvent(QShowEvent* event)
{
    // The dialog may open on another screen than the one it was made for.
    if (devicePixelRatioF() != logoRatio_)
        showLogo();
    QDialog::showEvent(event);
}

void AboutDialog::showLogo()
{
    logoRatio_ = devicePixelRatioF();
    logo_->setPixmap(logoFor(logoRatio_));
}

void AboutDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(QColor(255, 128, 0), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(13, 50, 261, 50);
    drawThinFrame(p, rect());
}

}  // namespace pokopin::app
