#include "tune_pcm.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pokopin::audio {

void TunePcm::append(const std::uint8_t* data, std::size_t bytes)
{
    std::lock_guard lock(mutex_);
    while (bytes > 0) {
        const std::size_t inBlock = size_ % kBlockBytes;
        if (inBlock == 0)
            blocks_.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(kBlockBytes));
        const std::size_t n = std::min(bytes, kBlockBytes - inBlock);
        std::memcpy(blocks_.back().get() + inBlock, data, n);
        size_ += n;
        data += n;
        bytes -= n;
    }
}

void TunePcm::finish()
{
    std::lock_guard lock(mutex_);
    state_ = size_ == 0 ? State::Failed : State::Done;
}

void TunePcm::fail()
{
    std::lock_guard lock(mutex_);
    state_ = State::Failed;
}

std::size_t TunePcm::read(std::size_t offset, std::uint8_t* out, std::size_t bytes) const
{
    std::lock_guard lock(mutex_);
    if (offset >= size_)
        return 0;
    bytes = std::min(bytes, size_ - offset);
    std::size_t done = 0;
    while (done < bytes) {
        const std::size_t at = offset + done;
        const std::size_t inBlock = at % kBlockBytes;
        const std::size_t n = std::min(bytes - done, kBlockBytes - inBlock);
        std::memcpy(out + done, blocks_[at / kBlockBytes].get() + inBlock, n);
        done += n;
    }
    return done;
}

std::size_t TunePcm::size() const
{
    std::lock_guard lock(mutex_);
    return size_;
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
