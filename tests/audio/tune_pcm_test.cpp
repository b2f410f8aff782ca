// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A tune's PCM as its renderer writes it, and the playhead that plays it back
// from the audio callback.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "tune_pcm.h"

namespace {

using pokopin::audio::Playhead;
using pokopin::audio::TunePcm;

std::shared_ptr<TunePcm> pcmOf(const std::vector<std::int16_t>& s, int channels,
                               bool complete = true)
{
    auto pcm = std::make_shared<TunePcm>(channels);
    pcm->append(reinterpret_cast<const std::uint8_t*>(s.data()), s.size() * 2);
    if (complete)
        pcm->finish();
    return pcm;
}

// A PCM whose every 16-bit sample is its own index, so a read shows where
// it came from.
std::shared_ptr<TunePcm> countingPcm(std::size_t samples, bool complete = true)
{
    std::vector<std::int16_t> s(samples);
    for (std::size_t i = 0; i < samples; ++i)
        s[i] = static_cast<std::int16_t>(i % 30000 + 1);
    return pcmOf(s, 2, complete);
}

struct LayoutCase {
    const char* name;
    int channels;
    std::size_t frames;
};

class TunePcmLayout : public ::testing::TestWithParam<LayoutCase> {};

// Every sample comes back exactly, read in any slicing, however the frames
// were handed over, across the blocks they are kept in.
TEST_P(TunePcmLayout, GivesBackEverySampleExactly)
{
    const LayoutCase& c = GetParam();
    const auto frame = static_cast<std::size_t>(c.channels);
    std::vector<std::int16_t> in(c.frames * frame);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<std::int16_t>((i * 2654435761u) >> 7);
    TunePcm pcm(c.channels);
    // Handed over in uneven runs of frames, as the converter gives them.
    for (std::size_t at = 0, run = 1; at < in.size(); run = run * 7 % 601 + 1) {
        const std::size_t n = std::min(in.size() - at, run * frame);
        pcm.append(reinterpret_cast<const std::uint8_t*>(in.data() + at), n * 2);
        at += n;
    }
    pcm.finish();
    ASSERT_EQ(pcm.size(), in.size() * 2);
    for (std::size_t slice : {frame, 37 * frame, 512 * frame}) {
        std::vector<std::int16_t> out(in.size(), 0x5a5a);
        for (std::size_t at = 0; at < in.size(); at += slice)
            pcm.read(at * 2, reinterpret_cast<std::uint8_t*>(out.data() + at),
                     std::min(slice, in.size() - at) * 2);
        EXPECT_EQ(out, in) << "read in slices of " << slice / frame << " frames";
    }
}

const LayoutCase layoutCases[] = {
    {"StereoOverSeveralBlocks", 2, 2 * TunePcm::kBlockFrames + 1001},
    {"Mono", 1, 777},
    {"SixChannels", 6, TunePcm::kBlockFrames + 200},
};

INSTANTIATE_TEST_SUITE_P(Cases, TunePcmLayout, ::testing::ValuesIn(layoutCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

std::vector<std::int16_t> fillSamples(Playhead& head, std::size_t samples)
{
    std::vector<std::int16_t> out(samples, 0);  // the mixer hands over silence
    head.fill(reinterpret_cast<std::uint8_t*>(out.data()), samples * 2);
    return out;
}

std::vector<std::int16_t> counting(std::size_t from, std::size_t n)
{
    std::vector<std::int16_t> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<std::int16_t>((from + i) % 30000 + 1);
    return s;
}

// The title tune is restarted by stop and start; the cached PCM must begin
// again at its first sample, wherever the last play left it, and play out
// whole to its end.
TEST(Playhead, ARestartBeginsAtTheFirstSampleAndPlaysToTheEnd)
{
    const auto pcm = countingPcm(100000);
    Playhead head;
    head.play(pcm, 7);
    fillSamples(head, 40000);
    EXPECT_EQ(head.playing(), 7);
    head.stop();
    EXPECT_EQ(head.playing(), std::nullopt);
    head.play(pcm, 7);
    EXPECT_EQ(fillSamples(head, 1024), counting(0, 1024));
    EXPECT_EQ(fillSamples(head, 98000), counting(1024, 98000));
    auto last = fillSamples(head, 2048);
    EXPECT_EQ(std::vector<std::int16_t>(last.begin(), last.begin() + 976), counting(99024, 976));
    EXPECT_EQ(std::vector<std::int16_t>(last.begin() + 976, last.end()),
              std::vector<std::int16_t>(1072, 0))
        << "the end of the tune is not followed by silence";
    EXPECT_EQ(head.playing(), std::nullopt) << "a tune played to its end still counts as playing";
}

// Where the renderer has not got to yet, the playhead gives silence and
// waits, so the tune goes on from there once it is rendered.
TEST(Playhead, WaitsForTheRendererInsteadOfSkipping)
{
    const auto pcm = countingPcm(1024, false);
    Playhead head;
    head.play(pcm, 1);
    auto first = fillSamples(head, 1500);
    EXPECT_EQ(std::vector<std::int16_t>(first.begin(), first.begin() + 1024), counting(0, 1024));
    EXPECT_EQ(std::vector<std::int16_t>(first.begin() + 1024, first.end()),
              std::vector<std::int16_t>(476, 0));
    EXPECT_EQ(fillSamples(head, 500), std::vector<std::int16_t>(500, 0));
    EXPECT_EQ(head.playing(), 1) << "a tune still being rendered has not ended";
    const auto more = counting(1024, 1000);
    pcm->append(reinterpret_cast<const std::uint8_t*>(more.data()), more.size() * 2);
    pcm->finish();
    EXPECT_EQ(fillSamples(head, 1000), more);
}

// The callback may be in the middle of a tune when the next command comes,
// and must never be the one to free it: a tune is held until the callback
// has moved past it, and let go at the next command after that.
TEST(Playhead, HoldsATuneUntilTheCallbackHasMovedPastIt)
{
    const auto first = countingPcm(4096);
    const auto second = countingPcm(4096);
    Playhead head;
    head.play(first, 1);
    fillSamples(head, 256);
    head.play(second, 2);
    head.stop();
    EXPECT_GT(first.use_count(), 1) << "let go while the callback may still read it";
    fillSamples(head, 256);  // the callback sees the stop
    head.play(second, 2);
    EXPECT_EQ(first.use_count(), 1) << "held on to after the callback moved past it";
}

// The callback's side plays the tune while the renderer is still writing it,
// on another thread, in runs that split frames and cross blocks. Everything
// the callback gets must be what was written, in order and whole frames at a
// time, none of it beyond what had been published, and silence only where
// nothing was ready yet.
TEST(Playhead, PlaysOnlyWhatTheRendererPublishedWhileItWrites)
{
    constexpr std::size_t kSamples = 2 * (20 * TunePcm::kBlockFrames + 333);
    constexpr std::size_t kCallbackSamples = 2 * 1024;
    // Never zero, so that silence cannot pass for sound.
    const auto written = [](std::size_t i) { return static_cast<std::int16_t>(i % 32749 + 1); };
    const auto pcm = std::make_shared<TunePcm>(2);
    Playhead head;
    head.play(pcm, 3);

    std::jthread renderer([&] {
        std::vector<std::int16_t> run;
        for (std::size_t at = 0, n = 1; at < kSamples; n = n * 7 % 1201 + 1) {
            run.resize(std::min(n, kSamples - at));
            for (std::size_t i = 0; i < run.size(); ++i)
                run[i] = written(at + i);
            pcm->append(reinterpret_cast<const std::uint8_t*>(run.data()), run.size() * 2);
            at += run.size();
            std::this_thread::yield();
        }
        pcm->finish();
    });

    std::size_t next = 0;  // the sample the callback should get next
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (next < kSamples && std::chrono::steady_clock::now() < deadline) {
        const std::size_t readyBefore = pcm->size() / 2;
        const auto out = fillSamples(head, kCallbackSamples);
        const std::size_t readyAfter = pcm->size() / 2;
        const auto sound = static_cast<std::size_t>(
            std::find(out.begin(), out.end(), std::int16_t{0}) - out.begin());
        for (std::size_t i = 0; i < sound; ++i)
            ASSERT_EQ(out[i], written(next + i)) << "sample " << next + i;
        ASSERT_EQ(sound % 2, 0u) << "half a frame at sample " << next;
        ASSERT_TRUE(std::all_of(out.begin() + static_cast<std::ptrdiff_t>(sound), out.end(),
                                [](std::int16_t s) { return s == 0; }))
            << "sound after silence at sample " << next + sound;
        ASSERT_LE(next + sound, readyAfter) << "read past what was published";
        ASSERT_GE(next + sound, std::min(readyBefore, next + kCallbackSamples))
            << "silence where frames were ready";
        next += sound;
    }
    renderer.join();
    EXPECT_EQ(next, kSamples);
    EXPECT_EQ(head.playing(), std::nullopt);
}

}  // namespace
