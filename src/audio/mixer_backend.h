#pragma once

#include <memory>
#include <string>

#include "audio_backend.h"

namespace pokopin::audio {

// The real device: effects on one SDL2_mixer channel, tunes on its music
// stream through the FluidSynth MIDI decoder. There is only one music stream,
// so playing one tune while the other sounds stops the other.
//
// Without an audio device (or with SDL_AUDIODRIVER naming none that works)
// every command does nothing; nothing is printed either way.
class MixerBackend final : public AudioBackend {
public:
    static constexpr int kDefaultBufferFrames = 512;

    explicit MixerBackend(int bufferFrames = kDefaultBufferFrames);
    ~MixerBackend() override;

    MixerBackend(const MixerBackend&) = delete;
    MixerBackend& operator=(const MixerBackend&) = delete;

    void loadEffect(const std::string& path) override;
    void playEffect(const std::string& path) override;
    void openTune(Tune tune, const std::string& path) override;
    void playTune(Tune tune) override;
    void stopTune(Tune tune) override;
    void closeTune(Tune tune) override;

    bool deviceOpen() const;
    bool tuneOpen(Tune tune) const;
    bool tunePlaying(Tune tune) const;  // started and not yet finished or stopped
    int effectsLoaded() const;

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace pokopin::audio
