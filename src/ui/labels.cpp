// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labels.h"

#include <QLabel>

namespace pokopin::ui {

QLabel* makeLabel(QWidget* parent, const QString& name, QPoint pos, const QString& text,
                  const QFont& font, std::optional<QColor> colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    if (colour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, *colour);
        label->setPalette(palette);
    }
    label->move(pos);
    label->adjustSize();
    return label;
}

}  // namespace pokopin::ui
