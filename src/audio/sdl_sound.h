// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
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
    // loads the game's effects found in dataFolder and has both tunes rendered.
    explicit SdlSound(std::filesystem::path dataFolder);
    SdlSound(std::filesystem::path dataFolder, std::unique_ptr<AudioBackend> backend);
    ~SdlSound() override;

    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void playEffect(game::Effect effect) override;
    // Any effect file of the data folder, by name: for tools and tests that
    // play files of their own.
    void playEffect(std::string_view fileName);
    void startTitleTune() override;
    void stopTitleTune() override;
    void startGameTune() override;
    void stopGameTune() override;

private:
    std::string pathOf(std::string_view name) const;
    std::string tunePath(Tune tune) const;
    void startTune(Tune tune);
    void stopTune(Tune tune);

    std::filesystem::path folder_;
    std::unique_ptr<AudioBackend> backend_;
};

}  // namespace pokopin::audio
