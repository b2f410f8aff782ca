// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <SDL_audio.h>

namespace pokopin::audio {

// What the audio device plays, and so what each tune is rendered into.
struct DeviceFormat {
    int rate = 44100;
    SDL_AudioFormat format = AUDIO_S16SYS;
    int channels = 2;
};

}  // namespace pokopin::audio
