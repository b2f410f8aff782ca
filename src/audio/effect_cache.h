// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

struct Mix_Chunk;

namespace pokopin::audio {

// The effects, each read once into an SDL2_mixer chunk and played from there
// on the device's one channel, so a new effect cuts off the one still
// sounding. Only for an open device, and all on the thread that plays them:
// a hit must sound at once. Destroy it before the device closes.
class EffectCache {
public:
    EffectCache() = default;
    ~EffectCache();

    EffectCache(const EffectCache&) = delete;
    EffectCache& operator=(const EffectCache&) = delete;

    // Makes a later play(path) start without reading the file.
    void load(const std::string& path);
    // An effect missing so far is looked for again.
    void play(const std::string& path);
    int size() const { return static_cast<int>(chunks_.size()); }

private:
    struct FreeChunk {
        void operator()(Mix_Chunk* chunk) const;
    };
    std::map<std::string, std::unique_ptr<Mix_Chunk, FreeChunk>, std::less<>> chunks_;
};

}  // namespace pokopin::audio
