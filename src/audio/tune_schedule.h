// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "audio_backend.h"
#include "device_format.h"

namespace pokopin::audio {

class CommandQueue;
class TunePcm;
class TuneRender;

// Has each tune synthesised once into PCM, one after another, on the tune
// thread at a low priority: a slice per queued step, so that tune commands
// go in between. Every member is called on that thread, except the
// constructor.
class TuneSchedule {
public:
    // Called with the path right before each tune is read for rendering.
    using LoadHook = std::function<void(const std::string& path)>;

    TuneSchedule(CommandQueue& thread, std::string soundFonts, DeviceFormat device,
                 LoadHook beforeLoad);
    ~TuneSchedule();

    TuneSchedule(const TuneSchedule&) = delete;
    TuneSchedule& operator=(const TuneSchedule&) = delete;

    // The tune's PCM, possibly still being rendered. The file is read once:
    // a tune missing or broken at start stays silent until the next start,
    // and one replaced meanwhile plays from then on. A path that names no
    // MIDI file gives a PCM that has failed.
    std::shared_ptr<TunePcm> load(Tune tune, const std::string& path);
    std::shared_ptr<TunePcm> pcm(Tune tune) const;

    // Renders nothing more: the program is ending.
    void abandon();

private:
    struct Cached {
        std::string path;
        std::shared_ptr<TunePcm> pcm;
    };
    struct Job {
        std::string path;
        std::shared_ptr<TunePcm> pcm;
    };

    void beginNext();
    void step();

    CommandQueue& thread_;
    std::string soundFonts_;
    DeviceFormat device_;
    LoadHook beforeLoad_;
    std::array<Cached, 2> cache_;
    std::deque<Job> waiting_;
    std::unique_ptr<TuneRender> rendering_;
    bool stepQueued_ = false;
    std::optional<std::chrono::steady_clock::time_point> firstBegun_;
};

}  // namespace pokopin::audio
