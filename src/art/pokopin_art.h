// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Resource paths of the game's pictures, built into the pokopin_art library:
// windows and tests name every picture through these functions. Each picture
// also exists at twice its size under the same name with "@2x" before ".png"
// (see hiDpi()).
#pragma once

#include <QString>

#include <array>

namespace pokopin::art {

QString title();      // 500 x 250
QString board();      // 460 x 480
QString panel();      // 180 x 480
QString hole(int k);  // 100 x 100; 0 empty, 1 mole, 2 whacked mole, 3 miss mark
// 105 x 35, mode 0..3: the mode's name in colour on black, and its mask, a
// black silhouette on white that clears the name's place in the panel first.
QString modeLabelImage(int mode);
QString modeLabelMask(int mode);
QString icon(int size);  // 32, 64 or 128

// The desktop icon at the sizes of the icon theme, each drawn for its size;
// the same set is installed into the hicolor theme. The build reads this list
// from here (CMakeLists.txt beside this file): keep it a plain list of numbers.
inline constexpr std::array kAppIconSizes = {16, 22, 24, 32, 48, 64, 128, 256, 512};
QString appIcon(int size);

// The twice-size companion of a picture path.
QString hiDpi(const QString& path);

}  // namespace pokopin::art
