#include "about_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "fonts.h"
#include "labels.h"
#include "pokopin_art.h"
#include "pokopin_version.h"

namespace pokopin::app {

using ui::gothicFont;
using ui::makeLabel;

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setModal(true);
    setFixedSize(271, 113);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(QPixmap(art::icon(32)));
    logo->setGeometry(17, 10, 32, 32);

    const QColor brown(192, 64, 0);
    titleLabel_ = makeLabel(this, QStringLiteral("titleLabel"), {59, 13}, QStringLiteral("Pokopin！"),
                          gothicFont(24, false), brown);
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

void AboutDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(QColor(255, 128, 0), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(13, 50, 261, 50);
}

}  // namespace pokopin::app
