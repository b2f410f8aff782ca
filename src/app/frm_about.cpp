#include "frm_about.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "fonts.h"
#include "main_logic.h"

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

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(271, 113);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(QPixmap(QStringLiteral(":/art/icon.png")));
    image1->setGeometry(17, 10, 32, 32);

    const QColor brown(192, 64, 0);
    lblTitle_ = makeLabel(this, QStringLiteral("lblTitle"), {59, 13}, QStringLiteral("Pokopin！"),
                          24, &brown);
    lblVersion_ = makeLabel(this, QStringLiteral("lblVersion"), {23, 61},
                            QStringLiteral("Version"), 21, &brown);
    label1_ = makeLabel(this, QStringLiteral("Label1"), {23, 89},
                        QStringLiteral("© Pokopin developers"), 13, nullptr);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(167, 74, 75, 26);
    cmdOK_->setDefault(true);
    cmdOK_->setFocus();
    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    // Runs once per dialog: the hidden dialog keeps the finished text.
    lblVersion_->setText(lblVersion_->text() + QStringLiteral(" %1.%2%3")
                                                   .arg(game::kVersionMajor)
                                                   .arg(game::kVersionMinor)
                                                   .arg(game::kVersionRevision));
    lblVersion_->adjustSize();
}

void frmAbout::cmdOK_Click()
{
    accept();  // hides; the dialog lives on for the next opening
}

void frmAbout::reject()
{
    cmdOK_Click();
}

void frmAbout::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(QColor(255, 128, 0), 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(13, 50, 261, 50);
}

}  // namespace pokopin::app
