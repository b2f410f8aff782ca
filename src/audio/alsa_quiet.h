// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace pokopin::audio {

// alsa-lib writes its own messages to stderr when there is no sound card
// ("cannot find card '0'", "Unknown PCM default"). The game has no sound
// card to complain about, so they are switched off for this process while
// the object lives. Without alsa-lib it does nothing.
class AlsaQuiet {
public:
    AlsaQuiet();
    ~AlsaQuiet();

    AlsaQuiet(const AlsaQuiet&) = delete;
    AlsaQuiet& operator=(const AlsaQuiet&) = delete;

private:
    void* lib_ = nullptr;
};

}  // namespace pokopin::audio
