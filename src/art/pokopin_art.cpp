// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pokopin_art.h"

namespace pokopin::art {

QString title()
{
    return QStringLiteral(":/art/title.png");
}
QString board()
{
    return QStringLiteral(":/art/board.png");
}
QString panel()
{
    return QStringLiteral(":/art/panel.png");
}
QString hole(int k)
{
    return QStringLiteral(":/art/hole%1.png").arg(k);
}
// Generated as one numbered row, each mode's name followed by its mask.
QString modeLabelImage(int mode)
{
    return QStringLiteral(":/art/level%1.png").arg(2 * mode);
}
QString modeLabelMask(int mode)
{
    return QStringLiteral(":/art/level%1.png").arg(2 * mode + 1);
}

QString icon(int size)
{
    return size == 32 ? QStringLiteral(":/art/icon.png")
                      : QStringLiteral(":/art/icon%1.png").arg(size);
}

QString appIcon(int size)
{
    return QStringLiteral(":/art/appicon%1.png").arg(size);
}

QString hiDpi(const QString& path)
{
    QString p = path;
    if (p.endsWith(QLatin1String(".png")))
        p.insert(p.size() - 4, QLatin1String("@2x"));
    return p;
}

}  // namespace pokopin::art
