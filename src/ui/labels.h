// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>
#include <optional>

class QLabel;
class QWidget;

namespace pokopin::ui {

// A text label at a fixed place in parent, sized to its text. Without a
// colour the text keeps the palette's own.
QLabel* makeLabel(QWidget* parent, const QString& name, QPoint pos, const QString& text,
                  const QFont& font, std::optional<QColor> colour = std::nullopt);

}  // namespace pokopin::ui
