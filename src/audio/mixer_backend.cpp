// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mixer_backend.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "command_queue.h"
#include "tune_pcm.h"
#include "tune_render.h"

namespace pokopin::audio {
namespace {

using ChunkPtr = std::unique_ptr<Mix_Chunk, decltype(&Mix_FreeChunk)>;

constexpr int kEffectChannel = 0;

// Where Debian and other distributions put a General MIDI SoundFont; the
// first that exists is used when neither the user nor the library names one.
constexpr std::array<const char*, 4> kSoundFonts = {
    "/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"};

bool anyReadable(std::string_view list)
{
    while (!list.empty()) {
        const auto cut = list.find_first_of(":;");
        const std::string one(list.substr(0, cut));
        if (!one.empty() && ::access(one.c_str(), R_OK) == 0)
            return true;
        if (cut == std::string_view::npos)
            break;
        list.remove_prefix(cut + 1);
    }
    return false;
}

// The SoundFonts SDL2_mixer's MIDI decoder would use: the user's, else the
// library's own default when it is there, else the first one installed.
std::string chooseSoundFonts()
{
    const char* fromUser = SDL_getenv("SDL_SOUNDFONTS");
    if (fromUser != nullptr && *fromUser != '\0')
        return fromUser;
    const char* fromLibrary = Mix_GetSoundFonts();
    if (fromLibrary != nullptr && anyReadable(fromLibrary))
        return fromLibrary;
    for (const char* path : kSoundFonts) {
        if (::access(path, R_OK) == 0)
            return path;  // one only: with several, the last one wins
    }
    return {};
}

extern "C" void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// alsa-lib writes its own messages to stderr when there is no sound card
// ("cannot find card '0'", "Unknown PCM default"). The game has no sound
// card to complain about, so they are switched off for this process.
void* silenceAlsa()
{
    void* lib = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr)
        return nullptr;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    auto set = reinterpret_cast<SetHandler>(::dlsym(lib, "snd_lib_error_set_handler"));
    if (set == nullptr) {
        ::dlclose(lib);
        return nullptr;
    }
    set(&ignoreAlsaMessage);
    return lib;
}

void restoreAlsa(void* lib)
{
    if (lib == nullptr)
        return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(::dlsym(lib, "snd_lib_error_set_handler")))
        set(nullptr);
    ::dlclose(lib);
}

std::size_t indexOf(Tune t)
{
    return t == Tune::Title ? 0 : 1;
}

int tagOf(Tune t)
{
    return static_cast<int>(indexOf(t));
}

constexpr auto kQuietStart = std::chrono::milliseconds(500);

// The tunes, handled only on the tune thread once the device is open. Each
// is synthesised once, one after another, a slice per queued step so that
// tune commands go in between; every later play of it reads the same PCM.
class TuneSlots {
public:
    TuneSlots(MixerBackend::TuneLoadHook beforeLoad, Playhead& playhead)
        : beforeLoad_(std::move(beforeLoad)), playhead_(playhead)
    {}

    // Called once, before any other member, from the thread that opened the
    // device.
    void setUp(CommandQueue* queue, std::string soundFonts, DeviceFormat device)
    {
        queue_ = queue;
        soundFonts_ = std::move(soundFonts);
        device_ = device;
    }

    // The file is read once: a tune missing or broken at start stays silent
    // until the next start, and one replaced meanwhile plays from then on.
    void load(Tune tune, const std::string& path)
    {
        Cached& c = cache_[indexOf(tune)];
        if (c.pcm && c.path == path)
            return;
        if (beforeLoad_)
            beforeLoad_(path);
        c = {path, std::make_shared<TunePcm>(device_.channels)};
        if (!isMidiFile(path)) {
            c.pcm->fail();
            return;
        }
        waiting_.push_back({path, c.pcm});
        beginNext();
    }

    void open(Tune tune, const std::string& path)
    {
        if (open_[indexOf(tune)])
            return;
        load(tune, path);
        // A tune whose render has not begun yet counts as open; should it
        // fail later, it plays as silence.
        open_[indexOf(tune)] = cache_[indexOf(tune)].pcm->state() != TunePcm::State::Failed;
    }

    void play(Tune tune)
    {
        if (!open_[indexOf(tune)])
            return;
        playhead_.play(cache_[indexOf(tune)].pcm, tagOf(tune));
        onStream_ = tune;
    }

    void stop(Tune tune)
    {
        // Only the tune that holds the stream may halt it: stopping a tune that
        // is not open, or was displaced by the other one, must not cut off the
        // tune that is sounding now.
        if (!open_[indexOf(tune)] || onStream_ != tune)
            return;
        playhead_.stop();
        onStream_.reset();
    }

    void close(Tune tune)
    {
        stop(tune);
        open_[indexOf(tune)] = false;
    }

    bool isOpen(Tune tune) const { return open_[indexOf(tune)]; }
    bool isPlaying(Tune tune) const
    {
        return onStream_ == tune && playhead_.playing() == tagOf(tune);
    }

    // Renders nothing more: the program is ending.
    void abandon()
    {
        waiting_.clear();
        rendering_.reset();
    }

private:
    struct Cached {
        std::string path;
        std::shared_ptr<TunePcm> pcm;
    };
    struct Job {
        std::string path;
        std::shared_ptr<TunePcm> pcm;
    };

    // Begins the next waiting render when none is under way, and keeps one
    // step of it queued.
    void beginNext()
    {
        while (!rendering_ && !waiting_.empty()) {
            Job job = std::move(waiting_.front());
            waiting_.pop_front();
            rendering_ = std::make_unique<TuneRender>(job.path, soundFonts_, device_, job.pcm);
            if (rendering_->done())
                rendering_.reset();
        }
        if (rendering_ && !stepQueued_) {
            stepQueued_ = true;
            if (!firstBegun_)
                firstBegun_ = std::chrono::steady_clock::now();
            const auto quietUntil = *firstBegun_ + kQuietStart;
            // The first tune is rendered while the main window is being
            // shown: a second ahead is enough for the time that takes, and
            // the rest can wait until the window is up.
            const auto secondAhead = static_cast<std::size_t>(device_.rate)
                                     * static_cast<std::size_t>(device_.channels)
                                     * sizeof(std::int16_t);
            if (std::chrono::steady_clock::now() < quietUntil
                && rendering_->pcm()->size() >= secondAhead)
                queue_->postAt(quietUntil, [this] { step(); });
            else
                queue_->post([this] { step(); });
        }
    }

    void step()
    {
        stepQueued_ = false;
        if (!rendering_)
            return;
        rendering_->step();
        if (rendering_->done())
            rendering_.reset();  // frees its synthesiser and SoundFont
        beginNext();
        // The SoundFont leaves holes among the tunes' blocks that the heap
        // keeps unless asked to give them back.
        if (!rendering_)
            ::malloc_trim(0);
    }

    MixerBackend::TuneLoadHook beforeLoad_;
    Playhead& playhead_;
    CommandQueue* queue_ = nullptr;
    std::string soundFonts_;
    DeviceFormat device_;
    std::array<Cached, 2> cache_;
    std::array<bool, 2> open_{};
    std::deque<Job> waiting_;
    std::unique_ptr<TuneRender> rendering_;
    bool stepQueued_ = false;
    std::optional<std::chrono::steady_clock::time_point> firstBegun_;
    std::optional<Tune> onStream_;  // the tune most recently started on the music stream
};

// SDL2_mixer's music hook, on the audio thread: the stream holds silence,
// and effects are mixed over the music afterwards.
extern "C" void fillMusic(void* playhead, Uint8* stream, int len)
{
    static_cast<Playhead*>(playhead)->fill(stream, static_cast<std::size_t>(len));
}

}  // namespace

struct MixerBackend::State {
    explicit State(TuneLoadHook beforeLoad) : tunes(std::move(beforeLoad), playhead) {}

    void* alsa = nullptr;
    bool sdl = false;
    bool device = false;
    std::map<std::string, ChunkPtr, std::less<>> effects;  // the calling thread's
    Playhead playhead;                                     // the audio callback's
    TuneSlots tunes;                                       // the tune thread's
    std::unique_ptr<CommandQueue> tuneThread;              // while the device is open
};

MixerBackend::MixerBackend(int bufferFrames, TuneLoadHook beforeLoad)
    : s_(std::make_unique<State>(std::move(beforeLoad)))
{
    // SDL must not take over SIGINT and SIGTERM from the rest of the program.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, "Pokopin");
    s_->alsa = silenceAlsa();

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    s_->sdl = true;
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, bufferFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE)
        != 0)
        return;
    s_->device = true;
    Mix_AllocateChannels(1);
    DeviceFormat device;
    int channels = 0;
    if (Mix_QuerySpec(&device.rate, &device.format, &channels) == 0)
        return;
    device.channels = channels;
    try {
        s_->tuneThread = std::make_unique<CommandQueue>("pokopin-tunes");
    } catch (const std::system_error&) {
        // No thread to render tunes on: the game goes on without music.
        return;
    }
    s_->tunes.setUp(s_->tuneThread.get(), chooseSoundFonts(), device);
    Mix_HookMusic(&fillMusic, &s_->playhead);
    // The title tune is rendered while the window is being shown; on a
    // machine with two cores that work should take only what the window
    // leaves. It stays far ahead of the playhead even so.
    s_->tuneThread->post([] { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); });
}

MixerBackend::~MixerBackend()
{
    if (s_->tuneThread) {
        s_->tuneThread->post([t = &s_->tunes] { t->abandon(); });
        // SDL keeps an error buffer for every thread that sets or clears an
        // error, and frees it by itself only for threads it started.
        s_->tuneThread->post([] { SDL_TLSCleanup(); });
        s_->tuneThread.reset();
    }
    if (s_->device) {
        Mix_HaltChannel(-1);
        Mix_HookMusic(nullptr, nullptr);
        s_->effects.clear();
        Mix_CloseAudio();
    }
    if (s_->sdl)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    restoreAlsa(s_->alsa);
}

void MixerBackend::loadEffect(const std::string& path)
{
    if (!s_->device || s_->effects.count(path) != 0)
        return;
    if (Mix_Chunk* chunk = Mix_LoadWAV(path.c_str()))
        s_->effects.emplace(path, ChunkPtr(chunk, &Mix_FreeChunk));
}

void MixerBackend::playEffect(const std::string& path)
{
    if (!s_->device)
        return;
    auto it = s_->effects.find(path);
    if (it == s_->effects.end()) {
        // Missing at start-up; it may be there now. A failed look-up is a
        // single failed open, so trying again each time costs nothing.
        loadEffect(path);
        it = s_->effects.find(path);
        if (it == s_->effects.end())
            return;
    }
    Mix_PlayChannel(kEffectChannel, it->second.get(), 0);
}

void MixerBackend::loadTune(Tune tune, const std::string& path)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = &s_->tunes, tune, path] { t->load(tune, path); });
}

void MixerBackend::openTune(Tune tune, const std::string& path)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = &s_->tunes, tune, path] { t->open(tune, path); });
}

void MixerBackend::playTune(Tune tune)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = &s_->tunes, tune] { t->play(tune); });
}

void MixerBackend::stopTune(Tune tune)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = &s_->tunes, tune] { t->stop(tune); });
}

void MixerBackend::closeTune(Tune tune)
{
    if (s_->tuneThread)
        s_->tuneThread->post([t = &s_->tunes, tune] { t->close(tune); });
}

void MixerBackend::settle()
{
    if (s_->tuneThread)
        s_->tuneThread->settle();
}

bool MixerBackend::deviceOpen() const
{
    return s_->device;
}

bool MixerBackend::tuneOpen(Tune tune) const
{
    return s_->tuneThread
           && s_->tuneThread->ask([t = &s_->tunes, tune] { return t->isOpen(tune); });
}

bool MixerBackend::tunePlaying(Tune tune) const
{
    return s_->tuneThread
           && s_->tuneThread->ask([t = &s_->tunes, tune] { return t->isPlaying(tune); });
}

int MixerBackend::effectsLoaded() const
{
    return static_cast<int>(s_->effects.size());
}

}  // namespace pokopin::audio
