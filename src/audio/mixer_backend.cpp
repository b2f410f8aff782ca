#include "mixer_backend.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <map>
#include <optional>
#include <string_view>

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

}  // namespace

struct MixerBackend::State {
    struct Slot {
        MusicPtr music{nullptr, &Mix_FreeMusic};
        bool open = false;
    };

    void* alsa = nullptr;
    bool sdl = false;
    bool device = false;
    std::map<std::string, ChunkPtr, std::less<>> effects;
    std::array<Slot, 2> tunes;
    std::optional<Tune> onStream;  // the tune most recently started on the music stream

    Slot& slot(Tune t) { return tunes[t == Tune::Title ? 0 : 1]; }
    const Slot& slot(Tune t) const { return tunes[t == Tune::Title ? 0 : 1]; }
};

MixerBackend::MixerBackend(int bufferFrames) : s_(std::make_unique<State>())
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
    // comes first.
    chooseSoundFont();
    Mix_Init(MIX_INIT_MID);
    Mix_AllocateChannels(1);
}

MixerBackend::~MixerBackend()
{
    if (s_->device) {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        s_->effects.clear();
        for (auto& t : s_->tunes)
            t.music.reset();
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

void MixerBackend::openTune(Tune tune, const std::string& path)
{
    auto& slot = s_->slot(tune);
    if (!s_->device || slot.open)
        return;
    // Each tune is read afresh: SDL2_mixer 2.6 cannot rewind a FluidSynth
    // tune, and one played again after a halt would go on where it stopped.
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (music == nullptr)
        return;
    slot.music.reset(music);
    slot.open = true;
}

void MixerBackend::playTune(Tune tune)
{
    auto& slot = s_->slot(tune);
    if (!slot.open)
        return;
    if (Mix_PlayMusic(slot.music.get(), 0) == 0)
        s_->onStream = tune;
}

void MixerBackend::stopTune(Tune tune)
{
    // Only the tune that holds the stream may halt it: stopping a tune that
    // is not open, or was displaced by the other one, must not cut off the
    // tune that is sounding now.
    if (!s_->slot(tune).open || s_->onStream != tune)
        return;
    Mix_HaltMusic();
    s_->onStream.reset();
}

void MixerBackend::closeTune(Tune tune)
{
    auto& slot = s_->slot(tune);
    if (!slot.open)
        return;
    stopTune(tune);
    slot.music.reset();
    slot.open = false;
}

bool MixerBackend::deviceOpen() const
{
    return s_->device;
}

bool MixerBackend::tuneOpen(Tune tune) const
{
    return s_->slot(tune).open;
}

bool MixerBackend::tunePlaying(Tune tune) const
{
    return s_->device && s_->onStream == tune && Mix_PlayingMusic() != 0;
}

int MixerBackend::effectsLoaded() const
{
    return static_cast<int>(s_->effects.size());
}

}  // namespace pokopin::audio
