// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mixer_backend.h"

#include <SDL.h>

#include <array>
#include <optional>
#include <system_error>
#include <utility>

#include "alsa_quiet.h"
#include "audio_device.h"
#include "command_queue.h"
#include "effect_cache.h"
#include "soundfont.h"
#include "tune_pcm.h"
#include "tune_schedule.h"

namespace pokopin::audio {
namespace {

std::size_t indexOf(Tune t)
{
    return t == Tune::Title ? 0 : 1;
}

int tagOf(Tune t)
{
    return static_cast<int>(indexOf(t));
}

// The tune commands on the one music stream, carried out on the tune thread.
class TuneSlots {
public:
    TuneSlots(TuneSchedule& schedule, Playhead& playhead) : schedule_(schedule), playhead_(playhead)
    {}

    void load(Tune tune, const std::string& path) { schedule_.load(tune, path); }

    void open(Tune tune, const std::string& path)
    {
        if (open_[indexOf(tune)])
            return;
        // A tune whose render has not begun yet counts as open; should it
        // fail later, it plays as silence.
        open_[indexOf(tune)] = schedule_.load(tune, path)->state() != TunePcm::State::Failed;
    }

    void play(Tune tune)
    {
        if (!open_[indexOf(tune)])
            return;
        playhead_.play(schedule_.pcm(tune), tagOf(tune));
        onStream_ = tune;
    }

    void stop(Tune tune)
    {
        // Only the tune that holds the stream may halt it: stopping a tune that
        // is not open, or was displaced by the other one, must not cut off the
        // tune that is sounding now.
        if (!open_[indexOf(tune)] || onStream_ != tune)
            return;
        playhead_.stop();
        onStream_.reset();
    }

    void close(Tune tune)
    {
        stop(tune);
        open_[indexOf(tune)] = false;
    }

    bool isOpen(Tune tune) const { return open_[indexOf(tune)]; }
    bool isPlaying(Tune tune) const
    {
        return onStream_ == tune && playhead_.playing() == tagOf(tune);
    }

private:
    TuneSchedule& schedule_;
    Playhead& playhead_;
    std::array<bool, 2> open_{};
    std::optional<Tune> onStream_;  // the tune most recently started on the music stream
};

}  // namespace

// Declared in the order they are needed; destroyed in reverse, so the device
// is closed before the playhead it calls goes, and the effects are freed
// before the device closes.
struct MixerBackend::State {
    explicit State(int bufferFrames) : device(bufferFrames) {}

    AlsaQuiet alsa;
    Playhead playhead;  // the audio callback's
    AudioDevice device;
    EffectCache effects;                     // the calling thread's
    std::unique_ptr<TuneSchedule> schedule;  // the tune thread's, as are the slots
    std::unique_ptr<TuneSlots> tunes;
    std::unique_ptr<CommandQueue> tuneThread;  // while the device is open
};

MixerBackend::MixerBackend(int bufferFrames, TuneLoadHook beforeLoad)
    : s_(std::make_unique<State>(bufferFrames))
{
    const std::optional<DeviceFormat> format = s_->device.format();
    if (!format)
        return;
    try {
        s_->tuneThread = std::make_unique<CommandQueue>("pokopin-tunes");
    } catch (const std::system_error&) {
        // No thread to render tunes on: the game goes on without music.
        return;
    }
    s_->schedule = std::make_unique<TuneSchedule>(*s_->tuneThread, chooseSoundFonts(), *format,
                                                  std::move(beforeLoad));
    s_->tunes = std::make_unique<TuneSlots>(*s_->schedule, s_->playhead);
    s_->device.playMusicFrom(s_->playhead);
}

MixerBackend::~MixerBackend()
{
    if (s_->tuneThread) {
        s_->tuneThread->post([t = s_->schedule.get()] { t->abandon(); });
        // SDL keeps an error buffer for every thread that sets or clears an
        // error, and frees it by itself only for threads it started.
        s_->tuneThread->post([] { SDL_TLSCleanup(); });
        s_->tuneThread.reset();
    }
}

void MixerBackend::loadEffect(const std::string& path)
{
    if (s_->device.isOpen())
        s_->effects.load(path);
}

void MixerBackend::playEffect(const std::string& path)
{
    if (s_->device.isOpen())
        s_->effects.play(path);
}

void MixerBackend::loadTune(Tune tune, const std::string& path)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = s_->tunes.get(), tune, path] { t->load(tune, path); });
}

void MixerBackend::openTune(Tune tune, const std::string& path)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = s_->tunes.get(), tune, path] { t->open(tune, path); });
}

void MixerBackend::playTune(Tune tune)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = s_->tunes.get(), tune] { t->play(tune); });
}

void MixerBackend::stopTune(Tune tune)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = s_->tunes.get(), tune] { t->stop(tune); });
}

void MixerBackend::closeTune(Tune tune)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = s_->tunes.get(), tune] { t->close(tune); });
}

void MixerBackend::settle()
{
    if (s_->tuneThread)
        s_->tuneThread->settle();
}

bool MixerBackend::deviceOpen() const
{
    return s_->device.isOpen();
}

bool MixerBackend::tuneOpen(Tune tune) const
{
    return s_->tuneThread
           && s_->tuneThread->ask([t = s_->tunes.get(), tune] { return t->isOpen(tune); });
}

bool MixerBackend::tunePlaying(Tune tune) const
{
    return s_->tuneThread
           && s_->tuneThread->ask([t = s_->tunes.get(), tune] { return t->isPlaying(tune); });
}

int MixerBackend::effectsLoaded() const
{
    return s_->effects.size();
}

}  // namespace pokopin::audio
