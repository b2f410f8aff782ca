// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "audio_backend.h"
#include "services.h"

namespace pokopin::audio {

// The game's five sound operations, turned into commands for an audio
// backend. Every file is looked up in the game's data folder (an absolute
// path), so a game started from another working directory still has its sounds.
class SdlSound : public game::Sound {
public:
    // Opens the SDL2_mixer device (silently none when there is no device),
    // loads the effects found in dataFolder and has both tunes rendered.
    explicit SdlSound(std::string dataFolder);
    SdlSound(std::string dataFolder, std::unique_ptr<AudioBackend> backend);
    ~SdlSound() override;

    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void playEffect(std::string_view fileName) override;
    void startTitleTune() override;
    void stopTitleTune() override;
    void startGameTune() override;
    void stopGameTune() override;

private:
    // The data folder joined with name, one separator between them.
    std::string pathOf(std::string_view name) const;
    std::string tunePath(Tune tune) const;
    void startTune(Tune tune);
    void stopTune(Tune tune);

    std::string folder_;
    std::unique_ptr<AudioBackend> backend_;
};

}  // namespace pokopin::audio
