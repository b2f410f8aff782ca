// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The SDL2_mixer device: headless with the dummy driver, rendered to a file
// with the disk driver, and with no usable driver at all. Every test names
// its driver itself; ctest runs each test in a process of its own.

#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio_files.h"
#include "effects.h"
#include "gate.h"
#include "mixer_backend.h"
#include "sdl_sound.h"

namespace {

using namespace pokopin::testing;
using namespace std::chrono_literals;
using pokopin::audio::MixerBackend;
using pokopin::audio::SdlSound;
using pokopin::audio::Tune;
using pokopin::testing::Gate;

using pokopin::game::effectFile;
using pokopin::game::kEffects;

// Renders to `file` in real time, as a sound card would play it.
struct DiskDriver {
    explicit DiskDriver(const fs::path& file) : file_("SDL_DISKAUDIOFILE", file.string()) {}
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_;
};

// A tune long enough to be still playing while a test looks at it.
void putLongTune(const fs::path& path)
{
    copyTestTune("long.mid", path);
}

struct SoundWithBackend {
    explicit SoundWithBackend(const fs::path& folder, MixerBackend::TuneLoadHook beforeLoad = {})
    {
        auto owned = std::make_unique<MixerBackend>(MixerBackend::kDefaultBufferFrames,
                                                    std::move(beforeLoad));
        backend = owned.get();
        sound = std::make_unique<SdlSound>(folder.string(), std::move(owned));
    }
    MixerBackend* backend = nullptr;
    std::unique_ptr<SdlSound> sound;
};

void runAllOperations(SdlSound& s)
{
    s.startTitleTune();
    for (const auto e : kEffects)
        s.playEffect(e);
    s.stopTitleTune();
    s.startGameTune();
    s.stopGameTune();
    s.stopTitleTune();
}

// Watches the tune thread: records each tune it reads for rendering, in
// order, and holds the first read until the test releases it, so that every
// later command waits in the queue behind it.
class LoadLog {
public:
    MixerBackend::TuneLoadHook hook()
    {
        return [this](const std::string& path) {
            bool first = false;
            {
                std::lock_guard lock(mutex_);
                names_.push_back(fs::path(path).filename().string());
                first = names_.size() == 1;
            }
            if (!first)
                return;
            firstEntered.open();
            const bool released = release.wait();
            std::lock_guard lock(mutex_);
            firstHeldUntilReleased_ = released;
        };
    }
    std::vector<std::string> names()
    {
        std::lock_guard lock(mutex_);
        return names_;
    }
    // False when the first read gave up waiting: whoever issued it waited too.
    bool firstHeldUntilReleased()
    {
        std::lock_guard lock(mutex_);
        return firstHeldUntilReleased_;
    }

    Gate firstEntered;
    Gate release;

private:
    std::mutex mutex_;
    std::vector<std::string> names_;
    bool firstHeldUntilReleased_ = false;
};

using Names = std::vector<std::string>;

TEST(MixerBackend, WithoutUsableDriverEveryOperationIsASilentNoOp)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "pokopin-no-such-driver");
    TempDir dir;
    for (const auto e : kEffects)
        writeWav(dir.path() / effectFile(e), squareWave(0.1, 5000));
    putLongTune(dir.path() / "moguana.mid");
    putLongTune(dir.path() / "mogu20.mid");

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
    for (const auto e : kEffects)
        writeWav(program.path() / effectFile(e), squareWave(0.05, 5000));
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
    putLongTune(program.path() / "moguana.mid");
    putLongTune(program.path() / "mogu20.mid");
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
    putLongTune(dir.path() / "moguana.mid");
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
        putLongTune(dir.path() / "moguana.mid");
        putLongTune(dir.path() / "mogu20.mid");
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

// ---- The tune thread --------------------------------------------------

class TuneThread : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveSoundFont())
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        putLongTune(dir.path() / "moguana.mid");
        putLongTune(dir.path() / "mogu20.mid");
    }
    ScopedEnv driver{"SDL_AUDIODRIVER", "dummy"};
    TempDir dir;
    LoadLog loads;
};

// Start-up calls startTitleTune before the main window is shown; reading the
// tune and its SoundFont must not hold the window back.
TEST_F(TuneThread, StartTitleTuneReturnsWhileTheTuneIsStillBeingRead)
{
    SoundWithBackend rig(dir.path(), loads.hook());
    ASSERT_TRUE(rig.backend->deviceOpen());
    rig.sound->startTitleTune();
    ASSERT_TRUE(loads.firstEntered.wait());
    loads.release.open();
    EXPECT_TRUE(rig.backend->tunePlaying(Tune::Title));
    EXPECT_TRUE(loads.firstHeldUntilReleased()) << "startTitleTune waited for the read";
    EXPECT_EQ(loads.names(), (Names{"moguana.mid", "mogu20.mid"}));
}

struct QueuedCase {
    const char* name;
    std::function<void(SdlSound&)> run;  // issued while the first read is held
    bool titleOpen, titlePlaying, gameOpen, gamePlaying;
};

class TuneThreadOrder : public TuneThread, public ::testing::WithParamInterface<QueuedCase> {};

// Every command waits behind the held first read, so the outcome shows
// whether the queue kept the game's order.
TEST_P(TuneThreadOrder, QueuedCommandsEndAsIfCarriedOutAtOnce)
{
    const QueuedCase& c = GetParam();
    SoundWithBackend rig(dir.path(), loads.hook());
    c.run(*rig.sound);
    ASSERT_TRUE(loads.firstEntered.wait());
    loads.release.open();
    rig.backend->settle();
    // Both tunes are read once, at start, however often they are played.
    EXPECT_EQ(loads.names(), (Names{"moguana.mid", "mogu20.mid"}));
    EXPECT_EQ(rig.backend->tuneOpen(Tune::Title), c.titleOpen);
    EXPECT_EQ(rig.backend->tunePlaying(Tune::Title), c.titlePlaying);
    EXPECT_EQ(rig.backend->tuneOpen(Tune::Game), c.gameOpen);
    EXPECT_EQ(rig.backend->tunePlaying(Tune::Game), c.gamePlaying);
    EXPECT_TRUE(loads.firstHeldUntilReleased());
}

const QueuedCase queuedCases[] = {
    {"SwitchToTheGameTune",
     [](SdlSound& s) {
         s.startTitleTune();
         s.stopTitleTune();
         s.startGameTune();
     },
     false, false, true, true},
    {"TitleTuneRestart",
     [](SdlSound& s) {
         s.startTitleTune();
         s.stopTitleTune();
         s.startTitleTune();
     },
     true, true, false, false},
    // A game ended before the switch: the end starts the title tune that is
    // still open, and the pending switch then replaces it.
    {"GameEndedBeforeTheSwitch",
     [](SdlSound& s) {
         s.startTitleTune();
         s.stopGameTune();
         s.startTitleTune();
         s.stopTitleTune();
         s.startGameTune();
     },
     false, false, true, true},
    {"DisplacedTuneCannotStopTheOther",
     [](SdlSound& s) {
         s.startTitleTune();
         s.startGameTune();
         s.stopTitleTune();
     },
     false, false, true, true},
    {"ExitBeforeTheTitleTuneWasRead",
     [](SdlSound& s) {
         s.startTitleTune();
         s.stopTitleTune();
         s.stopGameTune();
     },
     false, false, false, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, TuneThreadOrder, ::testing::ValuesIn(queuedCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

// The program may end while tune commands still wait; they are carried out
// in order, and the device is closed only after the last of them.
TEST_F(TuneThread, DestructionWithCommandsStillQueuedIsClean)
{
    ::testing::internal::CaptureStderr();
    {
        SoundWithBackend rig(dir.path(), loads.hook());
        rig.sound->startTitleTune();
        rig.sound->stopTitleTune();
        rig.sound->startGameTune();
        rig.sound->stopGameTune();
        rig.sound->startTitleTune();
        ASSERT_TRUE(loads.firstEntered.wait());
        // Released a little later, so that destruction usually begins while
        // the first read is still held and the rest are queued.
        std::thread opener([this] {
            std::this_thread::sleep_for(20ms);
            loads.release.open();
        });
        rig.sound.reset();
        opener.join();
    }
    EXPECT_EQ(loads.names(), (Names{"moguana.mid", "mogu20.mid"}));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
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
    copyTestTune("rest.mid", dir.path() / "moguana.mid");

    double startedAt = 0;
    double restartAt = 0;
    {
        SoundWithBackend rig(dir.path());
        rig.backend->settle();  // rendered first, so that it starts at the play command
        rig.sound->startTitleTune();
        rig.backend->settle();
        startedAt = renderFor(dir.path() / "out.raw", 1.0);
        rig.sound->stopTitleTune();
        rig.sound->startTitleTune();
        rig.backend->settle();
        restartAt = renderFor(dir.path() / "out.raw", 0.6);
    }
    const Rendered out{readRaw(dir.path() / "out.raw")};
    ASSERT_GT(out.samples.size(), samplesIn(restartAt + 0.5));
    EXPECT_GT(out.rms(startedAt, startedAt + 0.4), 300.0) << "the tune did not sound";
    EXPECT_LT(out.rms(startedAt + 0.85, startedAt + 0.95), 100.0)
        << "the tune's rest is not silent";
    EXPECT_GT(out.rms(restartAt, restartAt + 0.5), 300.0)
        << "the tune did not start again from its beginning";
}

// Effects are played on the caller's thread, never behind a tune read.
TEST(DiskRendering, AnEffectSoundsWhileATuneIsStillBeingRead)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    DiskDriver disk(dir.path() / "out.raw");
    writeWav(dir.path() / "bisi.wav", squareWave(0.2, 8000));
    putLongTune(dir.path() / "moguana.mid");
    LoadLog loads;
    SoundWithBackend rig(dir.path(), loads.hook());
    rig.sound->startTitleTune();
    ASSERT_TRUE(loads.firstEntered.wait());
    rig.sound->playEffect("bisi.wav");
    renderFor(dir.path() / "out.raw", 0.4);
    const Rendered out{readRaw(dir.path() / "out.raw")};  // the read is still held
    loads.release.open();
    EXPECT_EQ(out.count(8000), samplesIn(0.2)) << "the effect waited for the tune";
}

struct ExitCase {
    const char* name;
    std::function<void(SdlSound&)> before;
    bool heardFirst;  // the tune sounds for a while before the exit; else the exit follows at once
};

class ExitSilence : public ::testing::TestWithParam<ExitCase> {};

// The exit stops and closes both tunes; no music may go on until the device
// closes, whatever state the tunes were in.
TEST_P(ExitSilence, StopAndCloseOfBothTunesLeaveTheOutputSilent)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    TempDir dir;
    const fs::path file = dir.path() / "out.raw";
    DiskDriver disk(file);
    putLongTune(dir.path() / "moguana.mid");
    putLongTune(dir.path() / "mogu20.mid");
    double playedFrom = 0;
    double exitAt = 0;
    {
        SoundWithBackend rig(dir.path());
        // Rendered first, so that the tune sounds from its play command on: on
        // a busy machine the render could otherwise outlast the tune itself.
        if (GetParam().heardFirst)
            rig.backend->settle();
        GetParam().before(*rig.sound);
        if (GetParam().heardFirst) {
            rig.backend->settle();
            playedFrom = renderFor(file, 0.3);
        }
        rig.sound->stopTitleTune();
        rig.sound->stopGameTune();
        rig.backend->settle();
        EXPECT_FALSE(rig.backend->tunePlaying(Tune::Title));
        EXPECT_FALSE(rig.backend->tunePlaying(Tune::Game));
        EXPECT_FALSE(rig.backend->tuneOpen(Tune::Title));
        EXPECT_FALSE(rig.backend->tuneOpen(Tune::Game));
        // The mixer may have mixed one buffer ahead of the halt.
        exitAt = renderFor(file, 0.5) + 0.05;
    }
    const Rendered out{readRaw(file)};
    ASSERT_GT(out.samples.size(), samplesIn(exitAt + 0.4));
    // Silence is exactly 0; on a busy machine the window may catch only
    // part of the tune's opening, so any clear sound counts.
    if (GetParam().heardFirst) {
        EXPECT_GT(out.rms(playedFrom, playedFrom + 0.3), 30.0) << "no tune sounded before the exit";
    }
    EXPECT_EQ(out.rms(exitAt, exitAt + 0.4), 0.0) << "music went on after the exit";
}

const ExitCase exitCases[] = {
    {"FromTheTitle", [](SdlSound& s) { s.startTitleTune(); }, true},
    {"DuringAGame",
     [](SdlSound& s) {
         s.startTitleTune();
         s.stopTitleTune();
         s.startGameTune();
     },
     true},
    // The play command still waits behind the read when the exit comes.
    {"RightAfterTheTitleTuneWasStarted", [](SdlSound& s) { s.startTitleTune(); }, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExitSilence, ::testing::ValuesIn(exitCases),
                         [](const auto& tp) { return std::string(tp.param.name); });

}  // namespace

namespace {

// Watches every buffer the device mixes, after the effects are in it: how
// many there have been, and the first that did not start with silence.
struct MixWatch {
    static void onMix(void* self, Uint8* stream, int len)
    {
        auto& w = *static_cast<MixWatch*>(self);
        std::int16_t first = 0;
        if (len >= 2)
            std::memcpy(&first, stream, sizeof first);
        const bool silentStart = first == 0;
        const int index = w.mixed.load();
        if (!silentStart && w.firstLoud.load() < 0)
            w.firstLoud.store(index);
        w.lastWasSilent.store(std::all_of(stream, stream + len, [](Uint8 b) { return b == 0; }));
        w.mixed.store(index + 1);
    }
    std::atomic<int> mixed{0};
    std::atomic<int> firstLoud{-1};
    std::atomic<bool> lastWasSilent{false};
};

template <class Condition>
bool waitFor(Condition done)
{
    for (int i = 0; i < 5000 && !done(); ++i)
        std::this_thread::sleep_for(1ms);
    return done();
}

}  // namespace

// An effect must not wait a buffer: the first buffer the device mixes once
// playEffect is called (or the one it waited for, if a mix was under way)
// starts with the effect's first sample.
TEST(DummyDevice, AnEffectStartsTheFirstBufferMixedAfterItsCall)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    TempDir dir;
    const std::string hit = (dir.path() / "bisi.wav").string();
    writeWav(hit, squareWave(0.03, 8000));
    MixerBackend backend;
    if (!backend.deviceOpen())
        GTEST_SKIP() << "no dummy audio driver";
    backend.loadEffect(hit);
    MixWatch watch;
    Mix_SetPostMix(&MixWatch::onMix, &watch);
    for (int trial = 0; trial < 8; ++trial) {
        ASSERT_TRUE(waitFor([&] { return watch.lastWasSilent.load(); }));
        watch.firstLoud.store(-1);
        const int before = watch.mixed.load();
        backend.playEffect(hit);
        const int after = watch.mixed.load();
        ASSERT_TRUE(waitFor([&] { return watch.firstLoud.load() >= 0; }))
            << "the effect never sounded";
        EXPECT_GE(watch.firstLoud.load(), before);
        EXPECT_LE(watch.firstLoud.load(), after)
            << "trial " << trial << ": the effect waited for a later buffer";
    }
    Mix_SetPostMix(nullptr, nullptr);
}
