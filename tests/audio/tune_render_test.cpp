// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A tune synthesised once into PCM, and the playhead that plays it back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio_files.h"
#include "tune_pcm.h"
#include "tune_render.h"

namespace {

using namespace pokopin::testing;
using pokopin::audio::DeviceFormat;
using pokopin::audio::Playhead;
using pokopin::audio::renderTune;
using pokopin::audio::TunePcm;

constexpr std::size_t kFrameBytes = 4;  // 16-bit stereo

std::vector<std::int16_t> samplesOf(const TunePcm& pcm)
{
    std::vector<std::int16_t> out(pcm.size() / 2);
    pcm.read(0, reinterpret_cast<std::uint8_t*>(out.data()), out.size() * 2);
    return out;
}

double rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        sum += double(s[i]) * s[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

TEST(TuneRender, ATuneLastsUntilItsLastEventAndSounds)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    // Two notes; the second ends 2.5 s in (960 ticks a second).
    writeMidi(dir.path() / "t.mid", {{0, 480, 60}, {1920, 480, 67}});
    const auto pcm = renderTune((dir.path() / "t.mid").string(), soundFontPath(), DeviceFormat{});

    ASSERT_EQ(pcm->state(), TunePcm::State::Done);
    ASSERT_EQ(pcm->size() % kFrameBytes, 0u);
    const double seconds = double(pcm->size() / kFrameBytes) / kRate;
    // After the last event the music rings out until the last voice is
    // silent, and 2 s of reverb tail later it ends.
    EXPECT_GE(seconds, 2.5 + 2.0);
    EXPECT_LE(seconds, 2.5 + 2.0 + 1.5);
    const auto s = samplesOf(*pcm);
    const double loud = rms(s, 0, samplesIn(0.4));
    EXPECT_GT(loud, 300.0) << "the first note is silent";
    EXPECT_GT(rms(s, samplesIn(2.0), samplesIn(2.4)), 300.0) << "the second note is silent";
    EXPECT_LT(rms(s, samplesIn(1.4), samplesIn(1.9)), loud / 10)
        << "the rest between the notes is not quiet";
    EXPECT_LT(rms(s, s.size() - samplesIn(0.5), s.size()), loud / 100)
        << "the tune ends before its tail died away";
}

struct BadTune {
    const char* name;
    std::function<void(const fs::path&)> write;  // nothing written: the file is missing
    bool withSoundFont = true;
};

class TuneRenderFailure : public ::testing::TestWithParam<BadTune> {};

// A tune that cannot be synthesised is silence: the render ends at once,
// prints nothing, and never takes the program down.
TEST_P(TuneRenderFailure, GivesSilence)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    const fs::path file = dir.path() / "t.mid";
    if (GetParam().write)
        GetParam().write(file);
    ::testing::internal::CaptureStderr();
    const auto pcm = renderTune(
        file.string(), GetParam().withSoundFont ? soundFontPath() : "/nonexistent/pokopin.sf2",
        DeviceFormat{});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(pcm->state(), TunePcm::State::Rendering);
    // FluidSynth may find a broken track only once it has begun: one block
    // of its dither, never more than the lowest bit.
    EXPECT_LE(pcm->size(), 512 * kFrameBytes);
    const auto s = samplesOf(*pcm);
    EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](std::int16_t v) { return v >= -1 && v <= 1; }))
        << "not silent";
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

const BadTune badTunes[] = {
    {"Missing", nullptr},
    {"Empty", [](const fs::path& p) { writeBytes(p, ""); }},
    {"NotMidi", [](const fs::path& p) { writeBytes(p, "RIFF\x24\0\0\0WAVEfmt "); }},
    {"HeaderOnly",
     [](const fs::path& p) { writeBytes(p, std::string("MThd\0\0\0\6\0\0\0\1\1\xe0", 14)); }},
    {"TrackCutShort",
     [](const fs::path& p) {
         writeBytes(p, std::string("MThd\0\0\0\6\0\0\0\1\1\xe0MTrk\0\0\1\0\0\x90\x3c", 25));
     }},
    {"NoSoundFont",
     [](const fs::path& p) {
         writeMidi(p, {{0, 480, 60}});
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Cases, TuneRenderFailure, ::testing::ValuesIn(badTunes),
                         [](const auto& tp) { return std::string(tp.param.name); });

// ---- The packed PCM and the playhead ------------------------------------

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

struct PackCase {
    const char* name;
    int channels;
    std::function<std::int16_t(std::size_t)> sample;
    std::size_t samples;
};

class TunePcmPacking : public ::testing::TestWithParam<PackCase> {};

// Packing is lossless for whatever the synthesiser may produce, read back in
// any slicing, however the frames were handed over.
TEST_P(TunePcmPacking, GivesBackEverySampleExactly)
{
    const PackCase& c = GetParam();
    std::vector<std::int16_t> in(c.samples);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = c.sample(i);
    TunePcm pcm(c.channels);
    const auto frame = static_cast<std::size_t>(c.channels);
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

const PackCase packCases[] = {
    {"Silence", 2, [](std::size_t) { return std::int16_t{0}; }, 2 * 1000},
    {"FullScaleEveryOtherSample", 2,
     [](std::size_t i) { return static_cast<std::int16_t>((i / 2) % 2 != 0 ? 32767 : -32768); },
     2 * 300},
    {"Noise", 2, [](std::size_t i) { return static_cast<std::int16_t>((i * 2654435761u) >> 7); },
     2 * 5003},
    {"QuietTone", 2,
     [](std::size_t i) { return static_cast<std::int16_t>(900 * std::sin(double(i / 2) * 0.05)); },
     2 * 4100},
    {"Mono", 1, [](std::size_t i) { return static_cast<std::int16_t>(i * 37 % 2001 - 1000); }, 777},
    {"SixChannels", 6,
     [](std::size_t i) { return static_cast<std::int16_t>(i % 6 * 5000 - (i / 6) % 50); }, 6 * 200},
};

INSTANTIATE_TEST_SUITE_P(Cases, TunePcmPacking, ::testing::ValuesIn(packCases),
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

}  // namespace
