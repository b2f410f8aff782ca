// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tune_render.h"

#include <SDL.h>
#include <fluidsynth.h>

#include <fstream>
#include <iterator>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace pokopin::audio {
namespace {

// SDL2_mixer's decoder wrote a device buffer of 512 frames at a time and
// ended the music at the first buffer after the player stopped; so does this.
constexpr int kBlockFrames = 512;
constexpr int kSynthChannels = 2;
// SDL2_mixer drives FluidSynth at 1.2 times full music volume.
constexpr float kGain = 1.2f;
// A file that claims to last for hours would otherwise fill the memory; the
// game's tunes last under a minute.
constexpr int kMaxSeconds = 150;

// FluidSynth writes its complaints to stderr; a tune that cannot be played
// is silent, like every other sound the game cannot play.
void silenceFluidSynth()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level)
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

std::vector<char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

struct TuneRender::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    SDL_AudioStream* stream = nullptr;
    std::vector<std::int16_t> block = std::vector<std::int16_t>(kBlockFrames * kSynthChannels);
    std::vector<std::uint8_t> converted;
    long renderedFrames = 0;
    long maxFrames = 0;

    ~Fluid()
    {
        if (player != nullptr)
            delete_fluid_player(player);
        if (synth != nullptr)
            delete_fluid_synth(synth);
        if (settings != nullptr)
            delete_fluid_settings(settings);
        if (stream != nullptr)
            SDL_FreeAudioStream(stream);
    }

    // Moves what the converter holds into pcm.
    void drain(TunePcm& pcm)
    {
        const int ready = SDL_AudioStreamAvailable(stream);
        if (ready <= 0)
            return;
        converted.resize(static_cast<std::size_t>(ready));
        const int got = SDL_AudioStreamGet(stream, converted.data(), ready);
        if (got > 0)
            pcm.append(converted.data(), static_cast<std::size_t>(got));
    }
};

bool isMidiFile(const std::string& path)
{
    return fluid_is_midifile(path.c_str()) != 0;
}

TuneRender::TuneRender(const std::string& midiPath, const std::string& soundFonts,
                       DeviceFormat device, std::shared_ptr<TunePcm> into)
    : pcm_(into ? std::move(into) : std::make_shared<TunePcm>(device.channels))
{
    silenceFluidSynth();
    if (!isMidiFile(midiPath)) {
        pcm_->fail();
        return;
    }
    const std::vector<char> midi = readFile(midiPath);
    auto f = std::make_unique<Fluid>();
    f->settings = new_fluid_settings();
    if (f->settings == nullptr) {
        pcm_->fail();
        return;
    }
    fluid_settings_setnum(f->settings, "synth.sample-rate", device.rate);
    double rate = device.rate;
    fluid_settings_getnum(f->settings, "synth.sample-rate", &rate);
    // Only the samples of the instruments the tune selects are read: a
    // general MIDI SoundFont may hold well over 100 MB of them.
    fluid_settings_setint(f->settings, "synth.dynamic-sample-loading", 1);
    f->synth = new_fluid_synth(f->settings);
    if (f->synth == nullptr) {
        pcm_->fail();
        return;
    }
    std::string_view list = soundFonts;
    while (!list.empty()) {
        const auto cut = list.find_first_of(":;");
        const std::string one(list.substr(0, cut));
        if (!one.empty())
            fluid_synth_sfload(f->synth, one.c_str(), 1);
        if (cut == std::string_view::npos)
            break;
        list.remove_prefix(cut + 1);
    }
    f->player = new_fluid_player(f->synth);
    f->stream = SDL_NewAudioStream(AUDIO_S16SYS, kSynthChannels, static_cast<int>(rate),
                                   device.format, static_cast<Uint8>(device.channels), device.rate);
    if (fluid_synth_sfcount(f->synth) == 0 || f->player == nullptr || f->stream == nullptr
        || fluid_player_add_mem(f->player, midi.data(), midi.size()) != FLUID_OK) {
        pcm_->fail();
        return;
    }
    f->maxFrames = static_cast<long>(rate) * kMaxSeconds;
    fluid_synth_set_gain(f->synth, kGain);
    fluid_player_set_loop(f->player, 1);
    if (fluid_player_play(f->player) != FLUID_OK) {
        pcm_->fail();
        return;
    }
    fluid_ = std::move(f);
}

TuneRender::~TuneRender() = default;

bool TuneRender::done() const
{
    return !fluid_;
}

void TuneRender::step()
{
    if (!fluid_)
        return;
    Fluid& f = *fluid_;
    const int frames = f.renderedFrames == 0 ? kFirstStepFrames : kStepFrames;
    for (int written = 0; written < frames; written += kBlockFrames) {
        if (fluid_player_get_status(f.player) != FLUID_PLAYER_PLAYING
            || f.renderedFrames >= f.maxFrames) {
            if (SDL_AudioStreamFlush(f.stream) == 0)
                f.drain(*pcm_);
            pcm_->finish();
            release();
            return;
        }
        if (fluid_synth_write_s16(f.synth, kBlockFrames, f.block.data(), 0, 2, f.block.data(), 1, 2)
                != FLUID_OK
            || SDL_AudioStreamPut(f.stream, f.block.data(),
                                  static_cast<int>(f.block.size() * sizeof(std::int16_t)))
                   != 0) {
            pcm_->fail();
            release();
            return;
        }
        f.renderedFrames += kBlockFrames;
    }
    f.drain(*pcm_);
}

void TuneRender::release()
{
    fluid_.reset();
}

std::shared_ptr<TunePcm> renderTune(const std::string& midiPath, const std::string& soundFonts,
                                    DeviceFormat device)
{
    TuneRender render(midiPath, soundFonts, device);
    while (!render.done())
        render.step();
    return render.pcm();
}

}  // namespace pokopin::audio
