// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tune_pcm.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace pokopin::audio {
namespace {

// Differences of 16-bit samples need 17 bits; folding the sign into the
// lowest bit keeps small ones of either sign small.
std::uint32_t fold(int d)
{
    return d >= 0 ? static_cast<std::uint32_t>(d) << 1 : (static_cast<std::uint32_t>(-d) << 1) - 1;
}

int unfold(std::uint32_t u)
{
    return (u & 1) != 0 ? -static_cast<int>((u + 1) >> 1) : static_cast<int>(u >> 1);
}

constexpr int kMaxChannels = 8;

}  // namespace

TunePcm::TunePcm(int channels) : channels_(std::clamp(channels, 1, kMaxChannels)) {}

void TunePcm::append(const std::uint8_t* data, std::size_t bytes)
{
    std::lock_guard lock(mutex_);
    const std::size_t at = pending_.size();
    pending_.resize(at + bytes / sizeof(std::int16_t));
    std::memcpy(pending_.data() + at, data, bytes / sizeof(std::int16_t) * sizeof(std::int16_t));
    const std::size_t groupSamples = static_cast<std::size_t>(kGroupFrames * channels_);
    std::size_t done = 0;
    while (pending_.size() - done >= groupSamples) {
        packGroup(pending_.data() + done, kGroupFrames);
        done += groupSamples;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
}

void TunePcm::finish()
{
    std::lock_guard lock(mutex_);
    const auto frames = static_cast<int>(pending_.size() / static_cast<std::size_t>(channels_));
    if (frames > 0)
        packGroup(pending_.data(), frames);
    pending_.clear();
    pending_.shrink_to_fit();
    state_ = frames_ == 0 ? State::Failed : State::Done;
}

void TunePcm::fail()
{
    std::lock_guard lock(mutex_);
    state_ = State::Failed;
}

// Per channel: one byte of width, the first sample in two bytes, then the
// count - 1 folded differences at that width, least significant bit first.
void TunePcm::packGroup(const std::int16_t* frames, int count)
{
    const std::size_t most =
        static_cast<std::size_t>(channels_) * (3 + (kGroupFrames * 17 + 7) / 8);
    if (kBlockBytes - blockUsed_ < most) {
        blocks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kBlockBytes));
        blockUsed_ = 0;
    }
    std::uint8_t* out = blocks_.back().get() + blockUsed_;
    groups_.push_back(
        static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | blockUsed_));
    for (int c = 0; c < channels_; ++c) {
        std::uint32_t widest = 0;
        for (int i = 1; i < count; ++i)
            widest |= fold(frames[i * channels_ + c] - frames[(i - 1) * channels_ + c]);
        const int width = std::bit_width(widest);
        const auto first = static_cast<std::uint16_t>(frames[c]);
        *out++ = static_cast<std::uint8_t>(width);
        *out++ = static_cast<std::uint8_t>(first & 0xff);
        *out++ = static_cast<std::uint8_t>(first >> 8);
        std::uint64_t bits = 0;
        int held = 0;
        for (int i = 1; i < count; ++i) {
            bits |= static_cast<std::uint64_t>(
                        fold(frames[i * channels_ + c] - frames[(i - 1) * channels_ + c]))
                    << held;
            held += width;
            while (held >= 8) {
                *out++ = static_cast<std::uint8_t>(bits);
                bits >>= 8;
                held -= 8;
            }
        }
        if (held > 0)
            *out++ = static_cast<std::uint8_t>(bits);
    }
    blockUsed_ = static_cast<std::size_t>(out - blocks_.back().get());
    frames_ += static_cast<std::size_t>(count);
}

int TunePcm::unpackGroup(std::size_t g, std::int16_t* out) const
{
    const int count =
        g + 1 < groups_.size() ? kGroupFrames : static_cast<int>(frames_ - g * kGroupFrames);
    const std::uint8_t* in =
        blocks_[groups_[g] >> kBlockBits].get() + (groups_[g] & (kBlockBytes - 1));
    for (int c = 0; c < channels_; ++c) {
        const int width = *in++;
        int sample = static_cast<std::int16_t>(static_cast<std::uint16_t>(in[0] | (in[1] << 8)));
        in += 2;
        out[c] = static_cast<std::int16_t>(sample);
        const std::uint32_t mask = (std::uint32_t{1} << width) - 1;
        std::uint64_t bits = 0;
        int held = 0;
        for (int i = 1; i < count; ++i) {
            while (held < width) {
                bits |= static_cast<std::uint64_t>(*in++) << held;
                held += 8;
            }
            sample += unfold(static_cast<std::uint32_t>(bits) & mask);
            bits >>= width;
            held -= width;
            out[i * channels_ + c] = static_cast<std::int16_t>(sample);
        }
    }
    return count;
}

std::size_t TunePcm::read(std::size_t offset, std::uint8_t* out, std::size_t bytes) const
{
    std::lock_guard lock(mutex_);
    const std::size_t frameBytes = static_cast<std::size_t>(channels_) * sizeof(std::int16_t);
    std::size_t frame = offset / frameBytes;
    if (frame >= frames_)
        return 0;
    const std::size_t wanted = std::min(bytes / frameBytes, frames_ - frame);
    std::array<std::int16_t, kGroupFrames * kMaxChannels> group;
    std::size_t done = 0;
    while (done < wanted) {
        const std::size_t g = frame / kGroupFrames;
        const std::size_t from = frame % kGroupFrames;
        const auto count = static_cast<std::size_t>(unpackGroup(g, group.data()));
        const std::size_t n = std::min(wanted - done, count - from);
        std::memcpy(out + done * frameBytes,
                    group.data() + from * static_cast<std::size_t>(channels_), n * frameBytes);
        done += n;
        frame += n;
    }
    return done * frameBytes;
}

std::size_t TunePcm::size() const
{
    std::lock_guard lock(mutex_);
    return frames_ * static_cast<std::size_t>(channels_) * sizeof(std::int16_t);
}

std::size_t TunePcm::heldBytes() const
{
    std::lock_guard lock(mutex_);
    return blocks_.size() * kBlockBytes + groups_.capacity() * sizeof(groups_[0]);
}

TunePcm::State TunePcm::state() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

void Playhead::play(std::shared_ptr<const TunePcm> pcm, int tag)
{
    std::lock_guard lock(mutex_);
    pcm_ = std::move(pcm);
    position_ = 0;
    tag_ = tag;
}

void Playhead::stop()
{
    std::lock_guard lock(mutex_);
    pcm_.reset();
}

std::optional<int> Playhead::playing() const
{
    std::lock_guard lock(mutex_);
    if (!pcm_)
        return std::nullopt;
    if (pcm_->state() != TunePcm::State::Rendering && position_ >= pcm_->size())
        return std::nullopt;
    return tag_;
}

void Playhead::fill(std::uint8_t* out, std::size_t len)
{
    std::lock_guard lock(mutex_);
    if (!pcm_)
        return;
    position_ += pcm_->read(position_, out, len);
}

}  // namespace pokopin::audio
