#include "mixer_backend.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "command_queue.h"

namespace pokopin::audio {
namespace {

using ChunkPtr = std::unique_ptr<Mix_Chunk, decltype(&Mix_FreeChunk)>;
using MusicPtr = std::unique_ptr<Mix_Music, decltype(&Mix_FreeMusic)>;

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

void chooseSoundFont()
{
    const char* fromUser = SDL_getenv("SDL_SOUNDFONTS");
    if (fromUser != nullptr && *fromUser != '\0') {
        // Debian's library prefers its built-in default over the variable
        // unless told otherwise.
        SDL_SetHint("SDL_FORCE_SOUNDFONTS", "1");
        return;
    }
    const char* fromLibrary = Mix_GetSoundFonts();
    if (fromLibrary != nullptr && anyReadable(fromLibrary))
        return;
    for (const char* path : kSoundFonts) {
        if (::access(path, R_OK) == 0) {
            Mix_SetSoundFonts(path);  // one only: with several, the last one wins
            return;
        }
    }
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

// The tunes, handled only on the tune thread once the device is open.
class TuneSlots {
public:
    explicit TuneSlots(MixerBackend::TuneLoadHook beforeLoad) : beforeLoad_(std::move(beforeLoad)) {}

    void open(Tune tune, const std::string& path)
    {
        auto& slot = slotOf(tune);
        if (slot.open)
            return;
        if (beforeLoad_)
            beforeLoad_(path);
        // Each tune is read afresh: SDL2_mixer 2.6 cannot rewind a FluidSynth
        // tune, and one played again after a halt would go on where it stopped.
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        if (music == nullptr)
            return;
        slot.music.reset(music);
        slot.open = true;
    }

    void play(Tune tune)
    {
        auto& slot = slotOf(tune);
        if (!slot.open)
            return;
        if (Mix_PlayMusic(slot.music.get(), 0) == 0)
            onStream_ = tune;
    }

    void stop(Tune tune)
    {
        // Only the tune that holds the stream may halt it: stopping a tune that
        // is not open, or was displaced by the other one, must not cut off the
        // tune that is sounding now.
        if (!slotOf(tune).open || onStream_ != tune)
            return;
        Mix_HaltMusic();
        onStream_.reset();
    }

    void close(Tune tune)
    {
        auto& slot = slotOf(tune);
        if (!slot.open)
            return;
        stop(tune);
        slot.music.reset();
        slot.open = false;
    }

    bool isOpen(Tune tune) { return slotOf(tune).open; }
    bool isPlaying(Tune tune) { return onStream_ == tune && Mix_PlayingMusic() != 0; }

    void freeAll()
    {
        for (auto& slot : slots_) {
            slot.music.reset();
            slot.open = false;
        }
        onStream_.reset();
    }

private:
    struct Slot {
        MusicPtr music{nullptr, &Mix_FreeMusic};
        bool open = false;
    };
    Slot& slotOf(Tune t) { return slots_[t == Tune::Title ? 0 : 1]; }

    MixerBackend::TuneLoadHook beforeLoad_;
    std::array<Slot, 2> slots_;
    std::optional<Tune> onStream_;  // the tune most recently started on the music stream
};

}  // namespace

struct MixerBackend::State {
    explicit State(TuneLoadHook beforeLoad) : tunes(std::move(beforeLoad)) {}

    void* alsa = nullptr;
    bool sdl = false;
    bool device = false;
    std::map<std::string, ChunkPtr, std::less<>> effects;  // the calling thread's
    TuneSlots tunes;                                        // the tune thread's
    std::unique_ptr<CommandQueue> tuneThread;               // while the device is open
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
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) != 0)
        return;
    s_->device = true;
    // The MIDI decoder checks for its SoundFont when it starts, so the choice
    // comes first. Both are settled before the tune thread starts: from then
    // on, Mix_LoadMUS only reads the decoder list and the SoundFont setting,
    // and builds a FluidSynth synthesiser of its own.
    chooseSoundFont();
    Mix_Init(MIX_INIT_MID);
    Mix_AllocateChannels(1);
    try {
        s_->tuneThread = std::make_unique<CommandQueue>("pokopin-tunes");
    } catch (const std::system_error&) {
        // No thread to read tunes on: the game goes on without music.
        return;
    }
    // The title tune is read while the window is being shown; on a machine
    // with two cores that reading (FluidSynth spreads it over a helper
    // thread too) should take only what the window leaves. Threads started
    // from this one inherit the lower priority.
    s_->tuneThread->post([] { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); });
}

MixerBackend::~MixerBackend()
{
    if (s_->tuneThread) {
        // SDL keeps an error buffer for every thread that sets or clears an
        // error, and frees it by itself only for threads it started.
        s_->tuneThread->post([] { SDL_TLSCleanup(); });
        s_->tuneThread.reset();
    }
    if (s_->device) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        s_->effects.clear();
        s_->tunes.freeAll();
        Mix_CloseAudio();
        Mix_Quit();
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

// Mix_PlayMusic, Mix_HaltMusic, Mix_PlayingMusic and Mix_FreeMusic on the
// tune thread, like Mix_PlayChannel on the caller's, take the audio device's
// lock, so neither of them meets the audio callback half-way.
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
    return s_->tuneThread && s_->tuneThread->ask([t = &s_->tunes, tune] { return t->isOpen(tune); });
}

bool MixerBackend::tunePlaying(Tune tune) const
{
    return s_->tuneThread &&
           s_->tuneThread->ask([t = &s_->tunes, tune] { return t->isPlaying(tune); });
}

int MixerBackend::effectsLoaded() const
{
    return static_cast<int>(s_->effects.size());
}

}  // namespace pokopin::audio
