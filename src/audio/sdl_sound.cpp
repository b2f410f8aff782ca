// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sdl_sound.h"

#include <utility>

#include "effects.h"
#include "mixer_backend.h"

namespace pokopin::audio {

std::string_view tuneAlias(Tune tune)
{
    return tune == Tune::Title ? "moguana" : "mogu20";
}

SdlSound::SdlSound(std::filesystem::path dataFolder)
    : SdlSound(std::move(dataFolder), std::make_unique<MixerBackend>())
{}

SdlSound::SdlSound(std::filesystem::path dataFolder, std::unique_ptr<AudioBackend> backend)
    : folder_(std::move(dataFolder)), backend_(std::move(backend))
{
    // Loading every effect up front keeps file reading out of the moment a
    // mole is hit.
    for (game::Effect effect : game::kEffects)
        backend_->loadEffect(pathOf(game::effectFile(effect)));
    // Both tunes are synthesised now, the title tune first, so that the
    // synthesiser can be let go long before anyone starts a game.
    for (Tune tune : {Tune::Title, Tune::Game})
        backend_->loadTune(tune, tunePath(tune));
}

SdlSound::~SdlSound() = default;

std::string SdlSound::pathOf(std::string_view name) const
{
    return (folder_ / name).string();
}

void SdlSound::playEffect(game::Effect effect)
{
    playEffect(game::effectFile(effect));
}

void SdlSound::playEffect(std::string_view fileName)
{
    backend_->playEffect(pathOf(fileName));
}

std::string SdlSound::tunePath(Tune tune) const
{
    return pathOf(std::string(tuneAlias(tune)) + ".mid");
}

void SdlSound::startTune(Tune tune)
{
    backend_->openTune(tune, tunePath(tune));
    backend_->playTune(tune);
}

void SdlSound::stopTune(Tune tune)
{
    backend_->stopTune(tune);
    backend_->closeTune(tune);
}

void SdlSound::startTitleTune()
{
    startTune(Tune::Title);
}

void SdlSound::stopTitleTune()
{
    stopTune(Tune::Title);
}

void SdlSound::startGameTune()
{
    startTune(Tune::Game);
}

void SdlSound::stopGameTune()
{
    stopTune(Tune::Game);
}

}  // namespace pokopin::audio
