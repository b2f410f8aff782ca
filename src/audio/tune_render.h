// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>

#include "device_format.h"
#include "tune_pcm.h"

namespace pokopin::audio {

// Synthesises one MIDI tune into a TunePcm, a slice at a time, with a
// FluidSynth of its own: the SoundFonts and settings SDL2_mixer's MIDI decoder
// uses (gain 1.2 at full music volume, stereo 16-bit at the device's rate,
// converted to the device's format), and it ends where that decoder stops
// the music, at the tune's last event. The synthesiser and its SoundFont are
// freed as soon as the tune is complete.
//
// Everything happens on the thread that calls the constructor and step().
class TuneRender {
public:
    // soundFonts: paths separated by ':' or ';', the last one on top. When the
    // file cannot be read or no SoundFont loads, the render is done at once
    // and its PCM has failed.
    // The PCM goes into `into` when given, so that it can be handed out
    // before the render begins.
    TuneRender(const std::string& midiPath, const std::string& soundFonts, DeviceFormat device,
               std::shared_ptr<TunePcm> into = nullptr);
    ~TuneRender();

    TuneRender(const TuneRender&) = delete;
    TuneRender& operator=(const TuneRender&) = delete;

    // Synthesises about kStepFrames more (kFirstStepFrames the first time,
    // so that the tune can start at once); completes the PCM at the tune's end.
    void step();
    bool done() const;
    std::shared_ptr<TunePcm> pcm() const { return pcm_; }

    // Frames per step: a few milliseconds of work, so that tune commands
    // queued behind a step wait no longer than that.
    static constexpr int kStepFrames = 4096;
    static constexpr int kFirstStepFrames = 1024;

private:
    void release();

    struct Fluid;
    std::unique_ptr<Fluid> fluid_;
    std::shared_ptr<TunePcm> pcm_;
};

// True when path names a readable Standard MIDI File.
bool isMidiFile(const std::string& path);

// Synthesises a whole tune at once.
std::shared_ptr<TunePcm> renderTune(const std::string& midiPath, const std::string& soundFonts,
                                    DeviceFormat device);

}  // namespace pokopin::audio
