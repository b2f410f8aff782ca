// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

#include "device_format.h"

namespace pokopin::audio {

class Playhead;

// The SDL2_mixer device: SDL's audio subsystem, the device opened for 16-bit
// stereo at 44.1 kHz (or what the driver offers instead) with one mixing
// channel, for the effects, and the music stream, for the tunes. Without a
// usable driver nothing is open and nothing is printed.
class AudioDevice {
public:
    explicit AudioDevice(int bufferFrames);
    // Halts every sound and closes the device.
    ~AudioDevice();

    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    bool isOpen() const { return open_; }
    // What the device plays; none when it is closed or will not say.
    std::optional<DeviceFormat> format() const { return format_; }

    // Has the audio callback fill the music stream from playhead until the
    // device closes; playhead must outlive the device.
    void playMusicFrom(Playhead& playhead);

private:
    bool sdl_ = false;
    bool open_ = false;
    std::optional<DeviceFormat> format_;
};

}  // namespace pokopin::audio
