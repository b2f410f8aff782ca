// The SDL2_mixer device: headless with the dummy driver, rendered to a file
// with the disk driver, and with no usable driver at all. Every test names
// its driver itself; ctest runs each test in a process of its own.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>

#include "audio_files.h"
#include "mixer_backend.h"
#include "sdl_sound.h"

namespace {

using namespace pokopin::testing;
using namespace std::chrono_literals;
using pokopin::audio::MixerBackend;
using pokopin::audio::SdlSound;
using pokopin::audio::Tune;

constexpr const char* kEffectNames[] = {"hue.wav", "bisi.wav", "hei.wav",
                                        "pon.wav", "pipo1.wav", "pipo2.wav"};

// Renders to `file` in real time, as a sound card would play it.
struct DiskDriver {
    explicit DiskDriver(const fs::path& file) : file_("SDL_DISKAUDIOFILE", file.string()) {}
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_;
};

// A tune long enough to be still playing while a test looks at it.
void writeLongTune(const fs::path& path)
{
    writeMidi(path, {{0, 960, 60}, {960, 960, 64}, {1920, 960, 67}, {2880, 960, 72}});
}

struct SoundWithBackend {
    explicit SoundWithBackend(const fs::path& folder)
    {
        auto owned = std::make_unique<MixerBackend>();
        backend = owned.get();
        sound = std::make_unique<SdlSound>(folder.string(), std::move(owned));
    }
    MixerBackend* backend = nullptr;
    std::unique_ptr<SdlSound> sound;
};

void runAllOperations(SdlSound& s)
{
    s.startTitleTune();
    for (const char* e : kEffectNames)
        s.playEffect(e);
    s.stopTitleTune();
    s.startGameTune();
    s.stopGameTune();
    s.stopTitleTune();
}

TEST(MixerBackend, WithoutUsableDriverEveryOperationIsASilentNoOp)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "pokopin-no-such-driver");
    TempDir dir;
    for (const char* e : kEffectNames)
        writeWav(dir.path() / e, squareWave(0.1, 5000));
    writeLongTune(dir.path() / "moguana.mid");
    writeLongTune(dir.path() / "mogu20.mid");

    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    {
        SoundWithBackend rig(dir.path());
        EXPECT_FALSE(rig.backend->deviceOpen());
        runAllOperations(*rig.sound);
        EXPECT_EQ(rig.backend->effectsLoaded(), 0);
        EXPECT_FALSE(rig.backend->tuneOpen(Tune::Title));
        EXPECT_FALSE(rig.backend->tuneOpen(Tune::Game));
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// With no sound card, alsa-lib complains on stderr unless told not to.
TEST(MixerBackend, MissingSoundCardPrintsNothing)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "alsa");
    ScopedEnv device("AUDIODEV", "pokopin_no_such_pcm");
    ::testing::internal::CaptureStderr();
    {
        MixerBackend backend;
        EXPECT_FALSE(backend.deviceOpen());
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(MixerBackend, LeavesInterruptAndTerminateToTheProgram)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    MixerBackend backend;
    ASSERT_TRUE(backend.deviceOpen());
    for (int sig : {SIGINT, SIGTERM}) {
        struct sigaction now {};
        ASSERT_EQ(::sigaction(sig, nullptr, &now), 0);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << "signal " << sig;
    }
}

TEST(MixerBackend, EffectsComeFromTheProgramFolderNotTheWorkingDirectory)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    TempDir program;
    TempDir elsewhere;
    for (const char* e : kEffectNames)
        writeWav(program.path() / e, squareWave(0.05, 5000));
    InDirectory cwd(elsewhere.path());

    SoundWithBackend rig(program.path());
    ASSERT_TRUE(rig.backend->deviceOpen());
    EXPECT_EQ(rig.backend->effectsLoaded(), 6);
}

TEST(MixerBackend, TunesComeFromTheProgramFolderNotTheWorkingDirectory)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    TempDir program;
    TempDir elsewhere;
    writeLongTune(program.path() / "moguana.mid");
    writeLongTune(program.path() / "mogu20.mid");
    InDirectory cwd(elsewhere.path());

    SoundWithBackend rig(program.path());
    rig.sound->startTitleTune();
    EXPECT_TRUE(rig.backend->tunePlaying(Tune::Title));
    rig.sound->stopTitleTune();
    rig.sound->startGameTune();
    EXPECT_TRUE(rig.backend->tunePlaying(Tune::Game));
}

TEST(MixerBackend, MissingFilesAreSilentAndEffectsAreFoundOnceThere)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    TempDir dir;
    ::testing::internal::CaptureStderr();
    SoundWithBackend rig(dir.path());
    ASSERT_TRUE(rig.backend->deviceOpen());
    runAllOperations(*rig.sound);
    EXPECT_EQ(rig.backend->effectsLoaded(), 0);
    EXPECT_FALSE(rig.backend->tuneOpen(Tune::Title));
    EXPECT_FALSE(rig.backend->tuneOpen(Tune::Game));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    writeWav(dir.path() / "bisi.wav", squareWave(0.05, 5000));
    rig.sound->playEffect("bisi.wav");
    EXPECT_EQ(rig.backend->effectsLoaded(), 1);
}

TEST(MixerBackend, MissingSoundFontLeavesTunesClosedAndSilent)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ScopedEnv soundFonts("SDL_SOUNDFONTS", "/nonexistent/pokopin.sf2");
    TempDir dir;
    writeLongTune(dir.path() / "moguana.mid");
    ::testing::internal::CaptureStderr();
    {
        MixerBackend backend;
        ASSERT_TRUE(backend.deviceOpen());
        backend.openTune(Tune::Title, (dir.path() / "moguana.mid").string());
        backend.playTune(Tune::Title);
        EXPECT_FALSE(backend.tuneOpen(Tune::Title));
        EXPECT_FALSE(backend.tunePlaying(Tune::Title));
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// The command model of the two tunes on SDL2_mixer's single music stream.
class TuneCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveSoundFont())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
        writeLongTune(dir.path() / "moguana.mid");
        writeLongTune(dir.path() / "mogu20.mid");
        backend = std::make_unique<MixerBackend>();
        ASSERT_TRUE(backend->deviceOpen());
    }
    std::string title() const { return (dir.path() / "moguana.mid").string(); }
    std::string game() const { return (dir.path() / "mogu20.mid").string(); }
    void startTitle()
    {
        backend->openTune(Tune::Title, title());
        backend->playTune(Tune::Title);
        ASSERT_TRUE(backend->tunePlaying(Tune::Title));
    }

    TempDir dir;
    std::unique_ptr<MixerBackend> backend;
};

// A game stopped before the switch to its tune stops a tune that was never
// opened while the title tune plays.
TEST_F(TuneCommands, StopAndCloseOfATuneNotOpenLeaveTheOtherPlaying)
{
    startTitle();
    backend->stopTune(Tune::Game);
    backend->closeTune(Tune::Game);
    EXPECT_TRUE(backend->tunePlaying(Tune::Title));
}

TEST_F(TuneCommands, PlayAfterAFailedOpenDoesNothing)
{
    startTitle();
    backend->openTune(Tune::Game, (dir.path() / "missing.mid").string());
    backend->playTune(Tune::Game);
    EXPECT_FALSE(backend->tuneOpen(Tune::Game));
    EXPECT_FALSE(backend->tunePlaying(Tune::Game));
    EXPECT_TRUE(backend->tunePlaying(Tune::Title));
}

TEST_F(TuneCommands, TheLaterPlayWinsAndTheEarlierTuneCannotStopIt)
{
    startTitle();
    backend->openTune(Tune::Game, game());
    backend->playTune(Tune::Game);
    EXPECT_TRUE(backend->tunePlaying(Tune::Game));
    EXPECT_FALSE(backend->tunePlaying(Tune::Title));
    backend->stopTune(Tune::Title);
    backend->closeTune(Tune::Title);
    EXPECT_TRUE(backend->tunePlaying(Tune::Game));
}

TEST_F(TuneCommands, StopHaltsAndCloseForgetsTheTune)
{
    startTitle();
    backend->stopTune(Tune::Title);
    EXPECT_FALSE(backend->tunePlaying(Tune::Title));
    EXPECT_TRUE(backend->tuneOpen(Tune::Title));
    backend->closeTune(Tune::Title);
    EXPECT_FALSE(backend->tuneOpen(Tune::Title));
    backend->playTune(Tune::Title);
    EXPECT_FALSE(backend->tunePlaying(Tune::Title));
}

// ---- Rendered through the disk driver ----------------------------------

struct Rendered {
    std::vector<std::int16_t> samples;  // interleaved stereo
    // Samples at +-level, give or take the last bit that SDL's conversions
    // may round away.
    std::size_t count(int level) const
    {
        return static_cast<std::size_t>(std::count_if(samples.begin(), samples.end(), [&](auto s) {
            return std::abs(std::abs(static_cast<int>(s)) - level) <= 2;
        }));
    }
    int peak() const
    {
        int p = 0;
        for (auto s : samples)
            p = std::max(p, std::abs(static_cast<int>(s)));
        return p;
    }
    // Root mean square over [from, to) seconds of the output.
    double rms(double from, double to) const
    {
        const auto a = std::min(samples.size(), static_cast<std::size_t>(from * kRate) * 2);
        const auto b = std::min(samples.size(), static_cast<std::size_t>(to * kRate) * 2);
        double sum = 0;
        for (auto i = a; i < b; ++i)
            sum += double(samples[i]) * samples[i];
        return b > a ? std::sqrt(sum / double(b - a)) : 0.0;
    }
};

constexpr std::size_t samplesIn(double seconds)
{
    return static_cast<std::size_t>(seconds * kRate) * 2;
}

// Seconds of audio in the disk driver's file so far. The driver falls behind
// the wall clock on a busy machine, so tests wait on the file, not the clock.
double renderedSeconds(const fs::path& file)
{
    std::error_code ec;
    const auto bytes = fs::file_size(file, ec);
    return ec ? 0.0 : double(bytes) / (4.0 * kRate);
}

// Waits until `seconds` more audio than now has been written (at most 10 s),
// and returns where "now" was in the output.
double renderFor(const fs::path& file, double seconds)
{
    const double from = renderedSeconds(file);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (renderedSeconds(file) < from + seconds && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    return from;
}

TEST(DiskRendering, AnEffectReachesTheOutputWholeAndUnchanged)
{
    TempDir dir;
    DiskDriver disk(dir.path() / "out.raw");
    writeWav(dir.path() / "bisi.wav", squareWave(0.2, 8000));
    {
        SdlSound sound(dir.path().string());
        sound.playEffect("bisi.wav");
        renderFor(dir.path() / "out.raw", 0.4);
    }
    const Rendered out{readRaw(dir.path() / "out.raw")};
    ASSERT_GT(out.samples.size(), samplesIn(0.3)) << "the disk driver wrote too little";
    EXPECT_NEAR(out.peak(), 8000, 2);
    // Every sample of the 0.2 s effect, on both channels, exactly once.
    EXPECT_EQ(out.count(8000), samplesIn(0.2));
}

TEST(DiskRendering, ANewEffectCutsOffTheOneStillSounding)
{
    TempDir dir;
    DiskDriver disk(dir.path() / "out.raw");
    writeWav(dir.path() / "hue.wav", squareWave(0.6, 12000));
    writeWav(dir.path() / "bisi.wav", squareWave(0.1, 3000));
    {
        SdlSound sound(dir.path().string());
        sound.playEffect("hue.wav");
        renderFor(dir.path() / "out.raw", 0.15);
        sound.playEffect("bisi.wav");
        renderFor(dir.path() / "out.raw", 0.6);
    }
    const Rendered out{readRaw(dir.path() / "out.raw")};
    ASSERT_GT(out.samples.size(), samplesIn(0.7));
    EXPECT_NEAR(out.peak(), 12000, 2) << "the two effects were mixed together";
    EXPECT_EQ(out.count(3000), samplesIn(0.1)) << "the second effect did not play whole";
    EXPECT_GT(out.count(12000), samplesIn(0.05));
    EXPECT_LT(out.count(12000), samplesIn(0.4)) << "the first effect was not cut off";
}

// A tune is read afresh at each start: one that went on where it was stopped
// would be silent here, since the test tune rests between 0.3 s and 2 s.
TEST(DiskRendering, TheTitleTuneSoundsAndStartsAgainFromItsBeginning)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    DiskDriver disk(dir.path() / "out.raw");
    writeMidi(dir.path() / "moguana.mid", {{0, 288, 60}, {1920, 288, 72}});

    double restartAt = 0;
    {
        SdlSound sound(dir.path().string());
        sound.startTitleTune();
        renderFor(dir.path() / "out.raw", 1.0);
        sound.stopTitleTune();
        sound.startTitleTune();
        restartAt = renderFor(dir.path() / "out.raw", 0.6);
    }
    const Rendered out{readRaw(dir.path() / "out.raw")};
    ASSERT_GT(out.samples.size(), samplesIn(restartAt + 0.5));
    EXPECT_GT(out.rms(0.0, 0.4), 300.0) << "the tune did not sound";
    EXPECT_LT(out.rms(0.85, 0.95), 100.0) << "the tune's rest is not silent";
    EXPECT_GT(out.rms(restartAt, restartAt + 0.5), 300.0)
        << "the tune did not start again from its beginning";
}

}  // namespace
