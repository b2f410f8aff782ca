// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace pokopin::audio {

// The SoundFonts SDL2_mixer's MIDI decoder would use, as a list of paths
// separated by ':' or ';': the user's (SDL_SOUNDFONTS), else the library's
// own default when one of its files is there, else the first General MIDI
// SoundFont installed where Debian and other distributions put one. Empty
// when there is none. Call it once the mixer is open.
std::string chooseSoundFonts();

}  // namespace pokopin::audio
