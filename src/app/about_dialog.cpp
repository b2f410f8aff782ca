#include "about_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "fonts.h"
#include "pokopin_version.h"

namespace pokopin::app {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, QPoint pos, const QString& text,
                  int pixelSize, const QColor* colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(ui::gothicFont(pixelSize, false));
    if (colour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, *colour);
        label->setPalette(palette);
    }
    label->move(pos);
    label->adjustSize();
    return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setModal(true);
    setFixedSize(271, 113);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/art/icon.png")));
    logo->setGeometry(17, 10, 32, 32);

    const QColor brown(192, 64, 0);
    titleLabel_ = makeLabel(this, QStringLiteral("titleLabel"), {59, 13}, QStringLiteral("Pokopin！"),
                          24, &brown);
    versionLabel_ = makeLabel(this, QStringLiteral("versionLabel"), {23, 61},
                            QStringLiteral("Version"), 21, &brown);
    copyrightLabel_ = makeLabel(this, QStringLiteral("copyrightLabel"), {23, 89},
                        QStringLiteral("© Pokopin developers"), 13, nullptr);

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
