// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

namespace pokopin::audio {

// One tune's sound as 16-bit interleaved frames in the audio device's layout,
// written once by its renderer and read by the audio callback, possibly while
// it still grows.
//
// The renderer runs at a low priority, so the callback must never wait for
// it: the samples go into fixed blocks that never move once allocated, and
// the count of frames ready is published through an atomic after they are
// written. Reading takes no lock and allocates nothing.
class TunePcm {
public:
    enum class State { Rendering, Done, Failed };

    // Frames in one block: 64 KiB of 16-bit stereo.
    static constexpr std::size_t kBlockFrames = 16384;
    // Room for the longest tune a render may make (150 s) at 192 kHz; a
    // tune longer than that is cut off there.
    static constexpr std::size_t kMaxBlocks = 2048;
    static constexpr int kMaxChannels = 8;

    explicit TunePcm(int channels = 2);

    TunePcm(const TunePcm&) = delete;
    TunePcm& operator=(const TunePcm&) = delete;

    // The writer's side, all on one thread.
    // Adds native-endian 16-bit samples; a frame is ready once all its
    // samples are there, so a frame may be split between two calls.
    void append(const std::uint8_t* data, std::size_t bytes);
    // No more will come; a tune that rendered nothing counts as failed.
    void finish();
    void fail();

    // Any thread, at any time.
    // Copies what is ready of [offset, offset + bytes) into out, in whole
    // frames; returns how many bytes that was.
    std::size_t read(std::size_t offset, std::uint8_t* out, std::size_t bytes) const;
    std::size_t size() const;  // bytes of sound ready to read
    std::size_t heldBytes() const;
    // Once this is no longer Rendering, size() is final.
    State state() const;
    int channels() const { return channels_; }

private:
    std::size_t blockSamples() const { return kBlockFrames * static_cast<std::size_t>(channels_); }

    const int channels_;
    std::array<std::unique_ptr<std::int16_t[]>, kMaxBlocks> blocks_;
    std::size_t samples_ = 0;  // the writer's own count, a frame not yet whole included
    std::atomic<std::size_t> frames_{0};
    std::atomic<std::size_t> blockCount_{0};
    std::atomic<State> state_{State::Rendering};
};

// The music stream: plays one cached tune from a position, filled from the
// audio callback. Where the renderer has not yet got to, it plays silence
// and waits there, so the tune is never skipped ahead.
//
// play, stop and playing come from one thread, the control thread; fill
// comes from the audio callback and neither waits for a lock nor allocates
// or frees memory. Every tune handed to play is kept alive by the control
// thread until the callback has moved on from it.
class Playhead {
public:
    Playhead() = default;
    Playhead(const Playhead&) = delete;
    Playhead& operator=(const Playhead&) = delete;

    // Starts pcm from its first sample; tag tells the caller which tune it is.
    void play(std::shared_ptr<const TunePcm> pcm, int tag);
    void stop();
    // The tag of the tune sounding now: started, not stopped, not yet at its end.
    std::optional<int> playing() const;

    // Writes the next len bytes of the tune over out, which holds silence;
    // the audio callback calls it.
    void fill(std::uint8_t* out, std::size_t len);

private:
    // What the control thread asked for last; never changed once published.
    struct Cue {
        std::shared_ptr<const TunePcm> pcm;  // none: stopped
        int tag = 0;
        std::uint32_t serial = 0;
    };

    void publish(std::shared_ptr<const TunePcm> pcm, int tag);

    // The control thread's: every cue the callback may still be reading,
    // oldest first; the last is the one in force.
    std::deque<std::unique_ptr<Cue>> cues_;
    std::uint32_t nextSerial_ = 1;

    std::atomic<const Cue*> latest_{nullptr};
    // The callback's answer: the serial of the cue it plays, above the
    // frames of it played so far.
    std::atomic<std::uint64_t> progress_{0};
    static_assert(std::atomic<std::uint64_t>::is_always_lock_free);

    // The callback's own.
    std::uint32_t serial_ = 0;
    std::size_t position_ = 0;  // bytes
};

}  // namespace pokopin::audio
