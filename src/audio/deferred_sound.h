// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "services.h"

namespace pokopin::audio {

// Stands in for the game's sound until open() makes the real one, so that
// opening the device and synthesising the tunes can wait until the window
// is on screen: on a machine of few cores that work would otherwise hold up
// the first frame.
//
// The tune commands given before open() are carried out by the real sound,
// in the order given, as soon as it exists. Effects given before then are
// dropped: played late they would no longer belong to what caused them.
class DeferredSound final : public game::Sound {
public:
    using Maker = std::function<std::unique_ptr<game::Sound>()>;

    explicit DeferredSound(Maker make);
    ~DeferredSound() override;

    DeferredSound(const DeferredSound&) = delete;
    DeferredSound& operator=(const DeferredSound&) = delete;

    // Makes the real sound and hands it the waiting tune commands; later
    // calls do nothing.
    void open();
    bool isOpen() const { return real_ != nullptr; }

    void playEffect(game::Effect effect) override;
    void startTitleTune() override;
    void stopTitleTune() override;
    void startGameTune() override;
    void stopGameTune() override;

private:
    using TuneCommand = void (game::Sound::*)();
    void tuneCommand(TuneCommand command);

    Maker make_;
    std::unique_ptr<game::Sound> real_;
    std::vector<TuneCommand> waiting_;
};

}  // namespace pokopin::audio
