// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A tune synthesised once into PCM, as the game's renderer does it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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
    // Two notes; the second ends 2.5 s in.
    const auto pcm =
        renderTune(testTune("two_notes.mid").string(), soundFontPath(), DeviceFormat{});

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
    {"NoSoundFont", [](const fs::path& p) { copyTestTune("one_note.mid", p); }, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, TuneRenderFailure, ::testing::ValuesIn(badTunes),
                         [](const auto& tp) { return std::string(tp.param.name); });

}  // namespace
