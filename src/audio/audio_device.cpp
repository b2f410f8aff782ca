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
    if (!open(bufferFrames))
        return;
    DeviceFormat device;
    int channels = 0;
    if (Mix_QuerySpec(&device.rate, &device.format, &channels) == 0)
        return;
    device.channels = channels;
    format_ = device;
}

bool AudioDevice::open(int bufferFrames)
{
    // The first time, the driver may choose the rate and the channels; after
    // that the device must keep the format everything was made for, and SDL
    // converts should the driver offer another.
    const DeviceFormat want = format_.value_or(DeviceFormat{});
    const int changes =
        format_ ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE;
    open_ =
        Mix_OpenAudioDevice(want.rate, want.format, want.channels, bufferFrames, nullptr, changes)
        == 0;
    if (!open_)
        return false;
    bufferFrames_ = bufferFrames;
    // One channel: a new effect cuts off the one still sounding.
    Mix_AllocateChannels(1);
    // SDL_mixer keeps the music hook over a reopen today; setting it again
    // does not depend on that.
    if (playhead_)
        Mix_HookMusic(&fillMusic, playhead_);
    return true;
}

void AudioDevice::setBufferFrames(int bufferFrames)
{
    if (!open_ || bufferFrames == bufferFrames_)
        return;
    const int before = bufferFrames_;
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    if (!open(bufferFrames))
        open(before);
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
    playhead_ = &playhead;
    if (open_)
        Mix_HookMusic(&fillMusic, &playhead);
}

}  // namespace pokopin::audio
