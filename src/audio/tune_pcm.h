#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace pokopin::audio {

// One tune's sound in the audio device's own format, written once by its
// renderer and read by the audio callback, possibly while it still grows.
// Kept in fixed blocks, so that growing never moves what is already there
// and never holds more than one block beyond the tune's length.
class TunePcm {
public:
    enum class State { Rendering, Done, Failed };

    void append(const std::uint8_t* data, std::size_t bytes);
    // No more will come; a tune that rendered nothing counts as failed.
    void finish();
    void fail();

    // Copies what there is of [offset, offset + bytes) into out; returns how
    // many bytes that was.
    std::size_t read(std::size_t offset, std::uint8_t* out, std::size_t bytes) const;
    std::size_t size() const;
    State state() const;

private:
    static constexpr std::size_t kBlockBytes = 1 << 16;

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
    std::size_t size_ = 0;
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
