// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "deferred_sound.h"

#include <utility>

namespace pokopin::audio {

DeferredSound::DeferredSound(Maker make) : make_(std::move(make)) {}

DeferredSound::~DeferredSound() = default;

void DeferredSound::open()
{
    if (real_ || !make_)
        return;
    real_ = std::exchange(make_, {})();
    if (!real_)
        return;
    for (TuneCommand command : std::exchange(waiting_, {}))
        (real_.get()->*command)();
}

void DeferredSound::tuneCommand(TuneCommand command)
{
    if (real_)
        (real_.get()->*command)();
    else if (make_)
        waiting_.push_back(command);
}

void DeferredSound::playEffect(game::Effect effect)
{
    if (real_)
        real_->playEffect(effect);
}

void DeferredSound::startTitleTune()
{
    tuneCommand(&game::Sound::startTitleTune);
}

void DeferredSound::stopTitleTune()
{
    tuneCommand(&game::Sound::stopTitleTune);
}

void DeferredSound::startGameTune()
{
    tuneCommand(&game::Sound::startGameTune);
}

void DeferredSound::stopGameTune()
{
    tuneCommand(&game::Sound::stopGameTune);
}

}  // namespace pokopin::audio
