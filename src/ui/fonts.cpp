// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fonts.h"

#include <QFontInfo>
#include <QStringList>

namespace pokopin::ui {

namespace {

// The labels were placed for ＭＳ Ｐゴシック. Its substitutes set digits and
// Latin letters a little wider, which runs the clock value into
// ".sec"; narrowing them keeps every label in its place.
constexpr int kSubstituteStretch = 93;

bool isLayoutFace(const QString& family)
{
    return family == QStringLiteral("ＭＳ Ｐゴシック") || family == QStringLiteral("MS PGothic");
}

}  // namespace

QFont gothicFont(int pixelSize, bool bold)
{
    QFont font;
    // A single unknown family falls back to a Latin face; a list lets the
    // font database pick the first Japanese face that is installed.
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPA P Gothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    if (!isLayoutFace(QFontInfo(font).family()))
        font.setStretch(kSubstituteStretch);
    return font;
}

}  // namespace pokopin::ui
