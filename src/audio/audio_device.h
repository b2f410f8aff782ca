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
//
// The buffer size sets how long an effect may wait for the next callback,
// and how often the audio thread wakes: it can be changed while open.
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

    // Opens the device again with a buffer of bufferFrames, in the format it
    // has now, so that the effects and tunes made for it still fit. The
    // effect sounding is cut off; the music goes on where it was. Should the
    // new size be refused, the old one is taken again, and should that fail
    // too, the device is left closed.
    void setBufferFrames(int bufferFrames);

private:
    bool open(int bufferFrames);

    bool sdl_ = false;
    bool open_ = false;
    int bufferFrames_ = 0;
    std::optional<DeviceFormat> format_;
    Playhead* playhead_ = nullptr;
};

}  // namespace pokopin::audio
