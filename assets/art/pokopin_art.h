// Resource paths of the game's pictures, built into the pokopin_art library.
// Each picture also exists at twice its size under the same name with "@2x"
// before ".png" (see hiDpi()).
#pragma once

#include <QString>

namespace pokopin::art {

QString title();          // 500 x 250
QString board();          // 460 x 480
QString panel();          // 180 x 480
QString hole(int k);      // 100 x 100; 0 empty, 1 mole, 2 whacked mole, 3 miss mark
QString level(int k);     // 105 x 35; 2m: mode m's name, 2m + 1: its mask
QString icon(int size);   // 32, 64 or 128

// The twice-size companion of a picture path.
QString hiDpi(const QString &path);

} // namespace pokopin::art
