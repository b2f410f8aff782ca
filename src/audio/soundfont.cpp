// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "soundfont.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <array>
#include <string_view>

namespace pokopin::audio {
namespace {

constexpr std::array<const char*, 4> kSoundFonts = {
    "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};

bool anyReadable(std::string_view list)
{
    while (!list.empty()) {
        const auto cut = list.find_first_of(":;");
        const std::string one(list.substr(0, cut));
        if (!one.empty() && ::access(one.c_str(), R_OK) == 0)
            return true;
        if (cut == std::string_view::npos)
            break;
        list.remove_prefix(cut + 1);
    }
    return false;
}

}  // namespace

std::string chooseSoundFonts()
{
    const char* fromUser = SDL_getenv("SDL_SOUNDFONTS");
    if (fromUser != nullptr && *fromUser != '\0')
        return fromUser;
    const char* fromLibrary = Mix_GetSoundFonts();
    if (fromLibrary != nullptr && anyReadable(fromLibrary))
        return fromLibrary;
    for (const char* path : kSoundFonts) {
        if (::access(path, R_OK) == 0)
            return path;  // one only: with several, the last one wins
    }
    return {};
}

}  // namespace pokopin::audio
