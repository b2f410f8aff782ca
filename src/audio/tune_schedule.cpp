// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tune_schedule.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "command_queue.h"
#include "tune_pcm.h"
#include "tune_render.h"

namespace pokopin::audio {
namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);

std::size_t indexOf(Tune t)
{
    return t == Tune::Title ? 0 : 1;
}

}  // namespace

TuneSchedule::TuneSchedule(CommandQueue& thread, std::string soundFonts, DeviceFormat device,
                           LoadHook beforeLoad)
    : thread_(thread),
      soundFonts_(std::move(soundFonts)),
      device_(device),
      beforeLoad_(std::move(beforeLoad))
{
    // The title tune is rendered while the window is being shown; on a
    // machine with two cores that work should take only what the window
    // leaves. It stays far ahead of the playhead even so.
    thread_.post([] { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); });
}

TuneSchedule::~TuneSchedule() = default;

std::shared_ptr<TunePcm> TuneSchedule::load(Tune tune, const std::string& path)
{
    Cached& c = cache_[indexOf(tune)];
    if (c.pcm && c.path == path)
        return c.pcm;
    if (beforeLoad_)
        beforeLoad_(path);
    c = {path, std::make_shared<TunePcm>(device_.channels)};
    if (!isMidiFile(path)) {
        c.pcm->fail();
        return c.pcm;
    }
    waiting_.push_back({path, c.pcm});
    beginNext();
    return c.pcm;
}

std::shared_ptr<TunePcm> TuneSchedule::pcm(Tune tune) const
{
    return cache_[indexOf(tune)].pcm;
}

void TuneSchedule::abandon()
{
    waiting_.clear();
    rendering_.reset();
}

// Begins the next waiting render when none is under way, and keeps one step
// of it queued.
void TuneSchedule::beginNext()
{
    while (!rendering_ && !waiting_.empty()) {
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        rendering_ = std::make_unique<TuneRender>(job.path, soundFonts_, device_, job.pcm);
        if (rendering_->done())
            rendering_.reset();
    }
    if (rendering_ && !stepQueued_) {
        stepQueued_ = true;
        if (!firstBegun_)
            firstBegun_ = std::chrono::steady_clock::now();
        const auto quietUntil = *firstBegun_ + kQuietStart;
        // The first tune is rendered while the main window is being shown: a
        // second ahead is enough for the time that takes, and the rest can
        // wait until the window is up.
        const auto secondAhead = static_cast<std::size_t>(device_.rate)
                                 * static_cast<std::size_t>(device_.channels)
                                 * sizeof(std::int16_t);
        if (std::chrono::steady_clock::now() < quietUntil
            && rendering_->pcm()->size() >= secondAhead)
            thread_.postAt(quietUntil, [this] { step(); });
        else
            thread_.post([this] { step(); });
    }
}

void TuneSchedule::step()
{
    stepQueued_ = false;
    if (!rendering_)
        return;
    rendering_->step();
    if (rendering_->done())
        rendering_.reset();  // frees its synthesiser and SoundFont
    beginNext();
    // The SoundFont leaves holes among the tunes' blocks that the heap keeps
    // unless asked to give them back.
    if (!rendering_)
        ::malloc_trim(0);
}

}  // namespace pokopin::audio
