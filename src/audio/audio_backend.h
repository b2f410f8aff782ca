// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace pokopin::audio {

// The two background tunes, each a device of its own in the command model:
// opened from a file, played, stopped and closed under its alias.
enum class Tune { Title, Game };

// "moguana" / "mogu20": the alias in commands and the file name without ".mid".
std::string_view tuneAlias(Tune tune);

// What the sound operations ask of an audio device. Paths are complete.
// Mirrors the command model the game was designed around: a command that
// cannot be carried out (a tune that is not open, a file that cannot be read,
// no device) does nothing and reports nothing.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Makes a later playEffect(path) start without reading the file.
    virtual void loadEffect(const std::string& path) = 0;
    // Starts the effect at once; an effect still sounding is cut off.
    virtual void playEffect(const std::string& path) = 0;
    // Makes a later openTune(tune, path) and every play after it start
    // without reading or synthesising the file.
    virtual void loadTune(Tune tune, const std::string& path) = 0;
    virtual void openTune(Tune tune, const std::string& path) = 0;
    virtual void playTune(Tune tune) = 0;  // from the start, once
    virtual void stopTune(Tune tune) = 0;
    virtual void closeTune(Tune tune) = 0;
};

}  // namespace pokopin::audio
