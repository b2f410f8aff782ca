// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace pokopin::audio {

// One tune's sound as 16-bit interleaved frames in the audio device's layout,
// written once by its renderer and read by the audio callback, possibly while
// it still grows.
//
// Held losslessly packed, so that both tunes fit in about half the memory:
// every group of 64 frames keeps, per channel, its first sample and the
// differences from one sample to the next at the fewest bits that hold the
// group's largest. Unpacking is a few shifts per sample. The packed bytes go
// into fixed blocks, so growing never moves what is already there.
class TunePcm {
public:
    enum class State { Rendering, Done, Failed };

    explicit TunePcm(int channels = 2);

    // Adds whole frames of native-endian 16-bit samples.
    void append(const std::uint8_t* data, std::size_t bytes);
    // No more will come; a tune that rendered nothing counts as failed.
    void finish();
    void fail();

    // Copies what there is of [offset, offset + bytes) of the unpacked sound
    // into out, in whole frames; returns how many bytes that was.
    std::size_t read(std::size_t offset, std::uint8_t* out, std::size_t bytes) const;
    std::size_t size() const;  // bytes of sound there is to read
    std::size_t heldBytes() const;
    State state() const;

private:
    static constexpr int kGroupFrames = 64;
    static constexpr int kBlockBits = 16;
    static constexpr std::size_t kBlockBytes = std::size_t{1} << kBlockBits;

    void packGroup(const std::int16_t* frames, int count);
    // Unpacks group g into out (kGroupFrames frames at most); returns its frames.
    int unpackGroup(std::size_t g, std::int16_t* out) const;

    const int channels_;
    mutable std::mutex mutex_;
    std::vector<std::int16_t> pending_;  // samples not yet a whole group
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
    std::size_t blockUsed_ = kBlockBytes;
    std::vector<std::uint32_t> groups_;  // where each group begins: block << 16 | offset
    std::size_t frames_ = 0;             // frames in the packed groups
    State state_ = State::Rendering;
};

// The music stream: plays one cached tune from a position, filled from the
// audio callback. Where the renderer has not yet got to, it plays silence
// and waits there, so the tune is never skipped ahead.
class Playhead {
public:
    // Starts pcm from its first sample; tag tells the caller which tune it is.
    void play(std::shared_ptr<const TunePcm> pcm, int tag);
    void stop();
    // The tag of the tune sounding now: started, not stopped, not yet at its end.
    std::optional<int> playing() const;

    // Writes the next len bytes of the tune over out, which holds silence;
    // the audio callback calls it.
    void fill(std::uint8_t* out, std::size_t len);

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const TunePcm> pcm_;
    std::size_t position_ = 0;
    int tag_ = 0;
};

}  // namespace pokopin::audio
