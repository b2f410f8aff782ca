// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tune_pcm.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pokopin::audio {

TunePcm::TunePcm(int channels) : channels_(std::clamp(channels, 1, kMaxChannels)) {}

void TunePcm::append(const std::uint8_t* data, std::size_t bytes)
{
    const std::size_t perBlock = blockSamples();
    std::size_t count = bytes / sizeof(std::int16_t);
    while (count > 0) {
        const std::size_t block = samples_ / perBlock;
        if (block >= kMaxBlocks)
            break;
        if (!blocks_[block]) {
            blocks_[block] = std::make_unique_for_overwrite<std::int16_t[]>(perBlock);
            blockCount_.store(block + 1, std::memory_order_relaxed);
        }
        const std::size_t at = samples_ % perBlock;
        const std::size_t n = std::min(count, perBlock - at);
        std::memcpy(blocks_[block].get() + at, data, n * sizeof(std::int16_t));
        data += n * sizeof(std::int16_t);
        count -= n;
        samples_ += n;
    }
    // The samples and the blocks they are in are written before the count
    // that lets a reader at them.
    frames_.store(samples_ / static_cast<std::size_t>(channels_), std::memory_order_release);
}

void TunePcm::finish()
{
    const bool empty = frames_.load(std::memory_order_relaxed) == 0;
    state_.store(empty ? State::Failed : State::Done, std::memory_order_release);
}

void TunePcm::fail()
{
    state_.store(State::Failed, std::memory_order_release);
}

std::size_t TunePcm::read(std::size_t offset, std::uint8_t* out, std::size_t bytes) const
{
    const auto channels = static_cast<std::size_t>(channels_);
    const std::size_t frameBytes = channels * sizeof(std::int16_t);
    const std::size_t ready = frames_.load(std::memory_order_acquire);
    std::size_t frame = offset / frameBytes;
    if (frame >= ready)
        return 0;
    const std::size_t wanted = std::min(bytes / frameBytes, ready - frame);
    std::size_t done = 0;
    while (done < wanted) {
        const std::size_t from = frame % kBlockFrames;
        const std::size_t n = std::min(wanted - done, kBlockFrames - from);
        std::memcpy(out + done * frameBytes, blocks_[frame / kBlockFrames].get() + from * channels,
                    n * frameBytes);
        done += n;
        frame += n;
    }
    return done * frameBytes;
}

std::size_t TunePcm::size() const
{
    return frames_.load(std::memory_order_acquire) * static_cast<std::size_t>(channels_)
           * sizeof(std::int16_t);
}

std::size_t TunePcm::heldBytes() const
{
    return blockCount_.load(std::memory_order_relaxed) * blockSamples() * sizeof(std::int16_t)
           + sizeof(*this);
}

TunePcm::State TunePcm::state() const
{
    return state_.load(std::memory_order_acquire);
}

void Playhead::publish(std::shared_ptr<const TunePcm> pcm, int tag)
{
    // The callback never goes back to a cue older than the one it last
    // reported, so those can go; this thread frees them, not the callback.
    const auto reported =
        static_cast<std::uint32_t>(progress_.load(std::memory_order_acquire) >> 32);
    const auto current = std::find_if(cues_.begin(), cues_.end(),
                                      [&](const auto& c) { return c->serial == reported; });
    if (current != cues_.end())
        cues_.erase(cues_.begin(), current);
    cues_.push_back(std::make_unique<Cue>(Cue{std::move(pcm), tag, nextSerial_++}));
    latest_.store(cues_.back().get(), std::memory_order_release);
}

void Playhead::play(std::shared_ptr<const TunePcm> pcm, int tag)
{
    publish(std::move(pcm), tag);
}

void Playhead::stop()
{
    publish(nullptr, 0);
}

std::optional<int> Playhead::playing() const
{
    if (cues_.empty() || !cues_.back()->pcm)
        return std::nullopt;
    const Cue& cue = *cues_.back();
    // The state first: once the render is over, the size read after it is final.
    const TunePcm::State state = cue.pcm->state();
    const std::uint64_t progress = progress_.load(std::memory_order_acquire);
    const std::size_t played =
        (progress >> 32) == cue.serial ? static_cast<std::size_t>(progress & 0xffffffff) : 0;
    const std::size_t frameBytes =
        static_cast<std::size_t>(cue.pcm->channels()) * sizeof(std::int16_t);
    if (state != TunePcm::State::Rendering && played * frameBytes >= cue.pcm->size())
        return std::nullopt;
    return cue.tag;
}

void Playhead::fill(std::uint8_t* out, std::size_t len)
{
    const Cue* cue = latest_.load(std::memory_order_acquire);
    if (cue == nullptr)
        return;
    if (cue->serial != serial_) {
        serial_ = cue->serial;
        position_ = 0;
    }
    std::size_t frames = 0;
    if (cue->pcm) {
        position_ += cue->pcm->read(position_, out, len);
        frames =
            position_ / (static_cast<std::size_t>(cue->pcm->channels()) * sizeof(std::int16_t));
    }
    progress_.store(std::uint64_t{serial_} << 32 | (frames & 0xffffffff),
                    std::memory_order_release);
}

}  // namespace pokopin::audio
