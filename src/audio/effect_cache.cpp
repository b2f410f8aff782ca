// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "effect_cache.h"

#include <SDL_mixer.h>

namespace pokopin::audio {
namespace {

constexpr int kEffectChannel = 0;

}  // namespace

void EffectCache::FreeChunk::operator()(Mix_Chunk* chunk) const
{
    Mix_FreeChunk(chunk);
}

EffectCache::~EffectCache()
{
    // Halted first, so that no chunk is freed while it sounds.
    if (!chunks_.empty())
        Mix_HaltChannel(-1);
}

void EffectCache::load(const std::string& path)
{
    if (chunks_.count(path) != 0)
        return;
    if (Mix_Chunk* chunk = Mix_LoadWAV(path.c_str()))
        chunks_.emplace(path, chunk);
}

void EffectCache::play(const std::string& path)
{
    auto it = chunks_.find(path);
    if (it == chunks_.end()) {
        // Missing at start-up; it may be there now. A failed look-up is a
        // single failed open, so trying again each time costs nothing.
        load(path);
        it = chunks_.find(path);
        if (it == chunks_.end())
            return;
    }
    Mix_PlayChannel(kEffectChannel, it->second.get(), 0);
}

}  // namespace pokopin::audio
