// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "history_style.h"

#include <QApplication>
#include <QStringList>

namespace pokopin::history::style {

QFont uiFont(double scale, bool bold)
{
    QFont font = QApplication::font();
    // The game's own faces first; the desktop's face last, for anything
    // they lack.
    QStringList families = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                            QStringLiteral("IPAPGothic"), QStringLiteral("IPA P Gothic"),
                            QStringLiteral("Noto Sans CJK JP")};
    families.append(font.families().isEmpty() ? QStringList{font.family()} : font.families());
    font.setFamilies(families);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else
        font.setPixelSize(std::max(1, int(font.pixelSize() * scale + 0.5)));
    font.setBold(bold);
    return font;
}

}  // namespace pokopin::history::style
