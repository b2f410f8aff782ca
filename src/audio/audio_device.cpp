// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstddef>
#include <cstdint>

#include "tune_pcm.h"

namespace pokopin::audio {
namespace {

// SDL2_mixer's music hook, on the audio thread: the stream holds silence,
// and effects are mixed over the music afterwards.
extern "C" void fillMusic(void* playhead, Uint8* stream, int len)
{
    static_cast<Playhead*>(playhead)->fill(stream, static_cast<std::size_t>(len));
}

}  // namespace

AudioDevice::AudioDevice(int bufferFrames)
{
    // SDL must not take over SIGINT and SIGTERM from the rest of the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, "Pokopin");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    sdl_ = true;
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, bufferFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE)
        != 0)
        return;
    open_ = true;
    // One channel: a new effect cuts off the one still sounding.
    Mix_AllocateChannels(1);
    DeviceFormat device;
    int channels = 0;
    if (Mix_QuerySpec(&device.rate, &device.format, &channels) == 0)
        return;
    device.channels = channels;
    format_ = device;
}

AudioDevice::~AudioDevice()
{
    if (open_) {
        Mix_HaltChannel(-1);
        Mix_HookMusic(nullptr, nullptr);
        Mix_CloseAudio();
    }
    if (sdl_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::playMusicFrom(Playhead& playhead)
{
    if (open_)
        Mix_HookMusic(&fillMusic, &playhead);
}

}  // namespace pokopin::audio
