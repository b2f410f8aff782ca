// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <string>

#include "audio_backend.h"

namespace pokopin::audio {

// The real device: effects on one SDL2_mixer channel, tunes on its music
// stream. There is only one music stream, so playing one tune while the other
// sounds stops the other.
//
// Each tune is synthesised from its MIDI file once, by FluidSynth, into PCM
// kept for the life of the backend; every later play reads that PCM, so a
// tune that plays costs the audio thread no more than a copy. The rendering
// and the tune commands are carried out in order on a thread of their own,
// and the commands return at once. A tune may start while its rendering is
// still under way: the rendering runs far faster than the music plays.
// Effects are played on the calling thread: a hit must sound at once.
// Commands and queries all come from one thread.
//
// Without an audio device (or with SDL_AUDIODRIVER naming none that works)
// every command does nothing; nothing is printed either way.
class MixerBackend final : public AudioBackend {
public:
    // 11.6 ms at 44.1 kHz: a hit is in the stream at most one buffer after
    // its key. The callback only copies samples (the tunes are rendered
    // beforehand), so waking this often while the title tune plays costs
    // little; 256 would halve the wait again for about twice the idle CPU.
    // One size for good: a device reopened with a longer buffer between
    // games would wake less often, but SDL lets the old device drain before
    // it closes, which held up a game's start by 50 ms with SDL's own
    // drivers and by up to 0.4 s through PulseAudio.
    static constexpr int kDefaultBufferFrames = 512;

    // Called on the tune thread with the path, right before each tune is read
    // for rendering.
    using TuneLoadHook = std::function<void(const std::string& path)>;

    explicit MixerBackend(int bufferFrames = kDefaultBufferFrames, TuneLoadHook beforeLoad = {});
    // Carries out the tune commands still waiting, then closes the device.
    ~MixerBackend() override;

    MixerBackend(const MixerBackend&) = delete;
    MixerBackend& operator=(const MixerBackend&) = delete;

    void loadEffect(const std::string& path) override;
    void playEffect(const std::string& path) override;
    void loadTune(Tune tune, const std::string& path) override;
    void openTune(Tune tune, const std::string& path) override;
    void playTune(Tune tune) override;
    void stopTune(Tune tune) override;
    void closeTune(Tune tune) override;

    // Returns once every tune command given so far has been carried out and
    // every tune loaded or opened so far is rendered.
    void settle();

    bool deviceOpen() const;
    // These two answer after every tune command given before them.
    bool tuneOpen(Tune tune) const;
    bool tunePlaying(Tune tune) const;  // started and not yet finished or stopped
    int effectsLoaded() const;

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace pokopin::audio
