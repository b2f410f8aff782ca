// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Listening and timing aid for the audio back-end; not a test.
//
//   pokopin_audio_tool render FOLDER OUT.wav NAME [SECONDS]
//       Plays NAME from FOLDER through SdlSound on SDL's disk driver and saves
//       what the mixer produced as a 16-bit stereo WAV (for sox or a player).
//       NAME is an effect file name ("bisi.wav") or "title" / "game".
//   pokopin_audio_tool bench FOLDER
//       Prints what the constructor and each operation cost with the audio
//       driver named by SDL_AUDIODRIVER (or SDL's own choice when unset).
//   pokopin_audio_tool tune MIDI OUT.raw [SOUNDFONT]
//       Synthesises a tune as the game does (44.1 kHz 16-bit stereo) and
//       writes it raw; prints its length, the memory it is held in and the
//       time it took.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "mixer_backend.h"
#include "sdl_sound.h"
#include "tune_render.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using pokopin::audio::MixerBackend;
using pokopin::audio::SdlSound;
using pokopin::audio::Tune;

constexpr int kRate = 44100;
constexpr int kFrameBytes = 4;

double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// CPU time of this thread: on a busy machine it says more than the wall clock.
double cpuMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Run time of each thread so far, in nanoseconds, by "name/tid".
std::map<std::string, long long> threadRuntimes()
{
    std::map<std::string, long long> out;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        std::ifstream schedstat(task.path() / "schedstat");
        long long ns = 0;
        if (schedstat >> ns)
            out[name + "/" + task.path().filename().string()] = ns;
    }
    return out;
}

double renderedSeconds(const fs::path& raw)
{
    std::error_code ec;
    const auto bytes = fs::file_size(raw, ec);
    return ec ? 0.0 : double(bytes) / (kFrameBytes * kRate);
}

void putLE(std::string& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xff);
}

void rawToWav(const fs::path& raw, const fs::path& wav)
{
    std::ifstream in(raw, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string h = "RIFF";
    putLE(h, static_cast<std::uint32_t>(36 + data.size()), 4);
    h += "WAVEfmt ";
    putLE(h, 16, 4);
    putLE(h, 1, 2);
    putLE(h, 2, 2);
    putLE(h, kRate, 4);
    putLE(h, kRate * kFrameBytes, 4);
    putLE(h, kFrameBytes, 2);
    putLE(h, 16, 2);
    h += "data";
    putLE(h, static_cast<std::uint32_t>(data.size()), 4);
    std::ofstream(wav, std::ios::binary) << h << data;
}

int render(const std::string& folder, const fs::path& wav, const std::string& name, double seconds)
{
    const fs::path raw = wav.string() + ".raw";
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    double playedAt = 0;
    double settledAt = 0;
    {
        auto owned = std::make_unique<MixerBackend>();
        MixerBackend* backend = owned.get();
        SdlSound sound(folder, std::move(owned));
        playedAt = renderedSeconds(raw);
        if (name == "title")
            sound.startTitleTune();
        else if (name == "game")
            sound.startGameTune();
        else
            sound.playEffect(name);
        backend->settle();
        settledAt = renderedSeconds(raw);
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds * 4 + 5);
        while (renderedSeconds(raw) < playedAt + seconds && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    rawToWav(raw, wav);
    fs::remove(raw);
    std::printf(
        "wrote %s (%.2f s); the play call came %.1f ms into the output, "
        "its commands were done by %.1f ms\n",
        wav.c_str(), renderedSeconds(wav), playedAt * 1000, settledAt * 1000);
    return 0;
}

int bench(const std::string& folder)
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    std::printf("driver: %s\n", driver ? driver : "(unset)");

    auto t = Clock::now();
    double c = cpuMs();
    auto owned = std::make_unique<MixerBackend>();
    MixerBackend* backend = owned.get();
    const double openMs = msSince(t);
    const double openCpu = cpuMs() - c;
    t = Clock::now();
    c = cpuMs();
    SdlSound sound(folder, std::move(owned));
    const double preloadMs = msSince(t);
    const double preloadCpu = cpuMs() - c;
    std::printf("device open: %s\n", backend->deviceOpen() ? "yes" : "no");
    std::printf(
        "constructor: %.2f ms wall, %.2f ms cpu (device %.2f / %.2f ms, "
        "loading %d effects %.2f / %.2f ms)\n",
        openMs + preloadMs, openCpu + preloadCpu, openMs, openCpu, backend->effectsLoaded(),
        preloadMs, preloadCpu);

    t = Clock::now();
    sound.playEffect("bisi.wav");
    std::printf("playEffect call: %.3f ms\n", msSince(t));

    // The call itself, on this thread, then the wait until the tune thread
    // has carried it out.
    auto timed = [backend](const char* what, auto&& op) {
        const auto t0 = Clock::now();
        const double c0 = cpuMs();
        op();
        const double callMs = msSince(t0);
        const double callCpu = cpuMs() - c0;
        backend->settle();
        std::printf("%-30s call %7.3f ms wall %7.3f ms cpu; carried out after %7.2f ms\n", what,
                    callMs, callCpu, msSince(t0));
    };
    timed("startTitleTune (first)", [&] { sound.startTitleTune(); });
    std::printf("title tune open: %s\n", backend->tuneOpen(Tune::Title) ? "yes" : "no");
    timed("stopTitleTune", [&] { sound.stopTitleTune(); });
    timed("startGameTune", [&] { sound.startGameTune(); });
    timed("stopGameTune", [&] { sound.stopGameTune(); });
    timed("startTitleTune (again)", [&] { sound.startTitleTune(); });
    timed("stopTitleTune+startGameTune", [&] {
        sound.stopTitleTune();
        sound.startGameTune();
    });

    // What each thread of this process costs while nothing sounds and while
    // a tune plays: SDL's audio thread mixes (and synthesises the tune) all
    // the time the device is open.
    auto perThread = [](const char* what, double seconds) {
        const auto before = threadRuntimes();
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const auto after = threadRuntimes();
        const double ms = msSince(t0);
        double total = 0;
        std::printf("%s, %% of a core:", what);
        for (const auto& [thread, ns] : after) {
            const auto it = before.find(thread);
            const double pct = double(ns - (it == before.end() ? 0 : it->second)) / 1e4 / ms;
            total += pct;
            if (pct >= 0.005)
                std::printf("  %s %.2f", thread.c_str(), pct);
        }
        std::printf("  = %.2f\n", total);
    };
    sound.stopGameTune();
    backend->settle();
    perThread("nothing sounding", 5);
    sound.startTitleTune();
    backend->settle();
    if (backend->tunePlaying(Tune::Title))
        perThread("title tune playing", 5);
    return 0;
}

int tune(const std::string& midi, const std::string& out, const std::string& soundFont)
{
    const auto wall = Clock::now();
    const double cpu = cpuMs();
    const auto pcm = pokopin::audio::renderTune(midi, soundFont, {});
    const double cpuTaken = cpuMs() - cpu;
    std::vector<std::uint8_t> bytes(pcm->size());
    pcm->read(0, bytes.data(), bytes.size());
    std::ofstream(out, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::printf(
        "%s: %.2f s of sound, %zu bytes, held in %zu, rendered in %.0f ms (%.0f ms CPU)%s\n",
        midi.c_str(), double(bytes.size()) / (kRate * kFrameBytes), bytes.size(), pcm->heldBytes(),
        msSince(wall), cpuTaken,
        pcm->state() == pokopin::audio::TunePcm::State::Done ? "" : ", FAILED");
    return pcm->state() == pokopin::audio::TunePcm::State::Done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 4 && args[0] == "render")
        return render(args[1], args[2], args[3],
                      args.size() > 4 ? std::atof(args[4].c_str()) : 1.0);
    if (args.size() == 2 && args[0] == "bench")
        return bench(args[1]);
    if ((args.size() == 3 || args.size() == 4) && args[0] == "tune")
        return tune(args[1], args[2],
                    args.size() == 4 ? args[3] : "/usr/share/sounds/sf3/default-GM.sf3");
    std::fprintf(stderr,
                 "usage: %s render FOLDER OUT.wav NAME [SECONDS]\n"
                 "       %s bench FOLDER\n"
                 "       %s tune MIDI OUT.raw [SOUNDFONT]\n",
                 argv[0], argv[0], argv[0]);
    return 2;
}
